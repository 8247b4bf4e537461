#include <gtest/gtest.h>
#include <windows.h>

#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "Graphics.h"

// Real GDI under Wine: every result is read back from pixels, DC state or handle tables.
namespace {

// A memory DC with a 24-bit image of its own, for canvases attached to a foreign DC.
class MemoryDC {
public:
    MemoryDC(int width, int height) : dc_(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        image_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, image_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC()
    {
        SelectObject(dc_, old_);
        DeleteObject(image_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }

private:
    HDC dc_;
    HBITMAP image_;
    HGDIOBJ old_;
};

void Fill(TCanvas& canvas, const RECT& rect, TColor color)
{
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(rect);
}

// A 2x18 picture whose rows all differ, like the button gradients but unambiguous.
TColor GradientRow(int row) { return RGBColor(row * 13, 100, 255 - row * 13); }

void MakeGradient(TBitmap& bitmap)
{
    bitmap.SetSize(2, 18);
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 2; ++x) bitmap.Canvas().SetPixel(x, y, GradientRow(y));
}

// GDI objects this process holds. Wine's GetGuiResources counts nothing; there the figure is how many more
// objects fit into the process's handle table, negated, which moves by one for every object held.
long GdiObjectsInUse()
{
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted) return static_cast<long>(counted);
    std::vector<HBRUSH> probes;
    probes.reserve(100000);
    while (probes.size() < 100000) {
        HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
        if (!probe) break;
        probes.push_back(probe);
    }
    for (HBRUSH probe : probes) DeleteObject(probe);
    return -static_cast<long>(probes.size());
}

int CountColor(TCanvas& canvas, const RECT& rect, TColor color)
{
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) count += canvas.Pixel(x, y) == color;
    return count;
}

}  // namespace

TEST(GraphicsColor, SystemColoursResolveAndOthersAreMasked)
{
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), ColorToRGB(clWindow));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), ColorToRGB(clBtnFace));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(0x0094594Au, ColorToRGB(RGBColor(74, 89, 148)));
    EXPECT_EQ(0x00FFFFFFu, ColorToRGB(clNone));
    EXPECT_EQ(0x00123456u, ColorToRGB(0x12123456));
}

TEST(GraphicsFont, SizeAndHeightConvertAtNinetySixPixelsPerInch)
{
    TFont font;
    EXPECT_EQ(-12, font.Height());
    EXPECT_EQ(9, font.Size());
    font.SetHeight(-13);
    EXPECT_EQ(10, font.Size());  // 9.75 points round up
    font.SetHeight(-16);
    EXPECT_EQ(12, font.Size());
    font.SetSize(9);
    EXPECT_EQ(-12, font.Height());
    font.SetSize(10);
    EXPECT_EQ(-13, font.Height());
}

TEST(GraphicsFont, HandleFollowsEveryChangeAndChangesAreAnnounced)
{
    TFont font;
    int changes = 0;
    font.OnChange = [&changes](TObject*) { ++changes; };
    LOGFONTA log{};
    ASSERT_NE(0, GetObjectA(font.Handle(), sizeof log, &log));
    EXPECT_EQ(-12, log.lfHeight);
    EXPECT_EQ(FW_NORMAL, log.lfWeight);
    EXPECT_STREQ("宋体", log.lfFaceName);
    EXPECT_EQ(DEFAULT_CHARSET, log.lfCharSet);
    EXPECT_EQ(clWindowText, font.Color());

    HFONT first = font.Handle();
    font.SetStyle(fsBold | fsItalic | fsUnderline | fsStrikeOut);
    EXPECT_EQ(1, changes);
    EXPECT_EQ(0u, GetObjectType(first));  // the old font is gone, not leaked
    ASSERT_NE(0, GetObjectA(font.Handle(), sizeof log, &log));
    EXPECT_EQ(FW_BOLD, log.lfWeight);
    EXPECT_TRUE(log.lfItalic && log.lfUnderline && log.lfStrikeOut);

    font.SetColor(clBlack);
    font.SetCharset(GB2312_CHARSET);
    font.SetName("Arial");
    font.SetSize(20);
    EXPECT_EQ(5, changes);
    ASSERT_NE(0, GetObjectA(font.Handle(), sizeof log, &log));
    EXPECT_EQ(GB2312_CHARSET, log.lfCharSet);
    EXPECT_STREQ("Arial", log.lfFaceName);
    EXPECT_EQ(-27, log.lfHeight);

    font.SetSize(20);  // no change, no notice
    EXPECT_EQ(5, changes);

    TFont copy;
    int copyChanges = 0;
    copy.OnChange = [&copyChanges](TObject*) { ++copyChanges; };
    copy.Assign(font);
    EXPECT_EQ(1, copyChanges);
    EXPECT_EQ(font.Name(), copy.Name());
    EXPECT_EQ(font.Height(), copy.Height());
    EXPECT_EQ(font.Style(), copy.Style());
    EXPECT_EQ(font.Color(), copy.Color());
    EXPECT_EQ(font.Charset(), copy.Charset());
    EXPECT_NE(font.Handle(), copy.Handle());
}

// The prefix maps 宋体 to a CJK font; the layouts are designed for 12-pixel ideographs and 6-pixel ASCII.
TEST(GraphicsFont, SongTypefaceMeasuresLikeTheDesign)
{
    MemoryDC surface(10, 10);
    TCanvas canvas;
    canvas.SetHandle(surface.dc());
    EXPECT_EQ(12, canvas.TextWidth("高"));
    EXPECT_EQ(6, canvas.TextWidth("A"));
    EXPECT_EQ(24, canvas.TextWidth("卸载"));
    int height = canvas.TextHeight("高");
    EXPECT_GE(height, 12);
    std::cout << "Song -12: text height of an ideograph = " << height << "\n";  // 13 under Wine

    int regular = canvas.TextWidth("Quintaro卸载完成");
    canvas.Font().SetStyle(fsBold);
    EXPECT_GE(canvas.TextWidth("Quintaro卸载完成"), regular);
    canvas.SetHandle(nullptr);
}

TEST(GraphicsCanvas, DetachRestoresTheDCsOwnObjects)
{
    MemoryDC surface(20, 20);
    HDC dc = surface.dc();
    HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT), pen = GetCurrentObject(dc, OBJ_PEN),
            brush = GetCurrentObject(dc, OBJ_BRUSH);
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        EXPECT_EQ(dc, canvas.Handle());
        EXPECT_EQ(font, GetCurrentObject(dc, OBJ_FONT));  // nothing selected before drawing
        canvas.Rectangle(0, 0, 5, 5);
        EXPECT_EQ(canvas.Font().Handle(), GetCurrentObject(dc, OBJ_FONT));
        EXPECT_EQ(canvas.Pen().Handle(), GetCurrentObject(dc, OBJ_PEN));
        EXPECT_EQ(canvas.Brush().Handle(), GetCurrentObject(dc, OBJ_BRUSH));

        // A change deselects the old font at once; the new one comes with the next drawing call.
        HFONT small = canvas.Font().Handle();
        int narrow = canvas.TextWidth("W");
        canvas.Font().SetHeight(-24);
        EXPECT_EQ(font, GetCurrentObject(dc, OBJ_FONT));
        EXPECT_EQ(0u, GetObjectType(small));
        EXPECT_GT(canvas.TextWidth("W"), narrow);
        EXPECT_EQ(canvas.Font().Handle(), GetCurrentObject(dc, OBJ_FONT));

        canvas.Brush().SetStyle(bsClear);
        canvas.Pen().SetStyle(psClear);
        canvas.MoveTo(0, 0);
        EXPECT_EQ(GetStockObject(NULL_BRUSH), GetCurrentObject(dc, OBJ_BRUSH));
        EXPECT_EQ(GetStockObject(NULL_PEN), GetCurrentObject(dc, OBJ_PEN));

        canvas.SetHandle(nullptr);
        EXPECT_EQ(font, GetCurrentObject(dc, OBJ_FONT));
        EXPECT_EQ(pen, GetCurrentObject(dc, OBJ_PEN));
        EXPECT_EQ(brush, GetCurrentObject(dc, OBJ_BRUSH));

        canvas.SetHandle(dc);
        canvas.TextWidth("x");
        EXPECT_NE(font, GetCurrentObject(dc, OBJ_FONT));
        // The same DC value again (as BeginPaint hands out) after its objects were reset: ours go in anew.
        SelectObject(dc, font);
        canvas.SetHandle(dc);
        canvas.TextWidth("x");
        EXPECT_EQ(canvas.Font().Handle(), GetCurrentObject(dc, OBJ_FONT));
    }  // destroyed while attached
    EXPECT_EQ(font, GetCurrentObject(dc, OBJ_FONT));
    EXPECT_EQ(pen, GetCurrentObject(dc, OBJ_PEN));
    EXPECT_EQ(brush, GetCurrentObject(dc, OBJ_BRUSH));
}

TEST(GraphicsCanvas, WithoutADCDrawingFailsAndLockingCounts)
{
    TCanvas canvas;
    EXPECT_EQ(nullptr, canvas.Handle());
    EXPECT_THROW(canvas.FillRect(RECT{0, 0, 1, 1}), Exception);
    canvas.Lock();
    canvas.Lock();
    EXPECT_EQ(2, canvas.LockCount());
    canvas.Unlock();
    canvas.Unlock();
    canvas.Unlock();  // unbalanced: ignored
    EXPECT_EQ(0, canvas.LockCount());
}

TEST(GraphicsCanvas, RectangleWithClearBrushDrawsOnlyTheOutermostPixels)
{
    TBitmap bitmap;
    bitmap.SetSize(30, 20);
    TCanvas& canvas = bitmap.Canvas();
    const TColor back = RGBColor(10, 200, 30), border = RGBColor(136, 136, 134);
    Fill(canvas, RECT{0, 0, 30, 20}, back);
    canvas.Brush().SetStyle(bsClear);
    canvas.Pen().SetColor(border);
    canvas.Rectangle(RECT{2, 3, 22, 13});  // right and bottom exclusive
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            bool inside = x >= 2 && x <= 21 && y >= 3 && y <= 12;
            bool edge = inside && (x == 2 || x == 21 || y == 3 || y == 12);
            EXPECT_EQ(edge ? border : back, canvas.Pixel(x, y)) << x << "," << y;
        }

    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clWhite);
    canvas.Rectangle(0, 0, 5, 5);
    EXPECT_EQ(clWhite, canvas.Pixel(2, 2));
    EXPECT_EQ(border, canvas.Pixel(0, 0));
    EXPECT_EQ(clNone, canvas.Pixel(30, 0));
}

TEST(GraphicsCanvas, TextBackgroundFollowsTheBrushStyle)
{
    TBitmap bitmap;
    bitmap.SetSize(60, 20);
    TCanvas& canvas = bitmap.Canvas();
    const TColor back = RGBColor(200, 220, 240), brush = RGBColor(255, 0, 0);
    RECT all{0, 0, 60, 20};
    canvas.Font().SetColor(clBlack);

    Fill(canvas, all, back);
    canvas.Brush().SetStyle(bsClear);
    RECT r = all;
    EXPECT_GT(canvas.DrawText("高", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE), 0);
    EXPECT_EQ(0, CountColor(canvas, all, brush));
    int untouched = CountColor(canvas, all, back), ink = CountColor(canvas, all, clBlack);
    EXPECT_GT(ink, 20);                      // the glyph in the font colour,
    EXPECT_EQ(60 * 20, untouched + ink);     // not blended into the background,
    EXPECT_GT(untouched, 60 * 20 - 144);     // and nothing beyond its 12x12 cell

    Fill(canvas, all, back);
    canvas.Brush().SetColor(brush);  // opaque: the text cell takes the brush colour
    canvas.TextOut(0, 0, "高");
    EXPECT_GT(CountColor(canvas, RECT{0, 0, 12, 12}, brush), 20);
    EXPECT_EQ(back, canvas.Pixel(40, 15));
}

TEST(GraphicsBitmap, SizeFormatAndResizeKeepTheTopLeftPixels)
{
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(pf24bit, bitmap.PixelFormat());
    int changes = 0;
    bitmap.OnChange = [&changes](TObject*) { ++changes; };
    bitmap.SetSize(4, 3);
    EXPECT_EQ(1, changes);
    DIBSECTION info{};  // the whole of what GetObject writes for a DIB section, not only its BITMAP part
    ASSERT_EQ(static_cast<int>(sizeof info), GetObjectA(bitmap.Handle(), sizeof info, &info));
    EXPECT_EQ(24, info.dsBm.bmBitsPixel);
    EXPECT_EQ(clWhite, bitmap.Canvas().Pixel(3, 2));  // new images start white

    bitmap.Canvas().SetPixel(0, 0, clBlack);
    bitmap.Canvas().SetPixel(3, 2, RGBColor(1, 2, 3));
    bitmap.SetHeight(10);  // the canvas lets go of the old image and takes the new one
    EXPECT_EQ(clBlack, bitmap.Canvas().Pixel(0, 0));
    EXPECT_EQ(RGBColor(1, 2, 3), bitmap.Canvas().Pixel(3, 2));
    EXPECT_EQ(clWhite, bitmap.Canvas().Pixel(3, 9));
    bitmap.SetWidth(2);
    EXPECT_EQ(2, bitmap.Width());
    EXPECT_EQ(clBlack, bitmap.Canvas().Pixel(0, 0));

    bitmap.SetPixelFormat(pf32bit);
    ASSERT_NE(0, GetObjectA(bitmap.Handle(), sizeof info, &info));
    EXPECT_EQ(32, info.dsBm.bmBitsPixel);
    EXPECT_EQ(clBlack, bitmap.Canvas().Pixel(0, 0));
    bitmap.SetPixelFormat(pf8bit);
    EXPECT_EQ(pf8bit, bitmap.PixelFormat());
    EXPECT_EQ(clBlack, bitmap.Canvas().Pixel(0, 0));
    EXPECT_EQ(clWhite, bitmap.Canvas().Pixel(1, 9));

    bitmap.SetSize(0, 5);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(nullptr, bitmap.Handle());
}

TEST(GraphicsBitmap, AssignMakesAnIndependentCopy)
{
    TBitmap original;
    MakeGradient(original);
    TBitmap copy;
    copy.Assign(&original);
    EXPECT_NE(original.Handle(), copy.Handle());
    EXPECT_EQ(2, copy.Width());
    EXPECT_EQ(18, copy.Height());
    EXPECT_EQ(original.PixelFormat(), copy.PixelFormat());
    for (int y = 0; y < 18; ++y) EXPECT_EQ(GradientRow(y), copy.Canvas().Pixel(1, y));

    copy.Canvas().SetPixel(0, 0, clBlack);
    EXPECT_EQ(GradientRow(0), original.Canvas().Pixel(0, 0));

    TPicture picture, other;
    picture.Bitmap().Assign(&original);
    int changes = 0;
    other.OnChange = [&changes](TObject*) { ++changes; };
    other.Assign(&picture);
    EXPECT_EQ(1, changes);
    EXPECT_EQ(18, other.Height());
    EXPECT_NE(picture.Bitmap().Handle(), other.Bitmap().Handle());

    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    TBitmap empty;
    original.Assign(&empty);
    EXPECT_TRUE(original.Empty());
    other.Assign(nullptr);
    EXPECT_EQ(0, other.Width());
}

TEST(GraphicsBitmap, ResourcesLoadWithTheirOwnDepth)
{
    HINSTANCE self = GetModuleHandleA(nullptr);
    TBitmap button;
    button.LoadFromResourceName(self, "BUTTON_BACKGROUND");
    EXPECT_EQ(2, button.Width());
    EXPECT_EQ(18, button.Height());
    EXPECT_EQ(pf8bit, button.PixelFormat());
    EXPECT_EQ(RGBColor(0xFE, 0xFE, 0xFE), button.Canvas().Pixel(0, 0));
    EXPECT_EQ(RGBColor(0xE1, 0xE1, 0xE1), button.Canvas().Pixel(1, 9));
    EXPECT_EQ(RGBColor(0xF4, 0xF4, 0xF4), button.Canvas().Pixel(1, 17));

    TBitmap strip;
    strip.LoadFromResourceName(self, "PAGECONTROLBACKGROUND");
    EXPECT_EQ(pf24bit, strip.PixelFormat());
    EXPECT_EQ(RGBColor(0xE7, 0xEE, 0xF8), strip.Canvas().Pixel(0, 20));

    TBitmap bar;
    bar.LoadFromResourceName(self, "FORMTITILEBITMAP");
    EXPECT_EQ(pf8bit, bar.PixelFormat());
    EXPECT_EQ(9, bar.Width());
    EXPECT_EQ(24, bar.Height());
    EXPECT_EQ(RGBColor(0x1E, 0x55, 0x95), bar.Canvas().Pixel(4, 0));
    EXPECT_EQ(RGBColor(0x3D, 0x7B, 0xD0), bar.Canvas().Pixel(4, 23));

    TBitmap copy;
    copy.Assign(&bar);  // the palette goes with the pixels
    EXPECT_EQ(pf8bit, copy.PixelFormat());
    EXPECT_EQ(RGBColor(0xAF, 0xC3, 0xDB), copy.Canvas().Pixel(0, 1));
    bar.SetWidth(20);
    EXPECT_EQ(pf8bit, bar.PixelFormat());
    EXPECT_EQ(RGBColor(0x3D, 0x7B, 0xD0), bar.Canvas().Pixel(8, 23));

    TBitmap glyph;
    glyph.LoadFromResourceID(self, 8001);
    EXPECT_EQ(11, glyph.Width());
    EXPECT_EQ(10, glyph.Height());

    try {
        glyph.LoadFromResourceName(self, "NO_SUCH_BITMAP");
        FAIL() << "no error for a missing resource";
    } catch (const EResourceError& e) {
        EXPECT_NE(std::string::npos, e.Message().find("NO_SUCH_BITMAP"));
    }
    EXPECT_THROW(glyph.LoadFromResourceID(self, 7777), EResourceError);
    EXPECT_EQ(11, glyph.Width());  // a failed load keeps the picture
}

// Whole source rows, each at least once, in order. Which rows Wine's StretchBlt doubles is recorded below: about
// floor((r + 1/2) * 18 / 23) for destination row r, rounding down at the exact half (row 11 shows 8, not 9).
TEST(GraphicsBitmap, StretchDrawOfTheButtonGradientGivesWholeRows)
{
    TBitmap gradient;
    MakeGradient(gradient);
    TBitmap button;
    button.SetSize(66, 23);
    TCanvas& canvas = button.Canvas();
    canvas.Lock();
    canvas.StretchDraw(RECT{0, 0, 66, 23}, gradient);
    canvas.Unlock();

    std::vector<int> sourceRow;
    std::set<int> seen;
    for (int y = 0; y < 23; ++y) {
        TColor c = canvas.Pixel(0, y);
        int row = -1;
        for (int s = 0; s < 18; ++s)
            if (GradientRow(s) == c) row = s;
        ASSERT_NE(-1, row) << "row " << y << " is not a source colour";
        for (int x = 1; x < 66; ++x) ASSERT_EQ(c, canvas.Pixel(x, y)) << x << "," << y;
        EXPECT_TRUE(sourceRow.empty() || row >= sourceRow.back());
        sourceRow.push_back(row);
        seen.insert(row);
    }
    EXPECT_EQ(0, sourceRow.front());
    EXPECT_EQ(17, sourceRow.back());
    EXPECT_EQ(18u, seen.size());
    const std::vector<int> wine = {0, 1, 1, 2, 3, 4, 5, 5, 6, 7, 8, 8, 9, 10, 11, 12, 12, 13, 14, 15, 16, 16, 17};
    EXPECT_EQ(wine, sourceRow);

    // Draw is unscaled and opaque, onto a foreign DC as well.
    MemoryDC surface(10, 30);
    TCanvas screen;
    screen.SetHandle(surface.dc());
    Fill(screen, RECT{0, 0, 10, 30}, clWhite);
    screen.Draw(3, 4, gradient);
    EXPECT_EQ(GradientRow(0), screen.Pixel(3, 4));
    EXPECT_EQ(GradientRow(17), screen.Pixel(4, 21));
    EXPECT_EQ(clWhite, screen.Pixel(5, 4));
    EXPECT_EQ(clWhite, screen.Pixel(3, 22));
    RECT target{0, 0, 4, 9};
    gradient.DrawTo(surface.dc(), target);  // half height: every other row
    EXPECT_EQ(GradientRow(2), screen.Pixel(0, 1));
    screen.SetHandle(nullptr);
}

TEST(GraphicsResources, NoGdiObjectsLeakOverManyCycles)
{
    MemoryDC surface(40, 40);
    auto cycle = [&surface]() {
        TBitmap bitmap;
        MakeGradient(bitmap);
        bitmap.Canvas().Font().SetStyle(fsBold);
        bitmap.Canvas().TextOut(0, 0, "卸");
        bitmap.SetSize(8, 8);
        TBitmap copy;
        copy.Assign(&bitmap);
        copy.SetPixelFormat(pf8bit);
        TCanvas canvas;
        canvas.SetHandle(surface.dc());
        canvas.Pen().SetWidth(2);
        canvas.Rectangle(0, 0, 10, 10);
        canvas.StretchDraw(RECT{0, 0, 40, 40}, copy);
        canvas.Font().SetSize(20);
        canvas.TextWidth("Quintaro");
        TPicture picture;
        picture.Bitmap().Assign(&copy);
    };
    cycle();
    long before = GdiObjectsInUse();
    for (int i = 0; i < 1000; ++i) cycle();
    EXPECT_EQ(before, GdiObjectsInUse());
}
