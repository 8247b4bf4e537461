// The tab set on a real form: tab rectangles, scrolling by its arrows, selection by keys and mouse, its layout.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "LayoutReader.h"
#include "StockSupport.h"
#include "Tabs.h"
#include "PublishedNames.h"

namespace {

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

class TabSetTest : public stocktest::StockFixture {
protected:
    // The unit is not among every program's classes: programs that show it register it themselves.
    static void SetUpTestSuite()
    {
        StockFixture::SetUpTestSuite();
        RegisterTabsClasses(TClassRegistry::Instance());
    }
    TTabSet* NewTabSet(int Width, int Count)
    {
        auto* tabs = new TTabSet(Form.get());
        tabs->SetParent(Form.get());
        tabs->SetBounds(0, 0, Width, 24);
        tabs->SetTabHeight(24);
        for (int i = 0; i < Count; ++i) tabs->Tabs().Add("Tab" + std::to_string(i));
        ShowForm();
        return tabs;
    }
    static void Send(TWinControl* C, UINT Msg, WPARAM W, LPARAM L) { SendMessageA(C->Handle(), Msg, W, L); }
};

TEST_F(TabSetTest, ItemRectFollowsThePackedListAndIsEmptyOutsideIt)
{
    TTabSet* tabs = NewTabSet(280, 3);
    ASSERT_EQ(tabs->VisibleTabs(), 3);
    const int width = Form->Canvas().TextWidth("Tab0");
    // Start 9, the caption plus 3 on each side; one pixel wider each side, 2 in from the top and the bottom.
    EXPECT_TRUE(SameRect(tabs->ItemRect(0), RECT{8, 2, 9 + width + 6 + 1, 22}));
    EXPECT_EQ(tabs->ItemRect(1).left, tabs->ItemRect(0).right + 7);
    for (int v : {-1, 3, 100}) EXPECT_TRUE(SameRect(tabs->ItemRect(v), RECT{0, 0, 0, 0})) << v;
    EXPECT_FALSE(tabs->Scrolling());
    tabs->Tabs().Clear();
    EXPECT_TRUE(SameRect(tabs->ItemRect(0), RECT{0, 0, 0, 0}));
}

TEST_F(TabSetTest, ArrowsScrollWhenTheTabsDoNotFit)
{
    TTabSet* tabs = NewTabSet(120, 8);
    ASSERT_TRUE(tabs->Scrolling());
    const int visible = tabs->VisibleTabs();
    EXPECT_TRUE(visible >= 1 && visible < 8);
    EXPECT_LE(tabs->ItemRect(visible - 1).right + 7, 120 - 32) << "clear of the arrows, slant included";
    const HWND arrows = ChildWindowFromPoint(tabs->Handle(), POINT{120 - 8, 12});
    ASSERT_NE(arrows, tabs->Handle());
    SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(24, 8));
    EXPECT_EQ(tabs->FirstIndex(), 1);
    for (int i = 0; i < 2; ++i) SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 8));
    EXPECT_EQ(tabs->FirstIndex(), 0);
    tabs->SetFirstIndex(50);
    EXPECT_EQ(tabs->FirstIndex(), 7);
    tabs->SetWidth(600);
    tabs->SetFirstIndex(0);
    EXPECT_FALSE(tabs->Scrolling());
    EXPECT_EQ(tabs->VisibleTabs(), 8);
}

TEST_F(TabSetTest, KeysAndClicksSelectAndOnChangeMayRefuse)
{
    TTabSet* tabs = NewTabSet(120, 8);
    std::vector<int> asked;
    int clicks = 0;
    bool refuse = false;
    tabs->OnChange = [&](TObject*, int NewTab, bool& Allow) {
        asked.push_back(NewTab);
        Allow = !refuse;
    };
    tabs->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_EQ(SendMessageA(tabs->Handle(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    for (int i = 0; i < 8; ++i) Send(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(tabs->TabIndex(), 7);
    EXPECT_LT(tabs->TabIndex() - tabs->FirstIndex(), tabs->VisibleTabs()) << "scrolled into view";
    Send(tabs, WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(clicks, 0);
    tabs->SetFirstIndex(0);
    const RECT first = tabs->ItemRect(0);
    Send(tabs, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.left + 2, 10));
    EXPECT_EQ(tabs->TabIndex(), 0);
    EXPECT_EQ(clicks, 1);
    refuse = true;
    Send(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    tabs->SetTabIndex(2);
    EXPECT_EQ(tabs->TabIndex(), 0);
    EXPECT_EQ(asked, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 6, 0, 1, 2}));
}

TEST_F(TabSetTest, ALayoutSetsTabsSelectionAndEvents)
{
    int changes = 0;
    Form->PublishMethod("TabsChange", TTabChangeEvent([&](TObject*, int, bool&) { ++changes; }));
    const testsupport::TPublishedNames names(*Form, {"TabSet1"});
    ReadFormLayoutText(*Form,
                       u8"object F: TForm\n  object TabSet1: TTabSet\n    TabHeight = 22\n"
                       "    Tabs.Strings = (\n      'a'\n      '第二')\n    TabIndex = 1\n"
                       "    OnChange = TabsChange\n  end\nend\n",
                       "TabLayout");
    auto* tabs = dynamic_cast<TTabSet*>(Form->FindComponent("TabSet1"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->Tabs().Strings(1), "第二");
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_EQ(tabs->TabHeight(), 22);
    tabs->SetTabIndex(0);
    EXPECT_EQ(changes, 1);
}

}  // namespace

