#pragma once
// GoogleTest's notification (only its own thread helpers use it) on a Win32 event. The tests are built with the
// compiler that builds the shipped program, whose win32 thread model has no std::mutex or std::condition_variable,
// the parts GoogleTest's own version is made of. Found ahead of GoogleTest's empty hook of the same name.
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : FEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(FEvent); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify() { SetEvent(FEvent); }
    void WaitForNotification() { WaitForSingleObject(FEvent, INFINITE); }

private:
    HANDLE FEvent;
};

}  // namespace internal
}  // namespace testing
