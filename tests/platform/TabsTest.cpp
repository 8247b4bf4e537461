// The tab set on a real form: tab rectangles, scrolling by its arrows, selection by keys and mouse, its layout.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "StockSupport.h"
#include "Tabs.h"

namespace {

using stocktest::Pump;

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class TabSetTest : public stocktest::StockFixture {
protected:
    TTabSet* NewTabSet(int Width, int Count)
    {
        auto* tabs = new TTabSet(Form.get());
        tabs->SetParent(Form.get());
        tabs->SetBounds(0, 0, Width, 24);
        tabs->SetTabHeight(24);
        for (int i = 0; i < Count; ++i) tabs->Tabs().Add("Tab" + std::to_string(i));
        return tabs;
    }
    static LPARAM At(const RECT& r) { return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
};

TEST_F(TabSetTest, ItemRectFollowsThePackedListAndIsEmptyOutsideIt)
{
    TTabSet* tabs = NewTabSet(280, 3);
    ShowForm();
    ASSERT_EQ(tabs->VisibleTabs(), 3);
    const int width = Form->Canvas().TextWidth("Tab0");
    const RECT first = tabs->ItemRect(0);
    // Start 9, the caption width plus a margin of 3 on each side, one pixel wider each side, 2 in from top and bottom.
    EXPECT_TRUE(SameRect(first, RECT{8, 2, 9 + width + 6 + 1, 22}));
    EXPECT_EQ(tabs->ItemRect(1).left, first.right - 1 + 9 - 1);
    for (int v : {-1, 3, 100}) EXPECT_TRUE(SameRect(tabs->ItemRect(v), RECT{0, 0, 0, 0})) << v;
    EXPECT_FALSE(tabs->Scrolling());

    tabs->Tabs().Clear();
    EXPECT_EQ(tabs->VisibleTabs(), 0);
    EXPECT_TRUE(SameRect(tabs->ItemRect(0), RECT{0, 0, 0, 0}));
    EXPECT_EQ(tabs->TabIndex(), -1);
}

TEST_F(TabSetTest, ArrowsScrollWhenTheTabsDoNotFit)
{
    TTabSet* tabs = NewTabSet(120, 8);
    ShowForm();
    ASSERT_TRUE(tabs->Scrolling());
    const int visible = tabs->VisibleTabs();
    EXPECT_GE(visible, 1);
    EXPECT_LT(visible, 8);
    // Every visible tab ends left of the arrows, with room for its slant.
    EXPECT_LE(tabs->ItemRect(visible - 1).right + 7, 120 - 32);

    const HWND arrows = ChildWindowFromPoint(tabs->Handle(), POINT{120 - 8, 12});
    ASSERT_NE(arrows, tabs->Handle());
    SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(24, 8));
    EXPECT_EQ(tabs->FirstIndex(), 1);
    SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 8));
    SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 8));
    EXPECT_EQ(tabs->FirstIndex(), 0);
    tabs->SetFirstIndex(50);
    EXPECT_EQ(tabs->FirstIndex(), 7);
    EXPECT_EQ(tabs->VisibleTabs(), 1);
    // Wide enough again: the arrows go once the first tab is back.
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
    ShowForm();
    tabs->SetFocus();
    EXPECT_EQ(SendMessageA(tabs->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);

    SendMessageA(tabs->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(tabs->TabIndex(), 0);
    // Moving right past the last visible tab scrolls it into view.
    for (int i = 0; i < 7; ++i) SendMessageA(tabs->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(tabs->TabIndex(), 7);
    EXPECT_LT(tabs->TabIndex() - tabs->FirstIndex(), tabs->VisibleTabs());
    SendMessageA(tabs->Handle(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(tabs->TabIndex(), 6);
    EXPECT_EQ(clicks, 0);

    tabs->SetFirstIndex(0);
    SendMessageA(tabs->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(tabs->ItemRect(0)));
    EXPECT_EQ(tabs->TabIndex(), 0);
    EXPECT_EQ(clicks, 1);
    refuse = true;
    SendMessageA(tabs->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    tabs->SetTabIndex(2);
    EXPECT_EQ(tabs->TabIndex(), 0);
    EXPECT_EQ(asked, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 6, 0, 1, 2}));
    Pump();
}

TEST_F(TabSetTest, ALayoutSetsTabsSelectionAndEvents)
{
    int changes = 0;
    TTabChangeEvent change = [&](TObject*, int, bool&) { ++changes; };
    Form->PublishMethod("TabsChange", change);
    ReadFormLayoutText(*Form,
                       "object F: TForm\n  object TabSet1: TTabSet\n    Width = 300\n    TabHeight = 22\n"
                       u8"    Tabs.Strings = (\n      'a'\n      '第二')\n    TabIndex = 1\n"
                       "    OnChange = TabsChange\n  end\nend\n",
                       "TabLayout");
    auto* tabs = dynamic_cast<TTabSet*>(Form->FindComponent("TabSet1"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->Tabs().Count(), 2);
    EXPECT_EQ(tabs->Tabs().Strings(1), "第二");
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_EQ(tabs->TabHeight(), 22);
    tabs->SetTabIndex(0);
    EXPECT_EQ(changes, 1);
}

}  // namespace
