// The program's units on the real start-up and shut-down: shut-downs in reverse, only of the units that started,
// each releasing what it made; a start-up that fails is reported and shuts down what started.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "ComObj.h"
#include "DataSetSend.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "LogInfoUnit.h"
#include "LoopbackSupport.h"
#include "ProgramUnits.h"
#include "ServiceTag.h"
#include "TaskAllocator.h"

namespace {

std::vector<std::string> Trace;
void Record(const std::string& Event) { Trace.push_back(Event); }

// What follows Verb and a blank in an event, or "" for another verb.
std::string Object(const std::string& Event, const std::string& Verb)
{
    return Event.rfind(Verb + " ", 0) == 0 ? Event.substr(Verb.size() + 1) : std::string();
}

// The units named by the trace's events of one verb ("start", "stop"), in order.
std::vector<std::string> Units(const std::string& Verb)
{
    std::vector<std::string> units;
    for (const std::string& event : Trace)
        if (!Object(event, Verb).empty()) units.push_back(Object(event, Verb));
    return units;
}

std::vector<std::string> Names(const std::vector<TUnitEntry>& List)
{
    std::vector<std::string> names;
    for (const TUnitEntry& unit : List) names.push_back(unit.Name);
    return names;
}

std::vector<std::string> Reversed(std::vector<std::string> Names)
{
    std::reverse(Names.begin(), Names.end());
    return Names;
}

// The faults in how the trace's units release what they made: each object made ("create", "obtain") must be
// released ("free", "release") in the shut-down of the unit that made it, and a client disconnected before it is
// freed. "" when there are none.
std::string ReleaseFaults()
{
    std::map<std::string, std::string> madeBy, releasedBy;
    std::map<std::string, bool> disconnected;
    std::string unit, faults;
    for (const std::string& event : Trace) {
        for (const char* verb : {"start", "stop"})
            if (!Object(event, verb).empty()) unit = Object(event, verb);
        for (const char* verb : {"create", "obtain"})
            if (!Object(event, verb).empty()) madeBy[Object(event, verb)] = unit;
        if (!Object(event, "disconnect").empty()) disconnected[Object(event, "disconnect")] = true;
        for (const char* verb : {"free", "release"}) {
            const std::string object = Object(event, verb);
            if (object.empty()) continue;
            releasedBy[object] = unit;
            if (object.rfind("TCPClient", 0) == 0 && !disconnected[object]) faults += object + " freed connected; ";
        }
    }
    for (const auto& made : madeBy)
        if (releasedBy[made.first] != made.second) faults += made.first + " not released by " + made.second + "; ";
    return faults;
}

class ProgramUnitsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Trace.clear();
        UnitTraceHook = &Record;
    }
    void TearDown() override
    {
        UnitTraceHook = nullptr;
        Application->OnException = nullptr;
    }
};

TEST_F(ProgramUnitsTest, EveryUnitStartsInOrderAndShutsDownInReverseReleasingWhatItMade)
{
    testsupport::TLoopbackListener listener;
    TUnitSequence units(ProgramUnits());
    ASSERT_TRUE(units.Start());
    const size_t started = Trace.size();
    EXPECT_TRUE(units.Start());  // runs nothing again
    EXPECT_EQ(Trace.size(), started);
    EXPECT_EQ(Units("start"), Names(ProgramUnits()));
    for (auto* client : {TCPClient1.get(), TCPClient2.get(), TCPClient3.get()}) {
        EXPECT_TRUE(client->IdleTimer()->Enabled());
        client->Connect("127.0.0.1", listener.Port());
        listener.Accept();
    }
    EXPECT_EQ(ServiceTagText, "4000.TA");
    EXPECT_EQ(AutoIncrementProperty, L"ISAUTOINCREMENT");

    units.Finish();
    const size_t finished = Trace.size();
    units.Finish();  // nothing more
    EXPECT_EQ(Trace.size(), finished);
    EXPECT_EQ(Units("stop"), Reversed(Units("start")));
    EXPECT_EQ(ReleaseFaults(), "");
    for (int peer = 0; peer < 3; ++peer) EXPECT_TRUE(listener.ClosedByClient(peer)) << peer;
    EXPECT_FALSE(TCPClient1 || BatchOpenObject || FlagList2 || TaskMalloc);
}

TEST_F(ProgramUnitsTest, AFailingStartUpIsReportedAndShutsDownOnlyTheUnitsThatStarted)
{
    std::vector<TUnitEntry> list = ProgramUnits();
    const auto failing = std::find_if(list.begin(), list.end(),
                                      [](const TUnitEntry& Unit) { return std::string(Unit.Name) == "TaskAllocator"; });
    ASSERT_NE(failing, list.end());
    failing->Initialization = [] { OleCheck(E_OUTOFMEMORY); };  // as a refused task allocator would
    std::string reported;
    Application->OnException = [&](TObject*, const std::exception* E) { reported = E->what(); };
    TUnitSequence units(list);
    EXPECT_FALSE(units.Start());
    EXPECT_EQ(reported.rfind("OLE error 8007000E", 0), 0u) << reported;

    const std::vector<std::string> started = Units("start");
    ASSERT_EQ(started, Names({list.begin(), failing + 1})) << "no unit after the failing one starts";
    EXPECT_EQ(Units("stop"), Reversed({started.begin(), started.end() - 1})) << "the failing one does not stop";
    EXPECT_EQ(ReleaseFaults(), "");
    const size_t finished = Trace.size();
    units.Finish();
    EXPECT_EQ(Trace.size(), finished);
}

}  // namespace
