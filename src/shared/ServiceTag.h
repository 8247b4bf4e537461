#pragma once
// The service tag text "4000.TA", set at start-up and released at shut-down.

#include <string>

extern std::string ServiceTagText;

void InitializeServiceTag();
void FinalizeServiceTag();
