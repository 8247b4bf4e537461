// The rich edit on real windows: lines as the control wraps them, styles as the window carries them.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "ComCtrls.h"
#include "CoreSupport.h"
#include "ExtCtrls.h"
#include "Forms.h"
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
    Edit->SetReadOnly(false);
    EXPECT_EQ(Style() & ES_READONLY, 0);
}

// ---- Tab and page controls ----

const char* const TabLayout = u8R"(object TabForm: TForm
  object Pages: TPageControl
    Left = 10
    Top = 10
    Width = 260
    Height = 160
    ActivePage = Sheet2
    TabPosition = tpBottom
    object Sheet1: TTabSheet
      Caption = '常规'
    end
    object Sheet2: TTabSheet
      Caption = '高级'
    end
    object Sheet3: TTabSheet
      Caption = '隐藏'
      TabVisible = False
    end
  end
  object Tabs: TTabControl
    Top = 170
    Width = 280
    Height = 28
    MultiLine = True
    Style = tsFlatButtons
    Tabs.Strings = (
      '一'
      '二')
    TabIndex = 1
  end
end
)";

class TabControlTest : public stocktest::StockFixture {
protected:
    std::vector<std::string> WindowTabs(TCustomTabControl& Control)
    {
        std::vector<std::string> tabs;
        const int count = static_cast<int>(SendMessageA(Control.Handle(), TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[64] = {};
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(Control.Handle(), TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            tabs.push_back(text);
        }
        return tabs;
    }
    TPageControl* NewPages(int Count)
    {
        auto* pages = new TPageControl(Form.get());
        pages->SetParent(Form.get());
        pages->SetBounds(10, 10, 260, 150);
        for (int i = 0; i < Count; ++i) {
            auto* sheet = new TTabSheet(Form.get());
            sheet->SetParent(pages);
            sheet->SetCaption("第" + std::to_string(i + 1) + "页");
        }
        return pages;
    }
    static POINT Centre(const RECT& R) { return POINT{(R.left + R.right) / 2, (R.top + R.bottom) / 2}; }
};

TEST_F(TabControlTest, TabsFollowTheListAndKeepTheSelectionThroughChangesAndNewWindows)
{
    auto* tabs = new TTabControl(Form.get());
    tabs->SetParent(Form.get());
    tabs->Tabs().Add("甲");
    tabs->Tabs().Add("乙");
    ShowForm();
    EXPECT_EQ((std::vector<std::string>{"甲", "乙"}), WindowTabs(*tabs));
    EXPECT_EQ(tabs->TabIndex(), 0) << "the first tab of an empty control comes selected";

    tabs->Tabs().Add("丙");
    tabs->SetTabIndex(2);
    tabs->Tabs().SetStrings(0, "子");
    EXPECT_EQ((std::vector<std::string>{"子", "乙", "丙"}), WindowTabs(*tabs));
    EXPECT_EQ(tabs->TabIndex(), 2);
    tabs->Tabs().Delete(2);
    EXPECT_EQ(tabs->TabIndex(), 1) << "a deleted selected tab hands the selection to the last one";

    // Styles read at creation make a new window, with the tabs and the selection.
    tabs->SetTabPosition(tpBottom);
    tabs->SetStyle(tsFlatButtons);
    const LONG_PTR style = GetWindowLongPtrA(tabs->Handle(), GWL_STYLE);
    EXPECT_EQ(style & (TCS_BOTTOM | TCS_BUTTONS | TCS_FLATBUTTONS), TCS_BOTTOM | TCS_BUTTONS | TCS_FLATBUTTONS);
    EXPECT_EQ((std::vector<std::string>{"子", "乙"}), WindowTabs(*tabs));
    EXPECT_EQ(tabs->TabIndex(), 1);
    tabs->SetHotTrack(true);
    EXPECT_NE(GetWindowLongPtrA(tabs->Handle(), GWL_STYLE) & TCS_HOTTRACK, 0) << "switched in place";

    tabs->Tabs().Clear();
    EXPECT_EQ(tabs->TabIndex(), -1);
    EXPECT_TRUE(WindowTabs(*tabs).empty());
}

TEST_F(TabControlTest, AClickedTabSwitchesThePageAndTheSelectedPageFillsTheDisplayArea)
{
    TPageControl* pages = NewPages(3);
    int changes = 0;
    pages->OnChange = [&](TObject*) { ++changes; };
    ShowForm();
    ASSERT_EQ(pages->ActivePage(), pages->Pages(0));
    EXPECT_EQ(pages->RowCount(), 1);

    const RECT second = pages->TabRect(1);
    EXPECT_EQ(pages->IndexOfTabAt(Centre(second).x, Centre(second).y), 1);
    EXPECT_EQ(pages->IndexOfTabAt(-1, 5), -1);
    testsupport::ClickAt(pages->ClientToScreen(Centre(second)));
    Pump(150);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(1));
    EXPECT_EQ(pages->TabIndex(), 1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(IsWindowVisible(pages->Pages(i)->Handle()) != 0, i == 1) << i;

    // The page area is what TCM_ADJUSTRECT gives through the control's own window procedure, so a hook there
    // moves the pages.
    RECT expected{};
    GetClientRect(pages->Handle(), &expected);
    SendMessageA(pages->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&expected));
    EXPECT_EQ(coretest::Bounds(pages->ActivePage()->BoundsRect()), coretest::Bounds(expected));
    EXPECT_GT(expected.top, second.bottom - 1);
    TWndMethod old = pages->WindowProc;
    pages->WindowProc = [old](TMessage& Message) {
        if (Message.Msg == TCM_ADJUSTRECT) InflateRect(reinterpret_cast<RECT*>(Message.LParam), 1, 1);
        old(Message);
    };
    pages->Realign();
    InflateRect(&expected, 1, 1);
    EXPECT_EQ(coretest::Bounds(pages->ActivePage()->BoundsRect()), coretest::Bounds(expected));
    pages->WindowProc = old;
}

TEST_F(TabControlTest, CtrlTabPagesThroughTheVisibleTabsWhereverTheFocusIs)
{
    TPageControl* pages = NewPages(3);
    auto* button = new TButton(Form.get());
    button->SetParent(Form.get());
    button->SetBounds(10, 165, 60, 24);
    int changes = 0;
    pages->OnChange = [&](TObject*) { ++changes; };
    pages->Pages(1)->SetTabVisible(false);
    ShowForm();
    EXPECT_EQ((std::vector<std::string>{"第1页", "第3页"}), WindowTabs(*pages));
    EXPECT_EQ(pages->Pages(1)->TabIndex(), -1);
    EXPECT_EQ(pages->Pages(2)->TabIndex(), 1);
    button->SetFocus();

    std::vector<TTabSheet*> seen;
    for (bool shift : {false, false, true}) {
        testsupport::THeldKeys held = shift ? testsupport::THeldKeys{VK_CONTROL, VK_SHIFT}
                                            : testsupport::THeldKeys{VK_CONTROL};
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
        Application->ProcessMessages();  // dialog keys are the application loop's
        seen.push_back(pages->ActivePage());
    }
    EXPECT_EQ((std::vector<TTabSheet*>{pages->Pages(2), pages->Pages(0), pages->Pages(2)}), seen);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(pages->TabIndex(), 1);
    EXPECT_EQ(button->Handle(), GetFocus());
}

TEST_F(TabControlTest, ALayoutBuildsPagesWithAForwardActivePageAndATabControlWithItsTabs)
{
    ReadFormLayoutText(*Form, TabLayout, "TabLayout");
    ShowForm();
    auto* pages = dynamic_cast<TPageControl*>(Form->FindComponent("Pages"));
    auto* tabs = dynamic_cast<TTabControl*>(Form->FindComponent("Tabs"));
    ASSERT_TRUE(pages && tabs);
    ASSERT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(pages->ActivePage(), Form->FindComponent("Sheet2"));
    EXPECT_EQ(pages->TabPosition(), tpBottom);
    EXPECT_EQ((std::vector<std::string>{"常规", "高级"}), WindowTabs(*pages));
    EXPECT_EQ(pages->TabIndex(), 1);
    EXPECT_FALSE(IsWindowVisible(pages->Pages(0)->Handle()));

    EXPECT_EQ((std::vector<std::string>{"一", "二"}), WindowTabs(*tabs));
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_EQ(tabs->Style(), tsFlatButtons);
    EXPECT_TRUE(tabs->MultiLine());
}

}  // namespace
