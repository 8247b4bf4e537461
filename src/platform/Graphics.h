#pragma once
// Colours, fonts, pens, brushes, canvases and bitmaps over GDI.
// Painting code takes a canvas or an HDC, never fetches its own, so tests can paint off-screen and read pixels.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "Classes.h"
#include "DeviceContexts.h"

// 0x00BBGGRR for ordinary colours; 0xFF0000nn names system colour nn.
using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clWindow = static_cast<TColor>(0xFF000005);
constexpr TColor clWindowText = static_cast<TColor>(0xFF000008);
constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000F);
constexpr TColor clBtnHighlight = static_cast<TColor>(0xFF000014);
constexpr TColor clBtnShadow = static_cast<TColor>(0xFF000010);
constexpr TColor clHighlight = static_cast<TColor>(0xFF00000D);
constexpr TColor clInfoBk = static_cast<TColor>(0xFF000018);
constexpr TColor clInfoText = static_cast<TColor>(0xFF000017);

// Resolves system colours; the result is a plain 0x00BBGGRR value.
COLORREF ColorToRGB(TColor Color);
constexpr TColor RGBColor(int r, int g, int b) { return r + 256 * g + 65536 * b; }

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;  // a set of TFontStyle bits
enum TPenStyle { psSolid, psDash, psDot, psClear };
enum TBrushStyle { bsSolid, bsClear };
// Name tables, in declared order, as stored layouts write them.
inline constexpr const char* FontStyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
inline constexpr const char* PenStyleNames[] = {"psSolid", "psDash", "psDot", "psClear"};
inline constexpr const char* BrushStyleNames[] = {"bsSolid", "bsClear"};
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };

// Pixels per inch of the design (and of the test screens).
constexpr int ScreenPixelsPerInch = 96;

class TGraphicsObject : public TObject {
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
};

// A logical font; Height < 0 is the character height in pixels, Size the height in points at 96 ppi.
class TFont : public TGraphicsObject {
public:
    TFont();

    void Assign(const TFont& Source);
    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    int Size() const;
    void SetSize(int Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    BYTE Charset() const { return FCharset; }
    void SetCharset(BYTE Value);
    // The GDI font for the current attributes; owned by this object, recreated after a change.
    HFONT Handle() const;

private:
    void Modified();

    std::string FName = "宋体";
    int FHeight = -12;
    TFontStyles FStyle = 0;
    TColor FColor = clWindowText;
    BYTE FCharset = DEFAULT_CHARSET;
    mutable TGdiObject FHandle{nullptr};
};

class TPen : public TGraphicsObject {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    HPEN Handle() const;

private:
    void Modified();
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    mutable TGdiObject FHandle{nullptr};
};

class TBrush : public TGraphicsObject {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);
    // Null for bsClear.
    HBRUSH Handle() const;

private:
    void Modified();
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    mutable TGdiObject FHandle{nullptr};
};

class TBitmap;

// Draws on a device context it is given (SetHandle) or that its owner provides (a bitmap's memory DC).
// It selects its font, pen and brush into the DC as needed and restores the DC's originals when detached.
class TCanvas : public TObject {
public:
    TCanvas();
    ~TCanvas() override;

    // The DC drawn on; a canvas that makes its own DC (a bitmap's) makes it here if needed.
    HDC Handle() const;
    void SetHandle(HDC Value);  // nullptr detaches (and restores the DC's objects)
    // The canvas listens to OnChange of these three itself (to deselect an object before its handle goes).
    TFont& Font() { return FFont; }
    TPen& Pen() { return FPen; }
    TBrush& Brush() { return FBrush; }

    void Lock();
    void Unlock();
    int LockCount() const { return FLockCount; }

    void FillRect(const RECT& Rect);            // with the brush
    // The system's dotted focus mark, drawn inverting: a second call takes it away.
    void DrawFocusRect(const RECT& Rect);
    void Rectangle(int X1, int Y1, int X2, int Y2);  // pen outline, brush fill
    void Rectangle(const RECT& Rect) { Rectangle(Rect.left, Rect.top, Rect.right, Rect.bottom); }
    void Ellipse(const RECT& Rect);  // pen outline, brush fill
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    // Lines from each point to the next, with the pen; the pen ends at the last point.
    void Polyline(std::initializer_list<POINT> Points);
    void TextOut(int X, int Y, const std::string& Text);
    // DrawTextA with the canvas font and colour; honours the brush style for the text background.
    int DrawText(const std::string& Text, RECT& Rect, UINT Format);
    SIZE TextExtent(const std::string& Text);
    int TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
    int TextHeight(const std::string& Text) { return TextExtent(Text).cy; }
    void Draw(int X, int Y, const TBitmap& Bitmap);              // unscaled, opaque
    void StretchDraw(const RECT& Rect, const TBitmap& Bitmap);   // scaled, opaque (COLORONCOLOR)
    void CopyRect(const RECT& Dest, TCanvas& Source, const RECT& SourceRect);
    TColor Pixel(int X, int Y);  // clNone outside the DC's image
    void SetPixel(int X, int Y, TColor Color);
    // The clip region: drawing shows only inside a polygon (filled in alternate mode) or a rectangle until the next.
    void SetClipPolygon(const POINT* Points, size_t Count);
    template <size_t N>
    void SetClipPolygon(const POINT (&Points)[N])
    {
        SetClipPolygon(Points, N);
    }
    void SetClipRect(const RECT& Rect);

protected:
    // A canvas that can make its own DC (a bitmap's) overrides this.
    virtual void CreateHandle() {}
    void RequireState();  // ensures a DC and selects font, pen and brush

private:
    // Selects the DC's original object back in place of ours (if ours is selected).
    void Deselect(HGDIOBJ& Original);
    void RestoreObjects();

    HDC FHandle = nullptr;
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    HGDIOBJ FOldFont = nullptr, FOldPen = nullptr, FOldBrush = nullptr;
    int FLockCount = 0;
    CRITICAL_SECTION FLock;
};

// Keeps a canvas locked for one paint, whatever leaves the scope.
class TCanvasLock {
public:
    explicit TCanvasLock(TCanvas& Canvas) : FCanvas(Canvas) { FCanvas.Lock(); }
    ~TCanvasLock() { FCanvas.Unlock(); }
    TCanvasLock(const TCanvasLock&) = delete;
    TCanvasLock& operator=(const TCanvasLock&) = delete;

private:
    TCanvas& FCanvas;
};

// A device-independent bitmap with a memory-DC canvas; loads from the executable's bitmap resources.
class TBitmap : public TGraphicsObject {
public:
    TBitmap();
    ~TBitmap() override;  // the canvas gives up its DC before the image goes

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int Value) { SetSize(Value, FHeight); }
    void SetHeight(int Value) { SetSize(FWidth, Value); }
    void SetSize(int AWidth, int AHeight);  // keeps the top-left content that still fits
    bool Empty() const { return FWidth == 0 || FHeight == 0; }
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value);
    TCanvas& Canvas();
    HBITMAP Handle() const { return static_cast<HBITMAP>(FImage.Get()); }

    // Throws EResourceError naming the resource when it is missing.
    void LoadFromResourceName(HINSTANCE Instance, const std::string& Name);
    void LoadFromResourceID(HINSTANCE Instance, int Id);
    // Deep copy (its own image); nullptr empties.
    void Assign(const TBitmap* Source);
    void FreeImage();
    // Draws the whole bitmap into Rect of a DC (scaled when the sizes differ).
    void DrawTo(HDC DC, const RECT& Rect) const;

private:
    void TakeImage(HBITMAP Image);
    void ReleaseCanvasDC();

    TGdiObject FImage{nullptr};
    int FWidth = 0, FHeight = 0;
    TPixelFormat FPixelFormat = pf24bit;
    std::unique_ptr<TCanvas> FCanvas;  // created on first use; declared after the image, so freed before it
};

// What an image shows: this layer only has bitmap pictures.
class TPicture : public TGraphicsObject {
public:
    TPicture();
    TBitmap& Bitmap() { return *FBitmap; }
    const TBitmap& Bitmap() const { return *FBitmap; }
    void Assign(const TPicture* Source);
    int Width() const { return FBitmap->Width(); }
    int Height() const { return FBitmap->Height(); }

private:
    std::unique_ptr<TBitmap> FBitmap;
};
