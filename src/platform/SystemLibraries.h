#pragma once
// System libraries: loaded from the system folder only, and those that only some runs need at first use, so that a
// start without them does not pay for loading them.

#include <windows.h>

// Keeps every library that is loaded by name from now on (by this program or by a system library) to the system
// folder: a library of the same name planted beside the executable, or in the current folder, is never loaded. Call it
// first thing, before anything loads a library.
void RestrictLibrarySearch();

// A system library, loaded from the system folder (never from the program's own) and kept for the life of the
// process; null when it is missing.
HMODULE SystemLibrary(const char* Library);

// A function of a system library, which is loaded at the first call; null when the library or the function is
// missing.
FARPROC SystemProcAddress(const char* Library, const char* Function);
template <class TFunction>
TFunction SystemFunction(const char* Library, const char* Function)
{
    return reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(SystemProcAddress(Library, Function)));
}
