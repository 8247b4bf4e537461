#include "ExtCtrls.h"

#include <algorithm>

#include "DeviceContexts.h"
#include "LayoutReader.h"

namespace {

constexpr int DefaultPanelWidth = 185, DefaultPanelHeight = 41;
constexpr int DefaultShapeSize = 65;
constexpr int DefaultImageSize = 105;
constexpr UINT_PTR TimerId = 1;

// One pixel of frame: top and left in TopColor, bottom and right in BottomColor; Rect shrinks inside it.
void Frame3D(TCanvas& Canvas, RECT& Rect, TColor TopColor, TColor BottomColor)
{
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(TopColor);
    Canvas.FillRect(RECT{Rect.left, Rect.top, Rect.right - 1, Rect.top + 1});
    Canvas.FillRect(RECT{Rect.left, Rect.top, Rect.left + 1, Rect.bottom - 1});
    Canvas.Brush().SetColor(BottomColor);
    Canvas.FillRect(RECT{Rect.left, Rect.bottom - 1, Rect.right, Rect.bottom});
    Canvas.FillRect(RECT{Rect.right - 1, Rect.top, Rect.right, Rect.bottom});
    InflateRect(&Rect, -1, -1);
}

void DrawBevel(TCanvas& Canvas, RECT& Rect, TBevelCut Bevel, TColor Face)
{
    switch (Bevel) {
    case bvLowered:
        Frame3D(Canvas, Rect, clBtnShadow, clBtnHighlight);
        break;
    case bvRaised:
        Frame3D(Canvas, Rect, clBtnHighlight, clBtnShadow);
        break;
    case bvSpace:
        Frame3D(Canvas, Rect, Face, Face);
        break;
    default:
        break;
    }
}

}  // namespace

// ---- TPanel ----

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner)
{
    SetColor(clBtnFace);
    SetBounds(0, 0, DefaultPanelWidth, DefaultPanelHeight);
}

void TPanel::SetBevelOuter(TBevelCut Value)
{
    if (Value == FBevelOuter) return;
    FBevelOuter = Value;
    Invalidate();
}

void TPanel::SetBevelInner(TBevelCut Value)
{
    if (Value == FBevelInner) return;
    FBevelInner = Value;
    Invalidate();
}

void TPanel::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment) return;
    FAlignment = Value;
    Invalidate();
}

void TPanel::SetShowCaption(bool Value)
{
    if (Value == FShowCaption) return;
    FShowCaption = Value;
    Invalidate();
}

void TPanel::WndProc(TMessage& Message)
{
    TWinControl::WndProc(Message);
    // The caption is painted by the panel itself, so a new one needs a new picture.
    if (Message.Msg == WM_SETTEXT) Invalidate();
}

void TPanel::PaintWindow(HDC DC)
{
    TCanvas canvas;
    TCanvasAttachment attached(canvas, DC);
    RECT r = ClientRect();
    DrawBevel(canvas, r, FBevelOuter, Color());
    DrawBevel(canvas, r, FBevelInner, Color());
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
    const std::string caption = FShowCaption ? Caption() : std::string();
    if (!caption.empty()) {
        canvas.Font().Assign(Font());
        const UINT align = FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT;
        DrawControlText(canvas, caption, r, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, Enabled());
    }
    PaintControls(DC);
}

// ---- TShape ----

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, DefaultShapeSize, DefaultShapeSize);
    FPen.OnChange = [this](TObject*) { Invalidate(); };
    FBrush.OnChange = [this](TObject*) { Invalidate(); };
}

void TShape::SetShape(TShapeType Value)
{
    if (Value == FShape) return;
    FShape = Value;
    Invalidate();
}

// The outline's centre runs half a pen width inside the bounds, so a wide pen stays within the control; a shape
// one pixel high is a single line in the pen colour.
void TShape::Paint()
{
    HDC dc = Canvas().Handle();
    const int penWidth = FPen.Style() == psClear ? 0 : FPen.Width();
    int x = penWidth / 2, y = penWidth / 2;
    int w = Width() - penWidth + 1, h = Height() - penWidth + 1;
    if (penWidth == 0) {
        --w;
        --h;
    }
    const int side = std::min(w, h);
    if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
        x += (w - side) / 2;
        y += (h - side) / 2;
        w = h = side;
    }
    HBRUSH brush = FBrush.Handle();
    TObjectSelection pen(dc, FPen.Handle());
    TObjectSelection fill(dc, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
    switch (FShape) {
    case stRoundRect:
    case stRoundSquare:
        RoundRect(dc, x, y, x + w, y + h, side / 4, side / 4);
        break;
    case stEllipse:
    case stCircle:
        Ellipse(dc, x, y, x + w, y + h);
        break;
    default:
        Rectangle(dc, x, y, x + w, y + h);
        break;
    }
}

// ---- TImage ----

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>())
{
    SetBounds(0, 0, DefaultImageSize, DefaultImageSize);
    FPicture->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() = default;

void TImage::SetStretch(bool Value)
{
    if (Value == FStretch) return;
    FStretch = Value;
    Invalidate();
}

void TImage::SetCenter(bool Value)
{
    if (Value == FCenter) return;
    FCenter = Value;
    Invalidate();
}

void TImage::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    if (Value) PictureChanged();
}

void TImage::SetTransparent(bool Value)
{
    if (Value == FTransparent) return;
    FTransparent = Value;
    Invalidate();
}

void TImage::PictureChanged()
{
    if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
        SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
    Invalidate();
}

RECT TImage::DestRect() const
{
    if (FStretch) return ClientRect();
    const int w = FPicture->Width(), h = FPicture->Height();
    if (!FCenter) return RECT{0, 0, w, h};
    const int x = (ClientWidth() - w) / 2, y = (ClientHeight() - h) / 2;
    return RECT{x, y, x + w, y + h};
}

void TImage::Paint()
{
    TBitmap& bitmap = FPicture->Bitmap();
    if (bitmap.Empty()) return;
    const RECT dest = DestRect();
    if (FStretch)
        Canvas().StretchDraw(dest, bitmap);
    else if (FTransparent)
        DrawTransparentBitmap(Canvas().Handle(), dest.left, dest.top, bitmap);
    else
        Canvas().Draw(dest.left, dest.top, bitmap);
}

// ---- TTimer ----

TTimer::TTimer(TComponent* AOwner)
    : TComponent(AOwner), FWindow(std::make_unique<TUtilityWindow>([this](TMessage& Message) {
          if (Message.Msg != WM_TIMER) return false;
          if (OnTimer) OnTimer(this);
          return true;
      }))
{
    FWindow->HandleNeeded();
    UpdateTimer();
}

// The window takes its timer with it.
TTimer::~TTimer() = default;

void TTimer::SetEnabled(bool Value)
{
    if (Value == FEnabled) return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned Value)
{
    if (Value == FInterval) return;
    FInterval = Value;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    const HWND window = FWindow->Handle();
    KillTimer(window, TimerId);
    if (FEnabled && FInterval > 0 && !SetTimer(window, TimerId, FInterval, nullptr))
        throw Exception("Not enough timers available");
}

// ---- Layout tables ----

namespace {

void RegisterPanelProperties(TClassRegistry& R)
{
    const std::string cls = "TPanel";
    RegisterLayoutSetter(R, cls, "BevelOuter", &TPanel::SetBevelOuter, BevelCutNames);
    RegisterLayoutSetter(R, cls, "BevelInner", &TPanel::SetBevelInner, BevelCutNames);
    RegisterLayoutSetter(R, cls, "Alignment", &TPanel::SetAlignment, AlignmentNames);
    RegisterLayoutSetter(R, cls, "ShowCaption", &TPanel::SetShowCaption);
    // The look of 3-D borders is the system's: accepted and checked, without effect.
    RegisterLayoutIgnored<bool>(R, cls, "Ctl3D");
    RegisterLayoutIgnored<bool>(R, cls, "ParentCtl3D");
}

void RegisterShapeProperties(TClassRegistry& R)
{
    const std::string cls = "TShape";
    RegisterLayoutSetter(R, cls, "Pen.Color", &TShape::Pen, &TPen::SetColor);
    RegisterLayoutSetter(R, cls, "Pen.Width", &TShape::Pen, &TPen::SetWidth);
    RegisterLayoutSetter(R, cls, "Pen.Style", &TShape::Pen, &TPen::SetStyle, PenStyleNames);
    RegisterLayoutSetter(R, cls, "Brush.Color", &TShape::Brush, &TBrush::SetColor);
    RegisterLayoutSetter(R, cls, "Brush.Style", &TShape::Brush, &TBrush::SetStyle, BrushStyleNames);
    RegisterLayoutSetter(R, cls, "Shape", &TShape::SetShape, ShapeTypeNames);
}

void RegisterImageProperties(TClassRegistry& R)
{
    const std::string cls = "TImage";
    RegisterLayoutSetter(R, cls, "AutoSize", &TImage::SetAutoSize);
    RegisterLayoutSetter(R, cls, "Center", &TImage::SetCenter);
    RegisterLayoutSetter(R, cls, "Stretch", &TImage::SetStretch);
    RegisterLayoutSetter(R, cls, "Transparent", &TImage::SetTransparent);
    // A picture names a bitmap resource of the executable.
    const auto picture = [](TImage& c, const TLayoutValue& v) {
        c.Picture().Bitmap().LoadFromResourceName(GetModuleHandleA(nullptr), v.AsString());
    };
    RegisterLayoutProperty<TImage>(R, cls, "Picture", picture);
    RegisterLayoutProperty<TImage>(R, cls, "Picture.ResourceName", picture);
}

void RegisterTimerProperties(TClassRegistry& R)
{
    const std::string cls = "TTimer";
    RegisterLayoutSetter(R, cls, "Enabled", &TTimer::SetEnabled);
    RegisterLayoutProperty<TTimer>(R, cls, "Interval", [](TTimer& c, const TLayoutValue& v) {
        const int interval = v.AsInt();
        if (interval < 0) throw EConvertError("an interval cannot be negative");
        c.SetInterval(static_cast<unsigned>(interval));
    });
    RegisterLayoutProperty<TTimer>(R, cls, "OnTimer", [](TTimer& c, const TLayoutValue& v, const TLayoutBindings& root) {
        c.OnTimer = LayoutEvent<TNotifyEvent>(root, v);
    });
}

}  // namespace

void RegisterExtCtrlsClasses(TClassRegistry& Registry)
{
    Registry.RegisterClass("TPanel", "TWinControl", [](TComponent* Owner) { return new TPanel(Owner); });
    Registry.RegisterClass("TShape", "TGraphicControl", [](TComponent* Owner) { return new TShape(Owner); });
    Registry.RegisterClass("TImage", "TGraphicControl", [](TComponent* Owner) { return new TImage(Owner); });
    Registry.RegisterClass("TTimer", "TComponent", [](TComponent* Owner) { return new TTimer(Owner); });
    RegisterPanelProperties(Registry);
    RegisterShapeProperties(Registry);
    RegisterImageProperties(Registry);
    RegisterTimerProperties(Registry);
}
