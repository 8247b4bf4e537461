#include "LogInfoUnit.h"

#include "UnitSequence.h"

std::unique_ptr<TFlagList> FlagList1;
std::unique_ptr<TFlagList> FlagList2;

void InitializeLogInfoUnit()
{
    CreateUnitObject(FlagList1, "FlagList1");
    CreateUnitObject(FlagList2, "FlagList2");
}

void FinalizeLogInfoUnit()
{
    FreeUnitObject(FlagList1, "FlagList1");
    FreeUnitObject(FlagList2, "FlagList2");
}
