#pragma once
// The service identifier text, in GUID form with braces; there from the start, released at shut-down.

#include <string>

extern std::string ServiceGuidText;

void FinalizeServiceGuid();
