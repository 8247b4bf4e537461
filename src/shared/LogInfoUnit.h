#pragma once
// Two flag lists that live from start-up to shut-down.

#include <memory>

#include "Classes.h"

// A string list under a name of its own; it behaves as TStringList in every way.
class TFlagList : public TStringList {};

extern std::unique_ptr<TFlagList> FlagList1;
extern std::unique_ptr<TFlagList> FlagList2;

// Start-up: FlagList1, then FlagList2. Shut-down: each freed and emptied, in the same order.
void InitializeLogInfoUnit();
void FinalizeLogInfoUnit();
