// The program's unit start-up and shut-down: the order of creation and release, and a start-up that fails.
#include <gtest/gtest.h>

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

// Each unit's start-up in order, each ending with what it made.
const std::vector<std::string> Started = {
    "start CVButtonStyle", "start LogInfoUnit", "create FlagList1", "create FlagList2", "start ServiceGuid",
    "start DataSetSend", "create TCPClient1", "create TCPClient2", "create TCPClient3", "create BatchOpenObject",
    "start TaskAllocator", "obtain TaskMalloc", "start CVTitlePanel", "start VelRootFrm", "start VelMessageBoxFrm",
    "start VelPublicFun", "start ServiceTag", "start Unit1"};
// The shut-down of the units up to DataSetSend.
const std::vector<std::string> StoppedFromDataSetSend = {
    "stop DataSetSend", "free BatchOpenObject", "disconnect TCPClient1", "disconnect TCPClient2",
    "disconnect TCPClient3", "free TCPClient1", "free TCPClient2", "free TCPClient3", "stop ServiceGuid",
    "stop LogInfoUnit", "free FlagList1", "free FlagList2", "stop CVButtonStyle"};

std::vector<std::string> Joined(std::vector<std::string> A, const std::vector<std::string>& B)
{
    A.insert(A.end(), B.begin(), B.end());
    return A;
}

class ProgramUnitsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Trace.clear();
        UnitTraceHook = &Record;
    }
    void TearDown() override { UnitTraceHook = nullptr; }
};

TEST_F(ProgramUnitsTest, StartInOrderAndShutDownInReverseEachClientDisconnectedThenFreed)
{
    testsupport::TLoopbackListener listener;
    TUnitSequence units(ProgramUnits());
    ASSERT_TRUE(units.Start());
    EXPECT_TRUE(units.Start());  // runs nothing again
    EXPECT_EQ(Trace, Started);
    for (auto* client : {TCPClient1.get(), TCPClient2.get(), TCPClient3.get()}) {
        EXPECT_TRUE(client->IdleTimer()->Enabled());
        client->Connect("127.0.0.1", listener.Port());
        listener.Accept();
    }
    EXPECT_EQ(ServiceTagText, "4000.TA");
    EXPECT_EQ(AutoIncrementProperty, L"ISAUTOINCREMENT");

    Trace.clear();
    units.Finish();
    units.Finish();  // nothing more
    EXPECT_EQ(Trace, Joined({"stop Unit1", "stop ServiceTag", "stop VelPublicFun", "stop VelMessageBoxFrm",
                             "stop VelRootFrm", "stop CVTitlePanel", "stop TaskAllocator", "release TaskMalloc"},
                            StoppedFromDataSetSend));
    for (int peer = 0; peer < 3; ++peer) EXPECT_TRUE(listener.ClosedByClient(peer)) << peer;
    EXPECT_FALSE(TCPClient1 || BatchOpenObject || FlagList2 || TaskMalloc);
}

TEST_F(ProgramUnitsTest, AFailingStartUpIsReportedAndOnlyTheUnitsStartedShutDown)
{
    std::vector<TUnitEntry> list = ProgramUnits();
    ASSERT_STREQ(list[4].Name, "TaskAllocator");
    list[4].Initialization = [] { OleCheck(E_OUTOFMEMORY); };  // as a refused task allocator would
    std::string reported;
    Application->OnException = [&](TObject*, const std::exception* E) { reported = E->what(); };
    TUnitSequence units(list);
    EXPECT_FALSE(units.Start());
    Application->OnException = nullptr;
    EXPECT_EQ(reported.rfind("OLE error 8007000E", 0), 0u) << reported;
    EXPECT_EQ(Trace, Joined({Started.begin(), Started.begin() + 11}, StoppedFromDataSetSend));
}

}  // namespace
