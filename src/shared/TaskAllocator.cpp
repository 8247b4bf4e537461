#include "TaskAllocator.h"

#include "ComObj.h"
#include "UnitSequence.h"

std::wstring AutoIncrementProperty;
Microsoft::WRL::ComPtr<IMalloc> TaskMalloc;

void InitializeTaskAllocator()
{
    AutoIncrementProperty = L"ISAUTOINCREMENT";
    try {
        OleCheck(CoGetMalloc(MEMCTX_TASK, TaskMalloc.ReleaseAndGetAddressOf()));
    } catch (...) {
        std::wstring().swap(AutoIncrementProperty);
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
    std::wstring().swap(AutoIncrementProperty);
}
