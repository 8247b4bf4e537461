#pragma once
// One uninstaller per session: two at once would race over the same files.

#include "WinServices.h"

class TSingleInstance {
public:
    // Takes the session's instance mutex of Name ("Local\" is prefixed); it is held for the object's life.
    explicit TSingleInstance(const WideString& Name);
    // False when another process of this session held the mutex already.
    bool First() const { return FFirst; }
    // Brings the visible window of the other instance whose caption is Caption to the front (the confirmation window,
    // or its message box when that is what shows), if it has one yet.
    static void ActivateOther(const WideString& Caption);

private:
    TKernelHandle FMutex;
    bool FFirst = true;
};
