#pragma once
// The COM task allocator and the column property name "ISAUTOINCREMENT", held from start-up to shut-down.

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include "Classes.h"

extern WideString AutoIncrementProperty;
extern Microsoft::WRL::ComPtr<IMalloc> TaskMalloc;

// Start-up: the property name, then the allocator; a failure of CoGetMalloc is raised as EOleSysError and leaves
// both empty. Shut-down: the allocator released, then the name.
void InitializeTaskAllocator();
void FinalizeTaskAllocator();
