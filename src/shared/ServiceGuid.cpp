#include "ServiceGuid.h"

std::string ServiceGuidText = "{6F3B2A91-4C7E-4D25-9A0B-83E1C5D7F264}";

void FinalizeServiceGuid() { std::string().swap(ServiceGuidText); }
