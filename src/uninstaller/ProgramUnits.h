#pragma once
// The units of the program in the order in which they start; they shut down in the reverse order.

#include <vector>

#include "UnitSequence.h"

std::vector<TUnitEntry> ProgramUnits();
