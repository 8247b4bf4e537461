#include "ProgramUnits.h"

#include "DataSetSend.h"
#include "LogInfoUnit.h"
#include "ServiceGuid.h"
#include "ServiceTag.h"
#include "TaskAllocator.h"

// Units without start-up or shut-down work are listed too, to show where the others stand among them: the style
// units first, then most of the shared service units, the form framework, the message box and the public
// functions, one more shared unit, and the main unit last.
std::vector<TUnitEntry> ProgramUnits()
{
    return {
        {"CVButtonStyle", nullptr, nullptr},
        {"LogInfoUnit", InitializeLogInfoUnit, FinalizeLogInfoUnit},
        {"ServiceGuid", nullptr, FinalizeServiceGuid},
        {"DataSetSend", InitializeDataSetSend, FinalizeDataSetSend},
        {"TaskAllocator", InitializeTaskAllocator, FinalizeTaskAllocator},
        {"CVTitlePanel", nullptr, nullptr},
        {"VelRootFrm", nullptr, nullptr},
        {"VelMessageBoxFrm", nullptr, nullptr},
        {"VelPublicFun", nullptr, nullptr},
        {"ServiceTag", InitializeServiceTag, FinalizeServiceTag},
        {"Unit1", nullptr, nullptr},
    };
}
