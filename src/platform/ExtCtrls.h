#pragma once
// Panels, shapes, images and timers.

#include <memory>

#include "Controls.h"
#include "StdCtrls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
inline constexpr const char* BevelCutNames[] = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};

class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* AOwner);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // Without it the caption is the panel's window text only, for screen readers, and is not painted.
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);

protected:
    void WndProc(TMessage& Message) override;
    void PaintWindow(HDC DC) override;  // colour, bevels, caption, then the windowless children

private:
    TBevelCut FBevelOuter = bvRaised;
    TBevelCut FBevelInner = bvNone;
    TAlignment FAlignment = taCenter;
    bool FShowCaption = true;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
inline constexpr const char* ShapeTypeNames[] = {"stRectangle",   "stSquare",  "stRoundRect",
                                                 "stRoundSquare", "stEllipse", "stCircle"};

class TShape : public TGraphicControl {
public:
    explicit TShape(TComponent* AOwner);
    TPen& Pen() { return FPen; }
    TBrush& Brush() { return FBrush; }
    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType Value);

protected:
    void Paint() override;

private:
    TPen FPen;
    TBrush FBrush;
    TShapeType FShape = stRectangle;
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;
    TPicture& Picture() { return *FPicture; }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);

protected:
    void Paint() override;

private:
    void PictureChanged();
    RECT DestRect() const;
    std::unique_ptr<TPicture> FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FAutoSize = false;
    bool FTransparent = false;
};

// A window timer on a message-only window of its own; its events go through whichever message loop runs, and a
// failing handler is reported like any other (the timer keeps running).
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned Value);
    TNotifyEvent OnTimer;

private:
    void UpdateTimer();
    std::unique_ptr<TUtilityWindow> FWindow;
    bool FEnabled = true;
    unsigned FInterval = 1000;
};

class TClassRegistry;
// Layout class and property tables of this unit.
void RegisterExtCtrlsClasses(TClassRegistry& Registry);
