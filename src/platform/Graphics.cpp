#include "Graphics.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

// The DC an image is read from: the one it already sits in (its bitmap's canvas), because an image can be selected
// into only one DC at a time, or a memory DC of its own.
class TImageDC {
public:
    TImageDC(HBITMAP Image, HDC HeldBy) : FDC(HeldBy)
    {
        if (FDC) return;
        FOwn.emplace(nullptr, Image);
        FDC = FOwn->Handle();
    }
    HDC Handle() const { return FDC; }

private:
    HDC FDC;
    std::optional<TMemoryDC> FOwn;
};

// COLORONCOLOR drops whole source rows and columns instead of blending them, as the skins expect.
void StretchCopy(HDC Dest, const RECT& DestRect, HDC Source, int SX, int SY, int SW, int SH)
{
    int dw = DestRect.right - DestRect.left, dh = DestRect.bottom - DestRect.top;
    if (dw == SW && dh == SH) {
        BitBlt(Dest, DestRect.left, DestRect.top, dw, dh, Source, SX, SY, SRCCOPY);
        return;
    }
    int oldMode = SetStretchBltMode(Dest, COLORONCOLOR);
    StretchBlt(Dest, DestRect.left, DestRect.top, dw, dh, Source, SX, SY, SW, SH, SRCCOPY);
    if (oldMode) SetStretchBltMode(Dest, oldMode);
}

int BitsOf(TPixelFormat Format)
{
    switch (Format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf32bit: return 32;
    default: return 24;
    }
}

// Formats this layer keeps as they are; other depths (16-bit resources) are widened to 24 bits.
bool FormatOfBits(int Bits, TPixelFormat& Format)
{
    switch (Bits) {
    case 1: Format = pf1bit; return true;
    case 4: Format = pf4bit; return true;
    case 8: Format = pf8bit; return true;
    case 24: Format = pf24bit; return true;
    case 32: Format = pf32bit; return true;
    default: return false;
    }
}

// Colours of a new palette image with no source palette: black and white, the 16 VGA colours, or a
// 6x6x6 colour cube followed by a grey ramp.
std::vector<RGBQUAD> DefaultColorTable(int Bits)
{
    std::vector<RGBQUAD> table;
    auto add = [&table](int r, int g, int b) {
        table.push_back(RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0});
    };
    if (Bits == 1) {
        add(0, 0, 0);
        add(255, 255, 255);
    } else if (Bits == 4) {
        static const COLORREF vga[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                         0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                         0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
        for (COLORREF c : vga) add(GetRValue(c), GetGValue(c), GetBValue(c));
    } else {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) add(r * 51, g * 51, b * 51);
        for (int i = 0; i < 40; ++i) {
            int v = 8 + i * 6;
            add(v, v, v);
        }
    }
    return table;
}

std::vector<RGBQUAD> ColorTableOf(HDC DCWithImage)
{
    std::vector<RGBQUAD> table(256);
    UINT count = GetDIBColorTable(DCWithImage, 0, 256, table.data());
    table.resize(count);
    return table;
}

// A white image of the given size and format; palette formats take Colors, or the default table when empty.
HBITMAP CreateImage(int Width, int Height, TPixelFormat Format, const std::vector<RGBQUAD>& Colors)
{
    HBITMAP image = nullptr;
    if (Format == pfDevice) {
        TWindowDC screen(nullptr);
        image = CreateCompatibleBitmap(screen.Handle(), Width, Height);
    } else {
        int bits = BitsOf(Format);
        std::vector<RGBQUAD> table;
        if (bits <= 8) table = Colors.empty() ? DefaultColorTable(bits) : Colors;
        std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
        auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
        header->biSize = sizeof(BITMAPINFOHEADER);
        header->biWidth = Width;
        header->biHeight = Height;
        header->biPlanes = 1;
        header->biBitCount = static_cast<WORD>(bits);
        header->biCompression = BI_RGB;
        header->biClrUsed = static_cast<DWORD>(table.size());
        std::copy(table.begin(), table.end(), reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER)));
        void* pixels = nullptr;
        image = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &pixels,
                                 nullptr, 0);
    }
    if (!image) throw Exception("Out of system resources");
    TGdiObject owned(image);
    TImageDC dc(image, nullptr);
    PatBlt(dc.Handle(), 0, 0, Width, Height, WHITENESS);
    return static_cast<HBITMAP>(owned.Release());
}

// A new image of the given size and format with the top-left part of Source (held in SourceDC) copied in.
HBITMAP CopyImage(HDC SourceDC, int SourceWidth, int SourceHeight, int Width, int Height, TPixelFormat Format)
{
    std::vector<RGBQUAD> colors;
    if (Format != pfDevice && BitsOf(Format) <= 8) colors = ColorTableOf(SourceDC);
    TGdiObject image(CreateImage(Width, Height, Format, colors));
    {
        TImageDC dc(static_cast<HBITMAP>(image.Get()), nullptr);
        BitBlt(dc.Handle(), 0, 0, std::min(Width, SourceWidth), std::min(Height, SourceHeight), SourceDC, 0, 0,
               SRCCOPY);
    }
    return static_cast<HBITMAP>(image.Release());
}

}  // namespace

COLORREF ColorToRGB(TColor Color)
{
    auto value = static_cast<uint32_t>(Color);
    if ((value & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(value & 0xFFu));
    return value & 0x00FFFFFFu;
}

void TGraphicsObject::Changed()
{
    if (OnChange) OnChange(this);
}

// ---- TFont

TFont::TFont() = default;

// Listeners (a canvas that has the old font selected, a control that passed it to its window) are told
// before the old handle goes, and may already ask for the new one.
void TFont::Modified()
{
    TGdiObject old(FHandle.Release());
    Changed();
}

void TFont::Assign(const TFont& Source)
{
    if (&Source == this) return;
    FName = Source.FName;
    FHeight = Source.FHeight;
    FStyle = Source.FStyle;
    FColor = Source.FColor;
    FCharset = Source.FCharset;
    Modified();
}

void TFont::SetName(const std::string& Value)
{
    if (Value == FName) return;
    FName = Value;
    Modified();
}

void TFont::SetHeight(int Value)
{
    if (Value == FHeight) return;
    FHeight = Value;
    Modified();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, ScreenPixelsPerInch); }

void TFont::SetSize(int Value) { SetHeight(-MulDiv(Value, ScreenPixelsPerInch, 72)); }

void TFont::SetStyle(TFontStyles Value)
{
    if (Value == FStyle) return;
    FStyle = Value;
    Modified();
}

void TFont::SetColor(TColor Value)
{
    if (Value == FColor) return;
    FColor = Value;
    Changed();  // the colour is not part of the GDI font
}

void TFont::SetCharset(BYTE Value)
{
    if (Value == FCharset) return;
    FCharset = Value;
    Modified();
}

// Without antialiasing: the Song faces of the target systems show their crisp embedded bitmaps at these sizes,
// and text pixels carry exactly the font colour.
HFONT TFont::Handle() const
{
    if (!FHandle.Get())
        FHandle.Reset(CreateFontA(FHeight, 0, 0, 0, (FStyle & fsBold) ? FW_BOLD : FW_NORMAL, (FStyle & fsItalic) != 0,
                                  (FStyle & fsUnderline) != 0, (FStyle & fsStrikeOut) != 0, FCharset,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, FName.c_str()));
    return static_cast<HFONT>(FHandle.Get());
}

// ---- TPen

void TPen::Modified()
{
    TGdiObject old(FHandle.Release());
    Changed();
}

void TPen::SetColor(TColor Value)
{
    if (Value == FColor) return;
    FColor = Value;
    Modified();
}

void TPen::SetWidth(int Value)
{
    if (Value == FWidth) return;
    FWidth = Value;
    Modified();
}

void TPen::SetStyle(TPenStyle Value)
{
    if (Value == FStyle) return;
    FStyle = Value;
    Modified();
}

HPEN TPen::Handle() const
{
    if (FStyle == psClear) return static_cast<HPEN>(GetStockObject(NULL_PEN));
    if (!FHandle.Get()) {
        int style = FStyle == psDash ? PS_DASH : FStyle == psDot ? PS_DOT : PS_SOLID;
        FHandle.Reset(CreatePen(style, FWidth, ColorToRGB(FColor)));
    }
    return static_cast<HPEN>(FHandle.Get());
}

// ---- TBrush

void TBrush::Modified()
{
    TGdiObject old(FHandle.Release());
    Changed();
}

void TBrush::SetColor(TColor Value)
{
    if (Value == FColor) return;
    FColor = Value;
    Modified();
}

void TBrush::SetStyle(TBrushStyle Value)
{
    if (Value == FStyle) return;
    FStyle = Value;
    Modified();
}

HBRUSH TBrush::Handle() const
{
    if (FStyle == bsClear) return nullptr;
    if (!FHandle.Get()) FHandle.Reset(CreateSolidBrush(ColorToRGB(FColor)));
    return static_cast<HBRUSH>(FHandle.Get());
}

// ---- TCanvas

TCanvas::TCanvas()
{
    InitializeCriticalSection(&FLock);
    // A changed object is deselected at once (its old handle is about to be deleted) and the new one is
    // selected at the next drawing call.
    FFont.OnChange = [this](TObject*) { Deselect(FOldFont); };
    FPen.OnChange = [this](TObject*) { Deselect(FOldPen); };
    FBrush.OnChange = [this](TObject*) { Deselect(FOldBrush); };
}

TCanvas::~TCanvas()
{
    SetHandle(nullptr);
    DeleteCriticalSection(&FLock);
}

HDC TCanvas::Handle() const
{
    if (!FHandle) const_cast<TCanvas*>(this)->CreateHandle();
    return FHandle;
}

// Attaching the same value again still starts afresh: a released DC's handle comes back from BeginPaint with
// its default objects, and ours must be selected into it anew.
void TCanvas::SetHandle(HDC Value)
{
    RestoreObjects();
    FHandle = Value;
}

void TCanvas::Deselect(HGDIOBJ& Original)
{
    if (!Original) return;
    SelectObject(FHandle, Original);
    Original = nullptr;
}

void TCanvas::RestoreObjects()
{
    Deselect(FOldFont);
    Deselect(FOldPen);
    Deselect(FOldBrush);
}

void TCanvas::RequireState()
{
    if (!FHandle) CreateHandle();
    if (!FHandle) throw Exception("Canvas does not allow drawing");
    if (!FOldFont) FOldFont = SelectObject(FHandle, FFont.Handle());
    if (!FOldPen) FOldPen = SelectObject(FHandle, FPen.Handle());
    if (!FOldBrush) {
        HGDIOBJ brush = FBrush.Handle();
        FOldBrush = SelectObject(FHandle, brush ? brush : GetStockObject(NULL_BRUSH));
    }
    SetTextColor(FHandle, ColorToRGB(FFont.Color()));
    if (FBrush.Style() == bsClear) {
        SetBkMode(FHandle, TRANSPARENT);
    } else {
        SetBkMode(FHandle, OPAQUE);
        SetBkColor(FHandle, ColorToRGB(FBrush.Color()));
    }
}

void TCanvas::Lock()
{
    EnterCriticalSection(&FLock);
    ++FLockCount;
}

void TCanvas::Unlock()
{
    if (FLockCount == 0) return;
    --FLockCount;
    LeaveCriticalSection(&FLock);
}

void TCanvas::FillRect(const RECT& Rect)
{
    RequireState();
    if (HBRUSH brush = FBrush.Handle()) ::FillRect(FHandle, &Rect, brush);
}

void TCanvas::DrawFocusRect(const RECT& Rect)
{
    RequireState();
    ::DrawFocusRect(FHandle, &Rect);
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    RequireState();
    ::Rectangle(FHandle, X1, Y1, X2, Y2);
}

void TCanvas::Ellipse(const RECT& Rect)
{
    RequireState();
    ::Ellipse(FHandle, Rect.left, Rect.top, Rect.right, Rect.bottom);
}

void TCanvas::MoveTo(int X, int Y)
{
    RequireState();
    MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y)
{
    RequireState();
    ::LineTo(FHandle, X, Y);
}

void TCanvas::Polyline(std::initializer_list<POINT> Points)
{
    if (Points.size() == 0) return;
    MoveTo(Points.begin()->x, Points.begin()->y);
    for (auto p = Points.begin() + 1; p != Points.end(); ++p) LineTo(p->x, p->y);
}

void TCanvas::TextOut(int X, int Y, const std::string& Text)
{
    RequireState();
    ::TextOutA(FHandle, X, Y, Text.c_str(), static_cast<int>(Text.size()));
}

int TCanvas::DrawText(const std::string& Text, RECT& Rect, UINT Format)
{
    RequireState();
    return ::DrawTextA(FHandle, Text.c_str(), static_cast<int>(Text.size()), &Rect, Format);
}

SIZE TCanvas::TextExtent(const std::string& Text)
{
    RequireState();
    SIZE size{0, 0};
    GetTextExtentPoint32A(FHandle, Text.c_str(), static_cast<int>(Text.size()), &size);
    return size;
}

void TCanvas::Draw(int X, int Y, const TBitmap& Bitmap)
{
    StretchDraw(RECT{X, Y, X + Bitmap.Width(), Y + Bitmap.Height()}, Bitmap);
}

void TCanvas::StretchDraw(const RECT& Rect, const TBitmap& Bitmap)
{
    RequireState();
    Bitmap.DrawTo(FHandle, Rect);
}

void TCanvas::CopyRect(const RECT& Dest, TCanvas& Source, const RECT& SourceRect)
{
    RequireState();
    Source.RequireState();
    StretchCopy(FHandle, Dest, Source.FHandle, SourceRect.left, SourceRect.top, SourceRect.right - SourceRect.left,
                SourceRect.bottom - SourceRect.top);
}

TColor TCanvas::Pixel(int X, int Y)
{
    RequireState();
    COLORREF c = GetPixel(FHandle, X, Y);
    return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixel(int X, int Y, TColor Color)
{
    RequireState();
    SetPixelV(FHandle, X, Y, ColorToRGB(Color));
}

// The DC keeps a copy of the region it is given; ours goes at once.
void TCanvas::SetClipPolygon(const POINT* Points, size_t Count)
{
    RequireState();
    TGdiObject region(CreatePolygonRgn(Points, static_cast<int>(Count), ALTERNATE));
    SelectClipRgn(FHandle, static_cast<HRGN>(region.Get()));
}

void TCanvas::SetClipRect(const RECT& Rect)
{
    RequireState();
    TGdiObject region(CreateRectRgnIndirect(&Rect));
    SelectClipRgn(FHandle, static_cast<HRGN>(region.Get()));
}

// ---- TBitmap

namespace {

// A bitmap's canvas: a memory DC with the bitmap's image selected, made at the first drawing call and
// given up whenever the image is resized, replaced or freed.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(const TBitmap& Bitmap) : FBitmap(Bitmap) {}
    ~TBitmapCanvas() override { FreeContext(); }

    HDC HeldDC() const { return FDC ? FDC->Handle() : nullptr; }
    void FreeContext()
    {
        if (!FDC) return;
        SetHandle(nullptr);
        FDC.reset();
    }

protected:
    // An empty bitmap leaves the DC's default 1x1 image in place: drawing then changes nothing of ours.
    void CreateHandle() override
    {
        if (FDC) return;
        FDC.emplace(nullptr, FBitmap.Handle());
        SetHandle(FDC->Handle());
    }

private:
    const TBitmap& FBitmap;
    std::optional<TMemoryDC> FDC;
};

HDC HeldDC(const std::unique_ptr<TCanvas>& Canvas)
{
    return Canvas ? static_cast<TBitmapCanvas*>(Canvas.get())->HeldDC() : nullptr;
}

// Depths this layer has no format for (16-bit resources) are widened to 24 bits; the original goes.
HBITMAP Normalized(HBITMAP Image)
{
    TGdiObject original(Image);
    DIBSECTION info{};
    TPixelFormat format;
    if (GetObjectA(Image, sizeof(info), &info) != static_cast<int>(sizeof(DIBSECTION)) ||
        FormatOfBits(info.dsBm.bmBitsPixel, format))
        return static_cast<HBITMAP>(original.Release());
    TImageDC source(Image, nullptr);
    return CopyImage(source.Handle(), info.dsBm.bmWidth, std::abs(info.dsBm.bmHeight), info.dsBm.bmWidth,
                     std::abs(info.dsBm.bmHeight), pf24bit);
}

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() = default;

TCanvas& TBitmap::Canvas()
{
    if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(*this);
    return *FCanvas;
}

void TBitmap::ReleaseCanvasDC()
{
    if (FCanvas) static_cast<TBitmapCanvas*>(FCanvas.get())->FreeContext();
}

void TBitmap::TakeImage(HBITMAP Image)
{
    ReleaseCanvasDC();
    FImage.Reset(Image);
    FWidth = FHeight = 0;
    if (!Image) return;
    DIBSECTION info{};
    bool dib = GetObjectA(Image, sizeof(info), &info) == static_cast<int>(sizeof(DIBSECTION));
    FWidth = info.dsBm.bmWidth;
    FHeight = std::abs(info.dsBm.bmHeight);
    if (!dib || !FormatOfBits(info.dsBm.bmBitsPixel, FPixelFormat)) FPixelFormat = dib ? pf24bit : pfDevice;
}

void TBitmap::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (AWidth == FWidth && AHeight == FHeight) return;
    if (AWidth == 0 || AHeight == 0) {
        TakeImage(nullptr);
    } else if (!Handle()) {
        TakeImage(CreateImage(AWidth, AHeight, FPixelFormat, {}));
    } else {
        HBITMAP image;
        {
            TImageDC source(Handle(), HeldDC(FCanvas));
            image = CopyImage(source.Handle(), FWidth, FHeight, AWidth, AHeight, FPixelFormat);
        }
        TakeImage(image);
    }
    FWidth = AWidth;
    FHeight = AHeight;
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
    if (Value == FPixelFormat) return;
    if (Handle()) {
        HBITMAP image;
        {
            TImageDC source(Handle(), HeldDC(FCanvas));
            image = CopyImage(source.Handle(), FWidth, FHeight, FWidth, FHeight, Value);
        }
        TakeImage(image);
    }
    FPixelFormat = Value;
    Changed();
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const std::string& Name)
{
    auto image = static_cast<HBITMAP>(LoadImageA(Instance, Name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!image) throw EResourceError("Resource " + Name + " not found");
    TakeImage(Normalized(image));
    Changed();
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, int Id)
{
    auto image = static_cast<HBITMAP>(
        LoadImageA(Instance, MAKEINTRESOURCEA(Id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!image) throw EResourceError("Resource " + std::to_string(Id) + " not found");
    TakeImage(Normalized(image));
    Changed();
}

void TBitmap::Assign(const TBitmap* Source)
{
    if (Source == this) return;
    if (!Source || Source->Empty() || !Source->Handle()) {
        TakeImage(nullptr);
        if (Source) FPixelFormat = Source->FPixelFormat;
    } else {
        HBITMAP image;
        {
            TImageDC source(Source->Handle(), HeldDC(Source->FCanvas));
            image = CopyImage(source.Handle(), Source->FWidth, Source->FHeight, Source->FWidth, Source->FHeight,
                              Source->FPixelFormat);
        }
        TakeImage(image);
    }
    Changed();
}

void TBitmap::FreeImage()
{
    if (!Handle() && Empty()) return;
    TakeImage(nullptr);
    Changed();
}

void TBitmap::DrawTo(HDC DC, const RECT& Rect) const
{
    if (!Handle()) return;
    TImageDC source(Handle(), HeldDC(FCanvas));
    StretchCopy(DC, Rect, source.Handle(), 0, 0, FWidth, FHeight);
}

// ---- TPicture

TPicture::TPicture() : FBitmap(std::make_unique<TBitmap>())
{
    FBitmap->OnChange = [this](TObject*) { Changed(); };
}

void TPicture::Assign(const TPicture* Source)
{
    if (Source == this) return;
    FBitmap->Assign(Source ? Source->FBitmap.get() : nullptr);
}
