#pragma once
// One uninstaller per session: two at once would race over the same files.

#include "WinServices.h"

class TSingleInstance {
public:
    // Takes the session's instance mutex of Name ("Local\" is prefixed); it is held for the object's life.
    explicit TSingleInstance(const WideString& Name);
    // False when another process of this session held the mutex already. Any program of the user can take that name,
    // so it is only a hint: FindOther tells whether a first uninstaller is really there.
    bool First() const { return FFirst; }
    // Waits up to WaitMs for the window of another uninstaller (one of our window classes with the caption Caption, in
    // a process with the rights this one has) and brings its visible window to the front (the confirmation window, or
    // its message box when that is what shows). False when none came: the caller goes on with its own window.
    static bool FindOther(const WideString& Caption, DWORD WaitMs);

private:
    TKernelHandle FMutex;
    bool FFirst = true;
};
