#pragma once
// The base of the styles that paint a control over (buttons, tab controls, tab sets): the style takes over the
// control's window procedure and composes the whole control off-screen, then copies it to the window with one
// BitBlt, so nothing flickers.

#include <functional>
#include <memory>

#include "Classes.h"
#include "Controls.h"
#include "Graphics.h"

// When the stock handling of WM_PAINT runs, always inside the style's own BeginPaint: the update region is taken
// by then, so it paints nothing the user sees, and the copy covers the client area anyway. It still runs for what
// it does besides drawing.
enum TStockPaint { spAfterCompose, spBeforeAndAfterCompose };

// Owned by the control's owner, which destroys the control's window before it frees the components it owns, so the
// style outlives the window. It never unhooks once built, so hooks stacked after it keep a valid chain.
class TControlStyle : public TComponent {
public:
    TControlStyle(TComponent* AOwner, TWinControl* AControl);

protected:
    // Installs Replacement as the control's window procedure, the old one kept in FOldWindowProc, then runs Settle
    // (what the style does to the control once hooked). A style whose Settle fails takes itself out of the chain.
    void Hook(TWndMethod Replacement, const std::function<void()>& Settle = nullptr);
    // Composes the whole control into Canvas; false leaves the paint to the stock handling.
    virtual bool Compose(TCanvas& Canvas) = 0;
    // The WM_PAINT answer: the control composed in FBitmap and copied to the window.
    void PaintOver(TMessage& Message, TStockPaint Stock = spAfterCompose);

    // A bitmap of the program's own resources.
    static std::unique_ptr<TBitmap> LoadBitmap(const char* ResourceName);
    // Bitmap stretched over Rect, unless it is missing or empty.
    static void DrawStretched(TCanvas& Canvas, const RECT& Rect, const TBitmap* Bitmap);
    // The clip a look resets to after drawing in a shape: the whole screen.
    static void ClipToScreen(TCanvas& Canvas);

    TWinControl* FControl = nullptr;
    std::unique_ptr<TBitmap> FBitmap;
    std::unique_ptr<TCanvas> FCanvas;  // on the paint DC during one WM_PAINT
    TWndMethod FOldWindowProc;
};
