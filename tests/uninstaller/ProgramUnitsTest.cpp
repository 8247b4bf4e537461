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

// The objects of the trace's events of one verb ("start", "stop": the units), in order.
std::vector<std::string> Objects(const std::string& Verb)
{
    std::vector<std::string> objects;
    for (const std::string& event : Trace)
        if (event.rfind(Verb + " ", 0) == 0) objects.push_back(event.substr(Verb.size() + 1));
    return objects;
}

using TUnitList = std::vector<TUnitEntry>;

// The unit names of a part of a list.
std::vector<std::string> Names(TUnitList::const_iterator First, TUnitList::const_iterator Last)
{
    std::vector<std::string> names;
    for (; First != Last; ++First) names.push_back(First->Name);
    return names;
}

// What the trace shows wrong in the release of what units made ("create", "obtain"): each object is released
// ("free", "release") in the shut-down of the unit that made it, and a client is disconnected before it goes. "" when
// nothing is wrong.
std::string ReleaseFaults()
{
    std::map<std::string, std::string> madeBy;  // what is there now, and by which unit
    std::string unit, faults;
    for (const std::string& event : Trace) {
        const size_t blank = event.find(' ');
        const std::string verb = event.substr(0, blank), object = event.substr(blank + 1);
        if (verb == "start" || verb == "stop") unit = object;
        if (verb == "create" || verb == "obtain") madeBy[object] = unit;
        if (verb == "disconnect" && !madeBy.count(object)) faults += object + " disconnected when gone; ";
        if (verb != "free" && verb != "release") continue;
        if (!madeBy.count(object) || madeBy[object] != unit) faults += object + " released by " + unit + "; ";
        madeBy.erase(object);
    }
    for (const auto& left : madeBy) faults += left.first + " never released; ";
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
    const size_t made = Trace.size();
    EXPECT_TRUE(units.Start());  // runs nothing again
    EXPECT_EQ(Trace.size(), made);
    const TUnitList list = ProgramUnits();
    const std::vector<std::string> started = Objects("start");
    EXPECT_EQ(started, Names(list.begin(), list.end()));
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
    EXPECT_EQ(Objects("stop"), std::vector<std::string>(started.rbegin(), started.rend()));
    EXPECT_EQ(ReleaseFaults(), "");
    for (int peer = 0; peer < 3; ++peer) EXPECT_TRUE(listener.ClosedByClient(peer)) << peer;
    EXPECT_FALSE(TCPClient1 || BatchOpenObject || FlagList2 || TaskMalloc);
}

TEST_F(ProgramUnitsTest, AFailingStartUpIsReportedAndShutsDownOnlyTheUnitsThatStarted)
{
    TUnitList list = ProgramUnits();
    const auto failing = std::find_if(list.begin(), list.end(),
                                      [](const TUnitEntry& Unit) { return std::string(Unit.Name) == "TaskAllocator"; });
    ASSERT_NE(failing, list.end());
    failing->Initialization = [] { OleCheck(E_OUTOFMEMORY); };  // as a refused task allocator would
    std::string reported;
    Application->OnException = [&](TObject*, const std::exception* E) { reported = E->what(); };
    TUnitSequence units(list);
    EXPECT_FALSE(units.Start());
    EXPECT_EQ(reported.rfind("OLE error 8007000E", 0), 0u) << reported;

    const std::vector<std::string> started = Objects("start");
    ASSERT_EQ(started, Names(list.begin(), failing + 1)) << "no unit after the failing one starts";
    EXPECT_EQ(Objects("stop"), std::vector<std::string>(started.rbegin() + 1, started.rend()))
        << "the failing one does not stop";
    EXPECT_EQ(ReleaseFaults(), "");
    const size_t finished = Trace.size();
    units.Finish();
    EXPECT_EQ(Trace.size(), finished);
}

}  // namespace
