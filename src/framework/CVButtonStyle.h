#pragma once
// The house look of a push button: an owner-draw style object that takes over the button's window procedure.

#include <cstdint>
#include <memory>
#include <string>

#include "Classes.h"
#include "Controls.h"
#include "Graphics.h"
#include "StdCtrls.h"

struct TButtonStyleColors {
    TColor BorderColor;
    TColor NormalColor;
    TColor HotColor;
    TColor DownColor;
};

// Owned by the button's owner, so it outlives the button's window; it never unhooks, so stacked hooks installed
// after it keep a valid chain.
class TButtonStyle : public TComponent {
public:
    TButtonStyle(TComponent* AOwner, TWinControl* AControl);
    ~TButtonStyle() override;

    // Each setter only stores the colour; it shows at the next paint.
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    void SetNormalColor(TColor Value) { FNormalColor = Value; }
    void SetHotColor(TColor Value) { FHotColor = Value; }
    void SetDownColor(TColor Value) { FDownColor = Value; }

    void HookWndProc(TMessage& Message);
    // Composes the whole button for a visual state (0 normal, 1 pressed, 2 released, 3 hot).
    virtual void Paint(TCanvas& Canvas, uint8_t State);
    // Kind 0 normal, 1 disabled, 2 pressed.
    virtual void DrawCaption(TCanvas& Canvas, const std::string& Text, const RECT& Rect, uint8_t Kind);
    void DrawBackground(TCanvas& Canvas, const RECT& Rect, bool Normal);

private:
    // Enters a visual state; BM_SETSTATE comes back through the hook and repaints.
    void EnterState(uint8_t State);
    void PaintMessage(TMessage& Message);

    TWinControl* FControl = nullptr;
    std::unique_ptr<TBitmap> FBitmap;
    std::unique_ptr<TCanvas> FCanvas;
    TWndMethod FOldWindowProc;
    uint8_t FState = 0;
    TColor FBorderColor = 0;
    TColor FNormalColor = 0;
    TColor FHotColor = 0;
    TColor FDownColor = 0;
    std::unique_ptr<TBitmap> FBackground;
    std::unique_ptr<TBitmap> FBackgroundB;
};

TButtonStyle* CreateButtonStyle(TButton* AControl, const TButtonStyleColors& AColors);
