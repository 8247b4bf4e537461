#pragma once
// Functions of system libraries that only some runs need, loaded at first use, so that a start without them does not
// pay for loading them.

#include <windows.h>

// A function of a system library, which is loaded from the system folder (never from the program's own) at the first
// call and kept for the life of the process; null when the library or the function is missing.
FARPROC SystemProcAddress(const char* Library, const char* Function);
template <class TFunction>
TFunction SystemFunction(const char* Library, const char* Function)
{
    return reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(SystemProcAddress(Library, Function)));
}
