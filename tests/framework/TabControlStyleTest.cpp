// The tab control style: pixels of off-screen paints and of real windows against the look's rules.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "CVHouseColors.h"
#include "CVTabControlStyle.h"
#include "RootFormSupport.h"

using namespace rootformtest;

namespace {

constexpr COLORREF ActiveRGB = RGB(219, 232, 249), InactiveRGB = RGB(223, 223, 223);
constexpr COLORREF BorderRGB = RGB(81, 111, 171), InactiveBorderRGB = RGB(144, 144, 144);
constexpr COLORREF StripRGB = RGB(231, 238, 248), GreyCaptionRGB = RGB(128, 128, 128);
constexpr COLORREF BackRGB = RGB(228, 237, 244), CaptionRGB = RGB(110, 110, 110);

// The look's lightening rule, as the pixels read back are typed.
COLORREF LightenedRGB(COLORREF Base, int K) { return static_cast<COLORREF>(Lightened(static_cast<TColor>(Base), K)); }

class TabStyleTest : public RootFormFixture {
protected:
    void SetUp() override
    {
        RootFormFixture::SetUp();
        Form.reset(TCustomForm::Create<TForm>(nullptr));
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(20, 20, 340, 220);
    }
    void TearDown() override
    {
        Application->CancelHint();
        Form.reset();
        RootFormFixture::TearDown();
    }
    TTabControl* NewTabs(int Count, TTabPosition Position = tpTop, TTabStyle Style = tsTabs)
    {
        auto* tabs = new TTabControl(Form.get());
        tabs->SetParent(Form.get());
        tabs->SetBounds(10, 10, 300, 120);
        tabs->SetTabPosition(Position);
        tabs->SetStyle(Style);
        for (int i = 0; i < Count; ++i) tabs->Tabs().Add("第" + std::to_string(i + 1) + "页");
        return tabs;
    }
    void ShowForm()
    {
        Form->Show();
        Pump();
    }
    // The whole control as the style composes it.
    std::unique_ptr<TBitmap> Composed(TTabControlStyle& Style, TWinControl& Control)
    {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->SetSize(Control.Width(), Control.Height());
        const bool buttons = dynamic_cast<TCustomTabControl&>(Control).Style() == tsFlatButtons;
        EXPECT_TRUE(buttons ? Style.PaintButtons(bitmap->Canvas()) : Style.PaintTabs(bitmap->Canvas()));
        return bitmap;
    }
    static COLORREF At(TBitmap& Bitmap, int X, int Y) { return static_cast<COLORREF>(Bitmap.Canvas().Pixel(X, Y)); }
    static int Count(TBitmap& Bitmap, const RECT& R, COLORREF Colour)
    {
        int n = 0;
        for (int y = R.top; y < R.bottom; ++y)
            for (int x = R.left; x < R.right; ++x) n += At(Bitmap, x, y) == Colour;
        return n;
    }
    static int Count(const testsupport::TClientPixels& Shown, const RECT& R, COLORREF Colour)
    {
        int n = 0;
        for (int y = std::max(0L, R.top); y < std::min<LONG>(Shown.Height(), R.bottom); ++y)
            for (int x = std::max(0L, R.left); x < std::min<LONG>(Shown.Width(), R.right); ++x)
                n += Shown.At(x, y) == Colour;
        return n;
    }

    std::unique_ptr<TForm> Form;
};

TEST_F(TabStyleTest, GradientRowsFollowTheirFactorsRoundedHalfToEven)
{
    TTabControl* tabs = NewTabs(2);
    ShowForm();
    auto* style = new TTabControlStyle(Form.get(), tabs);
    TBitmap bitmap;
    bitmap.SetSize(12, 10);
    auto rows = [&](TColor Base, TTabDrawKind Kind, const std::vector<int>& Factors, COLORREF BaseRGB) {
        style->GradientFill(bitmap.Canvas(), RECT{0, 0, 10, 8}, Base, Kind, 1);
        for (int y = 0; y <= 8; ++y) EXPECT_EQ(LightenedRGB(BaseRGB, Factors[y]), At(bitmap, 5, y)) << "row " << y;
    };
    // Selected, top: 130 over the upper half, 50 over the lower one; 97.5 -> 98, 32.5 -> 32, 12.5 -> 12, 37.5 -> 38.
    rows(16378075, tdkSelected, {130, 98, 65, 32, 0, 12, 25, 38, 50}, ActiveRGB);
    // Unselected, top: the grey goes white at the top edge; 113.75 -> 114, 97.5 -> 98, 48.75 -> 49, 32.5 -> 32.
    rows(14671839, tdkUnselected, {130, 114, 98, 81, 65, 49, 32, 16, 0}, InactiveRGB);
    EXPECT_EQ(RGB(255, 255, 255), At(bitmap, 5, 0));
    // Bottom, either kind: brightest at the bottom edge.
    tabs->SetTabPosition(tpBottom);
    rows(16378075, tdkSelected, {0, 16, 32, 49, 65, 81, 98, 114, 130}, ActiveRGB);
}

TEST_F(TabStyleTest, TabsAreSlantedTrapezoidsAndTheSelectedOneGoesOverItsNeighbour)
{
    TTabControl* tabs = NewTabs(3);
    tabs->SetTabIndex(1);
    ShowForm();
    auto* style = new TTabControlStyle(Form.get(), tabs);
    const RECT first = tabs->TabRect(0), second = tabs->TabRect(1);
    const int half = (first.bottom - first.top) / 2;
    ASSERT_GE(half, 5);

    TBitmap lone;
    lone.SetSize(tabs->Width(), tabs->Height());
    lone.Canvas().Brush().SetColor(clWhite);
    lone.Canvas().FillRect(RECT{0, 0, tabs->Width(), tabs->Height()});
    style->DrawTab(lone.Canvas(), 0, first, tdkUnselected);
    const int top = first.top, middle = (first.top + first.bottom) / 2, bottom = first.bottom - 1;
    const COLORREF white = RGB(255, 255, 255);
    EXPECT_EQ(InactiveBorderRGB, At(lone, first.right - half - 1, top)) << "narrow at the top";
    EXPECT_EQ(white, At(lone, first.right - half + 2, top));
    EXPECT_NE(white, At(lone, first.right - 3, middle));
    EXPECT_EQ(white, At(lone, first.right + 3, middle));
    EXPECT_NE(white, At(lone, first.right + half - 3, bottom)) << "wide at the bottom";
    EXPECT_EQ(white, At(lone, first.right + half + 1, bottom));
    EXPECT_EQ(InactiveBorderRGB, At(lone, first.left, middle));
    EXPECT_EQ(white, At(lone, first.left + 2, first.bottom)) << "no outline towards the page";
    EXPECT_GT(Count(lone, first, RGB(110, 110, 110)), 0)
        << "the unselected caption in the grey darkened by its shares of 340";

    auto whole = Composed(*style, *tabs);
    const int y = first.bottom - 2, x = first.right + half - 3;
    EXPECT_EQ(At(*whole, second.left + 1, y), At(*whole, x, y)) << "the selected tab covers the slant of tab 0";
    EXPECT_NE(At(*whole, first.left + 1, y), At(*whole, x, y));
    EXPECT_EQ(BorderRGB, At(*whole, second.left, second.top + 2));
    EXPECT_EQ(StripRGB, At(*whole, tabs->Width() - 3, 1)) << "the strip beside the tabs";
    EXPECT_EQ(ActiveRGB, At(*whole, tabs->Width() / 2, tabs->Height() - 5)) << "the page area";

    // The window shows the composition.
    RedrawWindow(tabs->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    for (POINT p : {POINT{x, y}, POINT{second.left, second.top + 2}, POINT{tabs->Width() - 3, 1}})
        EXPECT_EQ(At(*whole, p.x, p.y), ClientPixel(tabs->Handle(), p.x, p.y)) << p.x << "," << p.y;
}

TEST_F(TabStyleTest, ASingleTabIsTheFullWidthWhenUnselectedAndNotDrawnWhenSelected)
{
    TTabControl* tabs = NewTabs(1);
    ShowForm();
    auto* style = new TTabControlStyle(Form.get(), tabs);
    const int right = tabs->Width() - 3;
    ASSERT_LT(tabs->TabRect(0).right, right);
    EXPECT_EQ(StripRGB, At(*Composed(*style, *tabs), right, 0));
    tabs->SetTabIndex(-1);
    auto unselected = Composed(*style, *tabs);
    EXPECT_EQ(LightenedRGB(InactiveRGB, 130), At(*unselected, right, 0));
    EXPECT_EQ(ActiveRGB, At(*unselected, right, 2));
}

TEST_F(TabStyleTest, ThePageAreaGrowsAndSideTabsKeepTheStockPainting)
{
    auto* pages = new TPageControl(Form.get());
    pages->SetParent(Form.get());
    pages->SetBounds(10, 10, 300, 150);
    for (const char* caption : {"常规", "高级"}) {
        auto* sheet = new TTabSheet(Form.get());
        sheet->SetParent(pages);
        sheet->SetCaption(caption);
    }
    TTabControl* side = NewTabs(2, tpLeft);
    side->SetTop(165);
    side->SetHeight(50);
    int erased = 0;
    TWndMethod stock = side->WindowProc;
    side->WindowProc = [&erased, stock](TMessage& Message) {
        erased += Message.Msg == WM_ERASEBKGND;
        stock(Message);
    };
    ShowForm();
    RECT expected = pages->DisplayRect();
    RECT sideExpected = side->DisplayRect();
    new TTabControlStyle(Form.get(), pages);
    auto* sideStyle = new TTabControlStyle(Form.get(), side);
    for (RECT* r : {&expected, &sideExpected}) {
        r->left -= 2;
        r->top -= 3;
        r->right += 2;
        r->bottom += 2;
    }
    EXPECT_EQ(Bounds(expected), Bounds(pages->DisplayRect()));
    EXPECT_EQ(Bounds(expected), Bounds(pages->ActivePage()->BoundsRect())) << "the page takes the larger area";
    EXPECT_EQ(Bounds(sideExpected), Bounds(side->DisplayRect()));

    TBitmap bitmap;
    bitmap.SetSize(side->Width(), side->Height());
    EXPECT_FALSE(sideStyle->PaintTabs(bitmap.Canvas()));
    EXPECT_FALSE(sideStyle->PaintButtons(bitmap.Canvas()));
    erased = 0;
    RedrawWindow(side->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_GT(erased, 0) << "side tabs are erased as the stock control does";
}

TEST_F(TabStyleTest, FlatButtonsBoldUnderThePointerGreyUntilVisitedAndHintPerTab)
{
    TTabControl* tabs = NewTabs(3, tpTop, tsFlatButtons);
    tabs->SetTag(1);
    tabs->SetShowHint(true);
    const std::string hint = "\"甲 提示\"|乙";
    tabs->SetHint(hint);
    ShowForm();
    auto* style = new TTabControlStyle(Form.get(), tabs);
    EXPECT_EQ(2, style->Hints().Count());
    EXPECT_EQ("甲 提示", style->Hints().Strings(0)) << "quotes keep the blank";

    auto ink = [&](TBitmap& Bitmap, int Index, COLORREF Colour) {
        RECT r = tabs->TabRect(Index);
        r.top = 1;
        r.bottom = tabs->Height() - 1;
        return Count(Bitmap, r, Colour);
    };
    auto plain = Composed(*style, *tabs);
    EXPECT_GT(ink(*plain, 2, GreyCaptionRGB), 0) << "never selected";
    EXPECT_EQ(ink(*plain, 2, RGB(0, 0, 0)), 0);
    tabs->SetTabIndex(2);
    Composed(*style, *tabs);
    tabs->SetTabIndex(0);
    auto visited = Composed(*style, *tabs);
    EXPECT_EQ(ink(*visited, 2, GreyCaptionRGB), 0);
    EXPECT_GT(ink(*visited, 2, RGB(0, 0, 0)), 0) << "selected once, black from then on";
    EXPECT_GT(ink(*visited, 1, GreyCaptionRGB), 0);
    EXPECT_GT(ink(*visited, 0, RGB(0, 0, 255)), 0) << "the selected caption in blue";

    auto hover = [&](int Index) {
        const RECT r = tabs->TabRect(Index);
        const POINT p = tabs->ClientToScreen(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        SetCursorPos(p.x, p.y);
        return Composed(*style, *tabs);
    };
    hover(2);
    EXPECT_EQ(hint, tabs->Hint()) << "a tab without an entry leaves the hint";
    auto bold = hover(1);
    EXPECT_GT(ink(*bold, 1, GreyCaptionRGB), ink(*visited, 1, GreyCaptionRGB)) << "bold under the pointer";
    EXPECT_EQ("乙", tabs->Hint());
    EXPECT_EQ(10000, Application->HintHidePause());
    EXPECT_TRUE(Application->HintShowing());
}

TEST_F(TabStyleTest, FlatButtonsFollowTheRealPointerWithTheHandAndABoldCaption)
{
    TTabControl* tabs = NewTabs(3, tpTop, tsFlatButtons);
    ShowForm();
    new TTabControlStyle(Form.get(), tabs);
    Pump();
    EXPECT_NE(0, GetWindowLongPtrA(tabs->Handle(), GWL_STYLE) & TCS_HOTTRACK);
    auto ink = [&](int Index) {
        RECT r = tabs->TabRect(Index);
        r.bottom = tabs->Height() - 1;
        return Count(testsupport::TClientPixels(tabs->Handle()), r, RGB(0, 0, 0));
    };
    const int plain1 = ink(1), plain2 = ink(2);
    ASSERT_GT(plain1, 0);
    auto pointAt = [&](int Index) {
        const RECT r = tabs->TabRect(Index);
        const POINT p = tabs->ClientToScreen(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        SetCursorPos(p.x, p.y);
    };
    pointAt(1);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return ink(1) > plain1; })) << "bold under the pointer";
    EXPECT_EQ(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)), GetCursor()) << "the hand over the buttons";
    pointAt(2);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return ink(2) > plain2 && ink(1) == plain1; }))
        << "the bold follows the pointer";
}

TEST_F(TabStyleTest, TheSelectedTabShowsTheFocusMarkWhileTheControlHasTheFocus)
{
    TTabControl* tabs = NewTabs(3);
    tabs->SetTabIndex(1);
    ShowForm();
    new TTabControlStyle(Form.get(), tabs);
    for (TTabStyle look : {tsTabs, tsFlatButtons}) {
        SCOPED_TRACE(look == tsTabs ? "tab look" : "flat-button look");
        tabs->SetStyle(look);
        SetFocus(nullptr);
        Pump();
        const testsupport::TClientPixels unfocused(tabs->Handle());
        SetFocus(tabs->Handle());
        Pump();
        const testsupport::TClientPixels focused(tabs->Handle());
        // What the focus changes is a dotted outline inside the selected tab (a button reaches 10 pixels further).
        RECT mark{focused.Width(), focused.Height(), 0, 0};
        int dots = 0;
        for (int y = 0; y < focused.Height(); ++y)
            for (int x = 0; x < focused.Width(); ++x) {
                if (focused.At(x, y) == unfocused.At(x, y)) continue;
                ++dots;
                const RECT dot{x, y, x + 1, y + 1};
                UnionRect(&mark, &mark, &dot);
            }
        ASSERT_GT(dots, 0) << "no focus mark";
        const RECT selected = tabs->TabRect(1);
        EXPECT_GT(mark.left, selected.left);
        EXPECT_LT(mark.right, selected.right + (look == tsTabs ? 0 : 10));
        EXPECT_GT(mark.bottom - mark.top, 4);
        EXPECT_NEAR(mark.right - mark.left + mark.bottom - mark.top, dots, 4) << "every other pixel of the outline";
        SetFocus(nullptr);
        Pump();
        EXPECT_TRUE(testsupport::TClientPixels(tabs->Handle()) == unfocused) << "the mark goes with the focus";
    }
}

TEST_F(TabStyleTest, AMultiLineTabControlIsAsHighAsItsRowsAndStillCallsItsOwnOnResize)
{
    TTabControl* tabs = NewTabs(9);
    tabs->SetMultiLine(true);
    int resized = 0;
    tabs->OnResize = [&](TObject*) { ++resized; };
    ShowForm();
    new TTabControlStyle(Form.get(), tabs);
    resized = 0;
    tabs->SetWidth(150);
    ASSERT_GT(tabs->RowCount(), 1);
    const RECT first = tabs->TabRect(0);
    EXPECT_EQ((first.bottom - first.top + 3) * tabs->RowCount(), tabs->Height());
    EXPECT_GT(resized, 0);
}

TEST_F(TabStyleTest, BlackBaseColoursPaintTheBaseItself)
{
    TTabControl* tabs = NewTabs(3);
    ShowForm();
    TTabControlStyle* style = CreateTabControlStyle(tabs, TTabControlStyleColors{0, 0, 0, 0, 0, 0, 0, 0});
    const RECT last = tabs->TabRect(2);
    EXPECT_EQ(RGB(0, 0, 0), At(*Composed(*style, *tabs), last.left + 1, last.top + 1));
    tabs->SetStyle(tsFlatButtons);
    Composed(*style, *tabs);
    tabs->Repaint();
}

TEST_F(TabStyleTest, TheLookPassGivesEachTabAndPageControlOneStyleHoweverOftenShown)
{
    RegisterTabControlStyle();
    auto form = MakeForm<TTestRootForm<>>();
    form->SetBounds(100, 100, 240, 260);
    auto* pages = new TPageControl(form.get());
    (new TTabSheet(form.get()))->SetParent(pages);
    TTabControl* tabs = NewTabs(2);
    TTabControl* optOut = NewTabs(0);
    optOut->SetTag(-1);
    int top = 10;
    for (TWinControl* control : std::initializer_list<TWinControl*>{pages, tabs, optOut}) {
        control->SetOwner(form.get());
        control->SetParent(form.get());
        control->SetBounds(10, top, 200, 60);
        top += 70;
    }
    for (int i = 0; i < 3; ++i) {
        form->Show();
        Pump();
        form->Hide();
        Pump();
    }
    std::vector<const TTabControlStyle*> styles;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* style = dynamic_cast<const TTabControlStyle*>(form->Components(i))) styles.push_back(style);
    EXPECT_EQ(2u, styles.size()) << "the page control and the tab control; Tag -1 opts out";
    form->Show();
    Pump();
    EXPECT_EQ(StripRGB, ClientPixel(tabs->Handle(), tabs->Width() - 3, 1));
    EXPECT_NE(StripRGB, ClientPixel(optOut->Handle(), optOut->Width() - 3, 1));
}

// Two rows at the top and at the bottom in the tab look, three in a flat-button page control.
TEST_F(TabStyleTest, MultiRowControlsShowEveryRowAndThePageBeyondThemAll)
{
    TTabControl* top = NewTabs(8);
    TTabControl* bottom = NewTabs(8, tpBottom);
    auto* pages = new TPageControl(Form.get());
    pages->SetParent(Form.get());
    pages->SetStyle(tsFlatButtons);
    for (int i = 0; i < 8; ++i) {
        auto* sheet = new TTabSheet(Form.get());
        sheet->SetParent(pages);
        sheet->SetCaption("第" + std::to_string(i + 1) + "页");
    }
    int left = 0;
    for (TCustomTabControl* tabs : std::initializer_list<TCustomTabControl*>{top, bottom, pages}) {
        tabs->SetMultiLine(true);
        tabs->SetBounds(left, 5, 110, 200);
        left += 112;
    }
    top->SetTabIndex(5);
    bottom->SetTabIndex(5);
    ShowForm();
    for (TCustomTabControl* tabs : std::initializer_list<TCustomTabControl*>{top, bottom, pages}) {
        new TTabControlStyle(Form.get(), tabs);
        Pump();
        ASSERT_GT(tabs->RowCount(), 1);
        const testsupport::TClientPixels shown(tabs->Handle());
        if (tabs == pages) {
            const int rowsBottom = tabs->TabRect(7).bottom;  // buttons keep their rows in order
            for (int i = 1; i < 8; ++i) EXPECT_GT(Count(shown, tabs->TabRect(i), RGB(0, 0, 0)), 0) << "button " << i;
            EXPECT_EQ(rowsBottom - 1, Count(shown, RECT{1, 1, 2, rowsBottom}, BackRGB)) << "no page among the rows";
            continue;
        }
        const bool atTop = tabs == top;
        SCOPED_TRACE(atTop ? "tabs at the top" : "tabs at the bottom");
        const RECT selected = tabs->TabRect(5);
        const int half = (selected.bottom - selected.top) / 2;
        for (int i = 0; i < 8; ++i) {
            if (i == 5) continue;
            const RECT tab = tabs->TabRect(i);
            EXPECT_GT(Count(shown, tab, CaptionRGB), 0) << "the caption of tab " << i;
            // Beside the slant's narrow end, away from the page, the strip shows.
            EXPECT_EQ(StripRGB, shown.At(tab.right - half + 2, atTop ? tab.top : tab.bottom - 1)) << "tab " << i;
        }
        // The selected tab's row lies by the page (a top tab runs into it without an outline).
        const int x = selected.left + 2;
        EXPECT_EQ(ActiveRGB, shown.At(x, atTop ? selected.bottom : selected.top - 1)) << "the page";
        if (atTop) {
            EXPECT_NE(BorderRGB, shown.At(x, selected.bottom - 1));
        }
    }
}

}  // namespace
