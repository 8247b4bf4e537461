#include "ServiceTag.h"

std::string ServiceTagText;

void InitializeServiceTag() { ServiceTagText = "4000.TA"; }

void FinalizeServiceTag() { std::string().swap(ServiceTagText); }
