#include "SingleInstance.h"

#include "Processes.h"

namespace {

// The process of the other instance: the owner of a top-level window of our window classes with the caption.
struct TOtherInstance {
    WideString Caption;
    bool Elevated = false;
    DWORD Process = 0;
    HWND Shown = nullptr;
};

BOOL CALLBACK FindOwner(HWND Window, LPARAM Data)
{
    TOtherInstance& other = *reinterpret_cast<TOtherInstance*>(Data);
    wchar_t text[64] = {}, className[64] = {};
    GetWindowTextW(Window, text, 64);
    GetClassNameW(Window, className, 64);
    DWORD process = 0;
    GetWindowThreadProcessId(Window, &process);
    if (process == GetCurrentProcessId() || other.Caption != text || WideString(className).rfind(L"Quintaro.", 0) != 0)
        return TRUE;
    // An uninstaller runs elevated: a window like ours in a process of lesser rights is someone else's, and one of a
    // process that is ending stands for no first uninstaller.
    if (other.Elevated && !RunsElevated(process)) return TRUE;
    other.Process = process;
    return FALSE;
}

// Its topmost visible window that takes input: the confirmation window, or the box that stands in for it.
BOOL CALLBACK FindShown(HWND Window, LPARAM Data)
{
    TOtherInstance& other = *reinterpret_cast<TOtherInstance*>(Data);
    DWORD process = 0;
    GetWindowThreadProcessId(Window, &process);
    if (process != other.Process || !IsWindowVisible(Window) || !IsWindowEnabled(Window)) return TRUE;
    other.Shown = Window;
    return FALSE;
}

}  // namespace

TSingleInstance::TSingleInstance(const WideString& Name)
    : FMutex(CreateMutexW(nullptr, FALSE, (L"Local\\" + Name).c_str()))
{
    FFirst = !FMutex.Valid() || GetLastError() != ERROR_ALREADY_EXISTS;
}

bool TSingleInstance::FindOther(const WideString& Caption, DWORD WaitMs)
{
    TOtherInstance other;
    other.Caption = Caption;
    other.Elevated = RunsElevated();
    const ULONGLONG deadline = GetTickCount64() + WaitMs;
    for (;;) {
        EnumWindows(FindOwner, reinterpret_cast<LPARAM>(&other));
        if (other.Process) break;
        if (GetTickCount64() >= deadline) return false;
        Sleep(100);  // the first one may still be making its window
    }
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&other));
    if (!other.Shown) return true;
    if (IsIconic(other.Shown)) ShowWindow(other.Shown, SW_RESTORE);
    SetForegroundWindow(other.Shown);
    return true;
}
