#pragma once
// Shared by the tests of the component core (controls, forms, layouts): small controls that log what reaches
// them, message pumping through the application's own loop, and a form on the test display.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "Forms.h"

namespace coretest {

// Handles what is queued now, through the application (dialog keys, mouse tracking, hint timing included).
inline void Pump(int Rounds = 3)
{
    for (int i = 0; i < Rounds; ++i) {
        Application->ProcessMessages();
        Sleep(5);
    }
}

// One pass of the application's loop with an empty queue: its idle work runs, then a short timer ends the wait.
inline void IdleOnce()
{
    Application->ProcessMessages();
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);
    Application->HandleMessage();
    KillTimer(nullptr, timer);
    Application->ProcessMessages();
}

// Runs the application's loop, idle passes included, for at least Milliseconds.
inline void RunFor(DWORD Milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < Milliseconds) IdleOnce();
}

inline std::string Bounds(const RECT& R)
{
    return std::to_string(R.left) + "," + std::to_string(R.top) + "," + std::to_string(R.right) + "," +
           std::to_string(R.bottom);
}
inline std::string Bounds(const TControl& C) { return Bounds(C.BoundsRect()); }

// The layer's own window class, painting its colour: a stand-in for panels.
class TBox : public TWinControl {
public:
    explicit TBox(TComponent* AOwner, int Width = 100, int Height = 50) : TWinControl(AOwner)
    {
        SetBounds(0, 0, Width, Height);
    }
};

// A windowless control that paints one colour over more than its bounds (the clip must hold it in).
class TSwatch : public TGraphicControl {
public:
    explicit TSwatch(TComponent* AOwner, TColor Fill = clBlack) : TGraphicControl(AOwner), FFill(Fill)
    {
        SetBounds(0, 0, 20, 20);
    }
    std::vector<TMessage> Mouse;  // mouse messages as they arrived, coordinates local

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MBUTTONDBLCLK) Mouse.push_back(Message);
        TGraphicControl::WndProc(Message);
    }
    void Paint() override
    {
        Canvas().Brush().SetStyle(bsSolid);
        Canvas().Brush().SetColor(FFill);
        Canvas().FillRect(RECT{-50, -50, Width() + 50, Height() + 50});
    }

private:
    TColor FFill;
};

// Messages as "name:hex" entries, from hooks that keep the window procedure they found. The hooks share the
// entries, so a control may outlive the log that installed them.
class TMessageLog {
public:
    void Spy(TControl& Control, const std::string& Name, std::vector<UINT> Watched)
    {
        TWndMethod old = Control.WindowProc;
        auto entries = FEntries;
        Control.WindowProc = [entries, Name, Watched, old](TMessage& M) {
            for (UINT w : Watched)
                if (w == M.Msg) entries->push_back(Name + ":" + IntToHex(M.Msg, 4));
            old(M);
        };
    }
    const std::vector<std::string>& Entries() const { return *FEntries; }
    void Clear() { FEntries->clear(); }

private:
    std::shared_ptr<std::vector<std::string>> FEntries = std::make_shared<std::vector<std::string>>();
};

// A borderless form at a fixed place on the test display.
class CoreFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetCursorPos(1000, 760);  // the real pointer stays away from the forms
        Form.reset(TCustomForm::Create<TForm>(nullptr));
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(40, 40, 300, 200);
    }
    void TearDown() override
    {
        Form.reset();
        Application->OnException = nullptr;
        Pump();
    }
    void ShowForm()
    {
        Form->Show();
        Form->Update();
        Pump();
    }
    std::unique_ptr<TForm> Form;
};

}  // namespace coretest
