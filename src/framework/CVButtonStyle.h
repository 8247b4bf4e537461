#pragma once
// The house look of a push button: an owner-draw style object that takes over the button's window procedure.

#include <cstdint>
#include <memory>
#include <string>

#include "CVControlStyle.h"
#include "CVHouseColors.h"
#include "StdCtrls.h"

// The button's visual state, as the style keeps it.
enum TButtonVisualState : uint8_t { bvsNormal = 0, bvsPressed = 1, bvsReleased = 2, bvsHot = 3 };
// How the caption is drawn.
enum TCaptionKind : uint8_t { ckNormal = 0, ckDisabled = 1, ckPressed = 2 };

struct TButtonStyleColors {
    TColor BorderColor;
    TColor NormalColor;
    TColor HotColor;
    TColor DownColor;
};

// What a style holds when nobody sets its colours, and what the look pass gives it.
constexpr TButtonStyleColors ButtonStyleDefaults{HouseButtonBorderColor, HouseButtonNormalColor, HouseButtonHotColor,
                                                 HouseButtonHotColor};

class TButtonStyle : public TControlStyle {
public:
    TButtonStyle(TComponent* AOwner, TWinControl* AControl);

    // Each setter only stores the colour; it shows at the next paint.
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    void SetNormalColor(TColor Value) { FNormalColor = Value; }
    void SetHotColor(TColor Value) { FHotColor = Value; }
    void SetDownColor(TColor Value) { FDownColor = Value; }

    void HookWndProc(TMessage& Message);
    // Composes the whole button for a visual state.
    virtual void Paint(TCanvas& Canvas, TButtonVisualState State);
    virtual void DrawCaption(TCanvas& Canvas, const std::string& Text, const RECT& Rect, TCaptionKind Kind);
    void DrawBackground(TCanvas& Canvas, const RECT& Rect, bool Normal);

protected:
    bool Compose(TCanvas& Canvas) override;

private:
    // Enters a visual state; BM_SETSTATE comes back through the hook and repaints.
    void EnterState(TButtonVisualState State);
    // What the style does after the stock handling of a message that goes on first, as it was sent; false for
    // those it leaves alone.
    bool FollowStock(const TMessage& Sent);

    TButtonVisualState FState = bvsNormal;
    TColor FBorderColor = 0;
    TColor FNormalColor = 0;
    TColor FHotColor = 0;
    TColor FDownColor = 0;
    std::unique_ptr<TBitmap> FBackground;
    std::unique_ptr<TBitmap> FBackgroundB;
};

TButtonStyle* CreateButtonStyle(TButton* AControl, const TButtonStyleColors& AColors);
