#include "TaskAllocator.h"

#include "ComObj.h"
#include "UnitSequence.h"

WideString AutoIncrementProperty;
Microsoft::WRL::ComPtr<IMalloc> TaskMalloc;

void InitializeTaskAllocator()
{
    AutoIncrementProperty = L"ISAUTOINCREMENT";
    try {
        OleCheck(CoGetMalloc(MEMCTX_TASK, TaskMalloc.ReleaseAndGetAddressOf()));
    } catch (...) {
        WideString().swap(AutoIncrementProperty);
        throw;
    }
    UnitTrace("obtain TaskMalloc");
}

void FinalizeTaskAllocator()
{
    if (TaskMalloc) {
        TaskMalloc.Reset();
        UnitTrace("release TaskMalloc");
    }
    WideString().swap(AutoIncrementProperty);
}
