#pragma once
// The program's units start in one explicit order and shut down in the reverse one. C++ gives static objects in
// different files no defined order, so units that create objects at start-up do it in functions that the program
// entry runs through a TUnitSequence.

#include <memory>
#include <string>
#include <utility>
#include <vector>

// One unit: its name and what it does at start-up and at shut-down (either may be null: the unit only holds its
// place in the order). A start-up that fails leaves nothing of its own behind; a shut-down does not throw.
struct TUnitEntry {
    const char* Name;
    void (*Initialization)();
    void (*Finalization)();
};

class TUnitSequence {
public:
    explicit TUnitSequence(std::vector<TUnitEntry> Units);
    TUnitSequence(const TUnitSequence&) = delete;
    TUnitSequence& operator=(const TUnitSequence&) = delete;
    ~TUnitSequence() { Finish(); }

    // Runs the start-ups in order and tells whether all ran. A failure is shown by the standard exception report,
    // the units started so far are shut down, and the result is false. Later calls run nothing.
    bool Start();
    // Shuts down, in reverse order, each unit whose start-up ran; a second call does nothing.
    void Finish();

private:
    std::vector<TUnitEntry> FUnits;
    size_t FStarted = 0;
    bool FStartCalled = false;
};

// Start-up and shut-down steps ("start DataSetSend", "create TCPClient1") go to this hook when one is set; tests
// set it to see the order of creation and release.
extern void (*UnitTraceHook)(const std::string& Event);
void UnitTrace(const std::string& Event);

// A unit variable made at start-up and freed at shut-down, each step traced under the variable's name. Freeing an
// empty variable does nothing.
template <class T, class... TArgs>
void CreateUnitObject(std::unique_ptr<T>& Variable, const char* Name, TArgs&&... Args)
{
    Variable = std::make_unique<T>(std::forward<TArgs>(Args)...);
    UnitTrace(std::string("create ") + Name);
}

template <class T>
void FreeUnitObject(std::unique_ptr<T>& Variable, const char* Name)
{
    if (!Variable) return;
    Variable.reset();
    UnitTrace(std::string("free ") + Name);
}
