// The tab control and the page control on real windows: the tabs as the common control holds them, the pages as
// they show, and layouts that build both.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "CoreSupport.h"
#include "Forms.h"
#include "LayoutReader.h"
#include "StdCtrls.h"
#include "StockSupport.h"
#include "TabCtrls.h"
#include "WindowSupport.h"
#include "PublishedNames.h"

namespace {

using stocktest::Pump;

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
    // The unit is not among every program's classes: programs that show it register it themselves.
    static void SetUpTestSuite()
    {
        StockFixture::SetUpTestSuite();
        RegisterTabCtrlsClasses(TClassRegistry::Instance());
    }
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
    const testsupport::TPublishedNames names(*Form, {"Pages", "Sheet1", "Sheet2", "Sheet3", "Tabs"});
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
