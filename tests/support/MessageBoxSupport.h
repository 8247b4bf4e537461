#pragma once
// Shared by the message box tests: acting inside a running modal loop, finding the open box.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Forms.h"
#include "VelMessageBoxFrm.h"
#include "WindowSupport.h"

namespace msgboxtest {

using testsupport::Pump;

// The visible top-level windows of this thread, top of the z-order first.
inline std::vector<HWND> ThreadWindows()
{
    std::vector<HWND> found;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId() && IsWindowVisible(w)) found.push_back(w);
    }
    return found;
}

// The styled box that is open now, or nullptr.
inline TVelMessageBoxForm* OpenBox()
{
    for (HWND w : ThreadWindows())
        if (auto* box = dynamic_cast<TVelMessageBoxForm*>(TWinControl::FindControl(w))) return box;
    return nullptr;
}

// A stock dialog (the system message box) that is open now, or nullptr.
inline HWND OpenStockDialog()
{
    for (HWND w : ThreadWindows()) {
        char name[16] = {};
        GetClassNameA(w, name, sizeof(name));
        if (std::string(name) == "#32770") return w;
    }
    return nullptr;
}

// Runs its steps one per timer tick inside whatever message loop is running (a modal box's, in these tests), each
// only once Ready says so, when given (the code under test may run loops of its own before the box opens).
// A box still open well after the last step is ended with result -1 and the test fails, so nothing hangs.
class TModalScript {
public:
    using TStep = std::function<void()>;

    explicit TModalScript(std::vector<TStep> Steps, std::function<bool()> Ready = nullptr)
        : FSteps(std::move(Steps)), FReady(std::move(Ready))
    {
        Current() = this;
        FTimer = SetTimer(nullptr, 0, TickMs, &TModalScript::Tick);
    }
    ~TModalScript()
    {
        KillTimer(nullptr, FTimer);
        Current() = nullptr;
    }
    TModalScript(const TModalScript&) = delete;
    TModalScript& operator=(const TModalScript&) = delete;

    // All steps ran and nothing had to be rescued.
    bool Done() const { return FNext == FSteps.size() && !FRescued; }

private:
    static constexpr UINT TickMs = 40;
    static constexpr int RescueTicks = 100;

    static TModalScript*& Current()
    {
        static TModalScript* current = nullptr;
        return current;
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        TModalScript* self = Current();
        if (!self) return;
        if (self->FNext < self->FSteps.size()) {
            if (self->FReady && !self->FReady()) return;
            // The step may open a nested loop; take it off the list first.
            TStep step = self->FSteps[self->FNext++];
            step();
            return;
        }
        if (++self->FIdleTicks == RescueTicks) self->Rescue();
    }

    void Rescue()
    {
        FRescued = true;
        if (TVelMessageBoxForm* box = OpenBox()) {
            ADD_FAILURE() << "the message box was still open after the script";
            box->SetModalResult(-1);
        }
        if (HWND dialog = OpenStockDialog()) {
            ADD_FAILURE() << "the system message box was still open after the script";
            EndDialog(dialog, -1);
        }
    }

    std::vector<TStep> FSteps;
    std::function<bool()> FReady;
    size_t FNext = 0;
    int FIdleTicks = 0;
    bool FRescued = false;
    UINT_PTR FTimer = 0;
};

// Posts a key press (down and up) to the window that has the focus, as the keyboard would.
inline void PressKey(WPARAM Key)
{
    HWND target = GetFocus();
    PostMessageA(target, WM_KEYDOWN, Key, 1);
    PostMessageA(target, WM_KEYUP, Key, static_cast<LPARAM>(0xC0000001u));
}

class MessageBoxFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!Application) Application = new TApplication(nullptr);
        // As the program's start-up does: the application window exists before any form.
        Application->Initialize();
    }
    void SetUp() override { SetCursorPos(1, 1); }
    void TearDown() override
    {
        Pump();
        EXPECT_EQ(nullptr, OpenBox()) << "a box outlived its test";
    }
};

}  // namespace msgboxtest
