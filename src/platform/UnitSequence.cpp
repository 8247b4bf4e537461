#include "UnitSequence.h"

#include <exception>

#include "Forms.h"

void (*UnitTraceHook)(const std::string& Event) = nullptr;

void UnitTrace(const std::string& Event)
{
    if (UnitTraceHook) UnitTraceHook(Event);
}

TUnitSequence::TUnitSequence(std::vector<TUnitEntry> Units) : FUnits(std::move(Units)) {}

bool TUnitSequence::Start()
{
    if (FStartCalled) return FStarted == FUnits.size();
    FStartCalled = true;
    try {
        for (const TUnitEntry& unit : FUnits) {
            UnitTrace(std::string("start ") + unit.Name);
            if (unit.Initialization) unit.Initialization();
            ++FStarted;
        }
        return true;
    } catch (const std::exception& e) {
        Application->HandleException(&e);
    } catch (...) {
        Application->HandleException(nullptr);
    }
    Finish();
    return false;
}

void TUnitSequence::Finish()
{
    while (FStarted > 0) {
        const TUnitEntry& unit = FUnits[--FStarted];
        UnitTrace(std::string("stop ") + unit.Name);
        if (unit.Finalization) unit.Finalization();
    }
}
