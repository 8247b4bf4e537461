// The rich edit on real windows: lines as the control wraps them, styles as the window carries them.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ComCtrls.h"
#include "CoreSupport.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "LayoutReader.h"
#include "StdCtrls.h"
#include "StockSupport.h"
#include "WindowSupport.h"

namespace {

using stocktest::Pump;

std::string NumberedLines(int Count)
{
    std::string text;
    for (int i = 1; i <= Count; ++i) text += (i > 1 ? "\r\n" : "") + std::string("第") + std::to_string(i) + "行";
    return text;
}

std::string Repeat(const std::string& Piece, int Count)
{
    std::string s;
    for (int i = 0; i < Count; ++i) s += Piece;
    return s;
}

// A window's text as a picture: one string a row, '.' where the background is and '#' elsewhere, cut to the rows
// and columns the text touches.
std::vector<std::string> Ink(const testsupport::TClientPixels& Pixels, COLORREF Background)
{
    int left = Pixels.Width(), right = -1, top = Pixels.Height(), bottom = -1;
    for (int y = 0; y < Pixels.Height(); ++y)
        for (int x = 0; x < Pixels.Width(); ++x) {
            if (Pixels.At(x, y) == Background) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    std::vector<std::string> rows;
    for (int y = top; y <= bottom; ++y) {
        rows.emplace_back();
        for (int x = left; x <= right; ++x) rows.back() += Pixels.At(x, y) == Background ? '.' : '#';
    }
    return rows;
}

// The pixels of neither colour: the shades of smoothed text.
int Smoothed(const testsupport::TClientPixels& Pixels, COLORREF Text, COLORREF Background)
{
    return Pixels.Width() * Pixels.Height() - Pixels.Count(Text) - Pixels.Count(Background);
}

// The message box's message: a borderless, disabled, read-only, wrapping rich edit without scroll bars.
class RichEditTest : public stocktest::StockFixture {
protected:
    void SetUp() override
    {
        StockFixture::SetUp();
        Panel = new TPanel(Form.get());
        Panel->SetParent(Form.get());
        Panel->SetBounds(0, 0, 300, 120);
        Panel->SetBevelOuter(bvNone);
        Edit = new TRichEdit(Form.get());
        Edit->SetParent(Panel);
        Edit->SetAlign(alClient);
        Edit->SetBorderStyleSingle(false);
        Edit->SetEnabled(false);
        Edit->SetReadOnly(true);
        Edit->SetScrollBars(ssNone);
        Edit->SetParentFont(false);
        Edit->Font().SetName("宋体");
        Edit->Font().SetHeight(-12);
    }
    LONG_PTR Style() { return GetWindowLongPtrA(Edit->Handle(), GWL_STYLE); }

    TPanel* Panel = nullptr;
    TRichEdit* Edit = nullptr;
};

TEST_F(RichEditTest, CountsTheTextsLinesAndIgnoresAFinalLineBreak)
{
    // Text given before the window exists is there once it does.
    Edit->SetText(NumberedLines(2));
    ShowForm();
    char text[64] = {};
    GetWindowTextA(Edit->Handle(), text, sizeof text);
    EXPECT_EQ(std::string(text), NumberedLines(2));
    EXPECT_EQ(Edit->DisplayLineCount(), 2);

    for (int count : {1, 20, 21}) {
        Edit->SetText(NumberedLines(count));
        EXPECT_EQ(Edit->DisplayLineCount(), count) << count;
        Edit->SetText(NumberedLines(count) + "\r\n");
        EXPECT_EQ(Edit->DisplayLineCount(), count) << count << " with a final line break";
    }
    Edit->SetText("");
    EXPECT_EQ(Edit->DisplayLineCount(), 0);
    EXPECT_TRUE(Edit->DisplayLines().empty());
}

TEST_F(RichEditTest, AnOverWideLineCountsAsItsWrappedPieces)
{
    ShowForm();
    const std::string wide = Repeat("卸载完成", 20);  // 80 characters, about 960 pixels
    Edit->SetText("短行\r\n" + wide);
    const std::vector<std::string> lines = Edit->DisplayLines();
    ASSERT_EQ(static_cast<int>(lines.size()), Edit->DisplayLineCount());
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], "短行");
    std::string joined;
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_LE(testsupport::TextExtent(Edit->Font(), lines[i]).cx, Edit->ClientWidth()) << i;
        joined += lines[i];
    }
    EXPECT_EQ(joined, wide);

    // A larger font breaks the same text into more pieces.
    const size_t pieces = lines.size();
    Edit->Font().SetHeight(-24);
    EXPECT_GT(static_cast<size_t>(Edit->DisplayLineCount()), pieces);
}

TEST_F(RichEditTest, LinesMirrorTheText)
{
    ShowForm();
    Edit->SetText("one\r\ntwo");
    ASSERT_EQ(Edit->Lines().Count(), 2);
    EXPECT_EQ(Edit->Lines().Strings(1), "two");
    Edit->Lines().Add("three");
    EXPECT_EQ(Edit->Text(), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(Edit->DisplayLineCount(), 3);
    char text[64] = {};
    GetWindowTextA(Edit->Handle(), text, sizeof text);
    EXPECT_EQ(std::string(text), "one\r\ntwo\r\nthree\r\n");
}

TEST_F(RichEditTest, TheWindowFollowsEveryEditOfAKeptLineList)
{
    TStringList& lines = Edit->Lines();
    lines.Add("前");
    ShowForm();
    lines.SetStrings(0, "后");
    char text[64] = {};
    GetWindowTextA(Edit->Handle(), text, sizeof text);
    EXPECT_EQ(std::string(text), "后\r\n") << "at once, without another call on the control";
    Edit->RecreateWnd();
    EXPECT_EQ(Edit->Text(), "后\r\n") << "and the text moves to a new window";
}

TEST_F(RichEditTest, StylesFollowThePropertiesAndAScrollBarCanBeAddedLater)
{
    ShowForm();
    EXPECT_FALSE(IsWindowEnabled(Edit->Handle()));
    EXPECT_NE(Style() & ES_READONLY, 0);
    EXPECT_NE(Style() & ES_MULTILINE, 0);
    EXPECT_EQ(Style() & (WS_BORDER | WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL), 0);

    Edit->SetText(NumberedLines(21));
    Edit->SetScrollBars(ssVertical);
    Edit->SetEnabled(true);
    Pump();
    EXPECT_NE(Style() & WS_VSCROLL, 0);
    EXPECT_EQ(Style() & WS_HSCROLL, 0);
    EXPECT_TRUE(IsWindowEnabled(Edit->Handle()));
    EXPECT_TRUE(IsWindowVisible(Edit->Handle()));
    EXPECT_EQ(Edit->DisplayLineCount(), 21);
    EXPECT_EQ(Edit->Text(), NumberedLines(21));

    Edit->SetScrollBars(ssNone);
    Pump();
    EXPECT_EQ(Style() & WS_VSCROLL, 0);
    EXPECT_EQ(Edit->DisplayLineCount(), 21);

    Edit->SetBorderStyleSingle(true);
    EXPECT_NE(Style() & WS_BORDER, 0);
    RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(testsupport::WindowPixel(Edit->Handle(), 0, 0), GetSysColor(COLOR_WINDOWFRAME)) << "a child with a border has it drawn";
    Edit->SetReadOnly(false);
    EXPECT_EQ(Style() & ES_READONLY, 0);
}

// A rich edit shows its text in the face of the labels beside it: its default format is the control's font, and the
// system draws that format's default-quality font as it draws the labels' unsmoothed one, pixel for pixel.
TEST_F(RichEditTest, ShowsItsTextInTheFaceOfALabel)
{
    const std::string text = "您确认要卸载吗？";  // one run: the rich edit places runs of Latin letters itself
    Edit->SetEnabled(true);
    Edit->SetColor(clWhite);
    Edit->SetText(text);
    auto* host = new TPanel(Form.get());  // the label's own window, so that its pixels can be read alone
    host->SetParent(Form.get());
    host->SetBounds(0, 130, 300, 30);
    host->SetBevelOuter(bvNone);
    host->SetColor(clWhite);
    auto* label = new TLabel(Form.get());
    label->SetParent(host);
    label->SetLeft(5);
    label->SetCaption(text);
    label->Font().Assign(Edit->Font());
    ShowForm();

    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendMessageA(Edit->Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    EXPECT_STREQ(format.szFaceName, "宋体");
    EXPECT_EQ(format.yHeight, 12 * 1440 / 96) << "twips";
    EXPECT_EQ(format.bCharSet, Edit->Font().Charset());

    HideCaret(Edit->Handle());  // the focused edit's caret is not text
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    const testsupport::TClientPixels inEdit(Edit->Handle()), inLabel(host->Handle());
    EXPECT_EQ(Smoothed(inLabel, black, white), 0);
    EXPECT_EQ(Smoothed(inEdit, black, white), 0) << "the rich edit's text is smoothed, the labels' is not";
    EXPECT_FALSE(Ink(inLabel, white).empty());
    EXPECT_EQ(Ink(inEdit, white), Ink(inLabel, white));
}

}  // namespace

// A stored layout's bar, kept in its range, painted as far as its position, and read by other programs as the
// system's bar is.
TEST_F(RichEditTest, AProgressBarFillsAsFarAsItsPositionWithinItsRange)
{
    TLayoutBindings bindings;
    TProgressBar* bar = nullptr;
    bindings.PublishField("Bar", bar);
    ReadLayoutText(*Panel, bindings,
                   "object Panel: TPanel\n"
                   "  object Bar: TProgressBar\n    Left = 10\n    Top = 10\n    Width = 104\n    Height = 12\n"
                   "    Max = 200\n    Position = 50\n  end\nend\n",
                   "test layout");
    ASSERT_NE(nullptr, bar);
    bar->SetColor(clWhite);
    bar->SetFrameColor(RGBColor(206, 206, 206));
    bar->SetBarColor(RGBColor(49, 106, 197));
    Form->Show();
    Pump();
    EXPECT_EQ(50, SendMessageA(bar->Handle(), PBM_GETPOS, 0, 0));
    EXPECT_EQ(200, SendMessageA(bar->Handle(), PBM_GETRANGE, FALSE, 0));
    const auto filled = [bar] {
        Pump();
        const testsupport::TClientPixels pixels(bar->Handle());
        return pixels.Count(RGB(49, 106, 197)) / (pixels.Height() - 4);
    };
    EXPECT_EQ(25, filled()) << "a quarter of the 100 pixels inside the frame";
    EXPECT_EQ(RGB(206, 206, 206), testsupport::TClientPixels(bar->Handle()).At(0, 0));
    bar->SetPosition(500);
    EXPECT_EQ(200, bar->Position()) << "kept within the range";
    EXPECT_EQ(100, filled());
    bar->SetMax(0);
    EXPECT_EQ(0, bar->Position());
    EXPECT_EQ(0, filled());
}
