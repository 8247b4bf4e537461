// The tab set style on a real tab set: the order tabs are drawn in, the selected tab's outline and caption, the
// gradient and what the unused colours do, all read back from the window.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "CVTabSetStyle.h"
#include "Forms.h"
#include "Tabs.h"
#include "WindowSupport.h"

namespace {

using testsupport::Pump;
using testsupport::TClientPixels;

constexpr COLORREF BorderRGB = RGB(81, 111, 171);
constexpr COLORREF InactiveBorderRGB = RGB(144, 144, 144);
constexpr int TabHeight = 20;
constexpr int BottomRow = TabHeight;  // the row of the tabs' bottom outline

// Remembers each tab it draws, and how.
class TRecordingStyle : public TTabSetStyle {
public:
    using TTabSetStyle::TTabSetStyle;
    std::vector<std::pair<int, TTabDrawKind>> Drawn;
    void DrawTab(TCanvas& Canvas, int Index, const RECT& Rect, TTabDrawKind Kind) override
    {
        Drawn.emplace_back(Index, Kind);
        TTabSetStyle::DrawTab(Canvas, Index, Rect, Kind);
    }
};

class TabSetStyle : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!Application) Application = new TApplication(nullptr);
        Form = TCustomForm::Create<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(200, 150, 320, 60);
        Form->Show();
    }
    static void TearDownTestSuite()
    {
        delete Form;
        Form = nullptr;
    }
    void TearDown() override
    {
        delete Tabs;
        Tabs = nullptr;
        delete Style;
        Style = nullptr;
        Pump();
    }

    void Make(int Width, const std::vector<std::string>& Captions, int Selected)
    {
        Tabs = new TTabSet(Form);
        Tabs->SetParent(Form);
        Tabs->SetBounds(0, 0, Width, TabHeight + 4);
        Tabs->SetTabHeight(TabHeight);
        for (const std::string& caption : Captions) Tabs->Tabs().Add(caption);
        Tabs->SetTabIndex(Selected);
        Style = new TRecordingStyle(nullptr, Tabs);
        Shown();
    }
    TClientPixels Shown()
    {
        Style->Drawn.clear();
        RedrawWindow(Tabs->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump();
        return TClientPixels(Tabs->Handle());
    }
    // Whether a slant from (TopX, 0) to (BottomX, BottomRow) shows in colour C in each of its middle rows.
    static bool SlantShows(const TClientPixels& P, int TopX, int BottomX, COLORREF C)
    {
        for (int y = 3; y < BottomRow - 3; ++y) {
            const int x = TopX + (BottomX - TopX) * y / BottomRow;
            if (P.At(x - 1, y) != C && P.At(x, y) != C && P.At(x + 1, y) != C) return false;
        }
        return true;
    }
    // A tab's caption pixels: those differing from the fill in the same row at column RefX, where no caption and no
    // neighbour lies.
    struct TInk {
        int Count = 0, LongestRun = 0;
        bool Red = false, Blue = false, Grey = false;
    };
    static TInk InkOf(const TClientPixels& P, const RECT& Item, int RefX)
    {
        TInk ink;
        for (int y = 3; y < BottomRow - 1; ++y)
            for (int x = Item.left + 3, run = 0; x < Item.right; ++x) {
                const COLORREF c = P.At(x, y);
                run = c != P.At(RefX, y) ? run + 1 : 0;
                ink.Count += run > 0;
                ink.LongestRun = std::max(ink.LongestRun, run);
                ink.Red |= GetRValue(c) > 200 && GetGValue(c) < 80 && GetBValue(c) < 80;
                ink.Blue |= GetBValue(c) > GetRValue(c) + 60 && GetBValue(c) > GetGValue(c) + 60;
                ink.Grey |= c == RGB(127, 127, 127);
            }
        return ink;
    }

    static TForm* Form;
    TTabSet* Tabs = nullptr;
    TRecordingStyle* Style = nullptr;
};

TForm* TabSetStyle::Form = nullptr;

TEST_F(TabSetStyle, TabsGoRightToLeftAndTheSelectedOneLastOverBothNeighbours)
{
    Make(300, {"AAAA", "BBBB", "CCCC", "DDDD"}, 1);
    const TClientPixels p = Shown();
    EXPECT_EQ(Style->Drawn, (std::vector<std::pair<int, TTabDrawKind>>{
                                {3, tdkUnselected}, {2, tdkUnselected}, {0, tdkUnselected}, {1, tdkSelected}}));
    const RECT selected = Tabs->ItemRect(1);
    const int right = selected.right + 2;  // widened by half of its four bytes
    EXPECT_TRUE(SlantShows(p, selected.left - 7, selected.left, BorderRGB)) << "over the left neighbour";
    EXPECT_TRUE(SlantShows(p, right + 7, right, BorderRGB)) << "over the right neighbour";
    const RECT third = Tabs->ItemRect(2);
    EXPECT_TRUE(SlantShows(p, third.right + 7, third.right, InactiveBorderRGB)) << "over the fourth tab";
    // The top line is open over the selected tab only.
    EXPECT_EQ(p.At(right + 8, 0), BorderRGB);
    EXPECT_EQ(p.At(selected.left - 8, 0), BorderRGB);
    EXPECT_NE(p.At((selected.left + right) / 2, 0), BorderRGB);
}

TEST_F(TabSetStyle, WithoutAVisibleSelectionEveryTabIsUnselectedAndScrollingRedraws)
{
    Make(150, {"T0", "T1", "T2", "T3", "T4", "T5", "T6", "T7"}, 0);
    ASSERT_TRUE(Tabs->Scrolling());
    const TClientPixels first = Shown();
    EXPECT_EQ(Style->Drawn.back(), std::make_pair(0, tdkSelected));

    Tabs->SetFirstIndex(2);
    const TClientPixels scrolled = Shown();
    EXPECT_FALSE(scrolled == first);
    ASSERT_EQ(static_cast<int>(Style->Drawn.size()), Tabs->VisibleTabs());
    for (size_t i = 0; i < Style->Drawn.size(); ++i)
        EXPECT_EQ(Style->Drawn[i], std::make_pair(static_cast<int>(Style->Drawn.size() - i + 1), tdkUnselected));
    EXPECT_EQ(scrolled.Count(BorderRGB), 0) << "no top line and no selected outline";

    Tabs->SetFirstIndex(0);
    Tabs->SetTabIndex(-1);
    EXPECT_EQ(Shown().Count(BorderRGB), 0) << "nothing selected";
    for (const auto& drawn : Style->Drawn) EXPECT_EQ(drawn.second, tdkUnselected);
}

TEST_F(TabSetStyle, SelectedCaptionWidensItsTabAndIsBoldRedWhateverTheFont)
{
    Make(300, {"iiiiiiii", "iiiiiiii"}, 0);
    Tabs->Font().SetColor(RGBColor(0, 0, 255));
    Tabs->Font().SetStyle(fsUnderline | fsItalic);
    TClientPixels p = Shown();
    // The bottom outlines end at the tabs' right edges.
    EXPECT_EQ(p.At(Tabs->ItemRect(0).right + 4, BottomRow), BorderRGB) << "half of the 8-byte caption";
    EXPECT_NE(p.At(Tabs->ItemRect(0).right + 5, BottomRow), BorderRGB);
    EXPECT_EQ(p.At(Tabs->ItemRect(1).right, BottomRow), InactiveBorderRGB);
    EXPECT_NE(p.At(Tabs->ItemRect(1).right + 1, BottomRow), InactiveBorderRGB);

    const int textWidth = testsupport::TextExtent(Tabs->Font(), "iiiiiiii").cx;
    const TInk selected = InkOf(p, Tabs->ItemRect(0), Tabs->ItemRect(0).left + 1);
    const TInk unselected = InkOf(p, Tabs->ItemRect(1), Tabs->ItemRect(1).right - 1);
    EXPECT_TRUE(selected.Red && !selected.Blue) << "red, never the font's own colour";
    EXPECT_TRUE(unselected.Grey && !unselected.Blue);
    EXPECT_LT(selected.LongestRun, textWidth * 9 / 10) << "bold only: no underline";
    EXPECT_GE(unselected.LongestRun, textWidth * 9 / 10) << "unselected keeps the underline";

    Tabs->Font().SetStyle(0);
    p = Shown();
    EXPECT_GT(InkOf(p, Tabs->ItemRect(0), Tabs->ItemRect(0).left + 1).Count,
              InkOf(p, Tabs->ItemRect(1), Tabs->ItemRect(1).right - 1).Count) << "bold";
}

TEST_F(TabSetStyle, GradientRoundsHalfToEvenUnusedColoursPaintNothingAndBlackStaysBlack)
{
    Make(300, {"AAAA", "BBBB"}, 1);
    const TClientPixels before = Shown();
    const int x = Tabs->ItemRect(0).left + 1;
    EXPECT_EQ(before.At(x, 1), RGB(255, 255, 255)) << "the top rows lightened most";
    // Row 15 of 20: k = 130 * 5 / 20 = 32.5, taken to 32; 220 + 220 * 32 / 660 = 230.
    EXPECT_EQ(before.At(x, 15), RGB(230, 230, 230));
    EXPECT_EQ(before.At(x, 19), RGB(222, 222, 222));

    Style->SetBackColor(RGBColor(1, 2, 3));
    Style->SetActiveFontColor(RGBColor(4, 5, 6));
    Style->SetFontColor(RGBColor(7, 8, 9));
    Style->SetDividerColor(RGBColor(10, 11, 12));
    EXPECT_TRUE(Shown() == before);

    Style->SetInactiveColor(clBlack);
    const TClientPixels black = Shown();
    EXPECT_EQ(black.At(x, 1), RGB(0, 0, 0));
    EXPECT_EQ(black.At(x, 15), RGB(0, 0, 0));
    TBitmap flat;
    flat.SetSize(4, 8);
    Style->GradientFill(flat.Canvas(), RECT{0, 5, 4, 5}, RGBColor(220, 220, 220), tdkUnselected, 1);
    EXPECT_EQ(flat.Canvas().Pixel(1, 5), RGBColor(220, 220, 220)) << "no height to grade over: flat, no division";
}

}  // namespace
