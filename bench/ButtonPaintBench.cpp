// Paints per second of a styled 66x23 bit button against a plain one, in the same run and the same form.
// One paint = RedrawWindow(RDW_INVALIDATE | RDW_UPDATENOW): invalidate, then WM_PAINT through the whole message path
// at once. The two buttons take turns in rounds and each keeps its best round, so load from other processes on
// the machine weighs on both alike. Usage: ButtonPaintBench [paints]   (default 2000 per button, in 5 rounds)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "Buttons.h"
#include "CVButtonStyle.h"
#include "Forms.h"

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

TBitBtn* AddButton(TForm* Form, int Left)
{
    auto* button = new TBitBtn(Form);
    button->SetParent(Form);
    button->SetBounds(Left, 10, 66, 23);
    button->SetCaption("卸载");
    return button;
}

void Redraw(HWND Wnd) { RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

double PaintsPerSecond(HWND Wnd, int Count)
{
    LARGE_INTEGER frequency, start, stop;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < Count; ++i) Redraw(Wnd);
    GdiFlush();
    QueryPerformanceCounter(&stop);
    const double seconds = double(stop.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    return seconds > 0 ? Count / seconds : 0;
}

constexpr int Rounds = 5;

}  // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    if (count <= 0) {
        std::fprintf(stderr, "usage: ButtonPaintBench [paints > 0]\n");
        return 2;
    }
    TForm* form = TCustomForm::Create<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 200, 50);
    TBitBtn* plain = AddButton(form, 10);
    TBitBtn* styled = AddButton(form, 100);
    form->Show();
    CreateButtonStyle(styled, TButtonStyleColors{8816776, 14468544, 12952218, 12952218});
    Pump();

    const HWND plainWnd = plain->Handle(), styledWnd = styled->Handle();
    for (int i = 0; i < 50; ++i) {
        Redraw(plainWnd);
        Redraw(styledWnd);
    }
    const int perRound = count / Rounds > 0 ? count / Rounds : 1;
    double plainRate = 0, styledRate = 0;
    for (int round = 0; round < Rounds; ++round) {
        plainRate = std::max(plainRate, PaintsPerSecond(plainWnd, perRound));
        styledRate = std::max(styledRate, PaintsPerSecond(styledWnd, perRound));
    }
    std::printf("ButtonPaintBench: %d paints of a 66x23 TBitBtn each, best of %d rounds\n", perRound * Rounds, Rounds);
    std::printf("  unstyled: %10.0f paints/s\n", plainRate);
    std::printf("  styled:   %10.0f paints/s\n", styledRate);
    std::printf("  styled/unstyled: %.2f\n", plainRate > 0 ? styledRate / plainRate : 0.0);
    delete form;
    return 0;
}
