// The title panel on a shown root form: which buttons show where, what drags, what reaches the form.
#include <algorithm>
#include <vector>

#include "RootFormSupport.h"

using namespace rootformtest;

namespace {

class TitlePanel : public RootFormFixture {
protected:
    template <TBorderIcons Icons>
    std::unique_ptr<TTestRootForm<bsDialog, Icons>> ShownForm()
    {
        auto form = MakeForm<TTestRootForm<bsDialog, Icons>>();
        form->SetBounds(100, 100, 300, 200);
        form->Show();
        Pump();
        return form;
    }
};

// Swallows the non-client presses that reach a form, so no system move loop starts without a real mouse.
struct TPressSpy {
    std::vector<TMessage> Seen;
    void Install(TControl& Control)
    {
        TWndMethod old = Control.WindowProc;
        Control.WindowProc = [this, old](TMessage& M) {
            if (M.Msg >= WM_NCLBUTTONDOWN && M.Msg <= WM_NCLBUTTONDBLCLK) {
                Seen.push_back(M);
                M.Result = 0;
                return;
            }
            old(M);
        };
    }
};

}  // namespace

TEST_F(TitlePanel, OnlyTheCloseButtonShowsForASystemMenuForm)
{
    auto form = ShownForm<biSystemMenu>();
    TTitlePanel* bar = form->TitlePanel();
    EXPECT_EQ(22, bar->Height());
    EXPECT_EQ(form->ClientWidth(), bar->Width());
    EXPECT_EQ(0, bar->Top());
    TSpeedButtonEx* close = bar->CloseButton();
    EXPECT_TRUE(close->Visible());
    EXPECT_TRUE(close->Enabled());
    const RECT closeBounds = close->BoundsRect();
    EXPECT_EQ(Bounds(bar->Width() - 17, 0, bar->Width(), 22), Bounds(closeBounds));
    for (TSpeedButtonEx* hidden : {bar->MinButton(), bar->MaxButton(), bar->HelpButton(), bar->TopicsButton()}) {
        EXPECT_FALSE(hidden->Visible());
        EXPECT_EQ(Bounds(0, 0, 17, 16), Bounds(hidden->BoundsRect())) << "never laid out, so still at its initial bounds";
    }
    // The close glyph is drawn opaque and centred: 11 x 10 at (3, 6) inside the 17 x 22 button.
    auto glyph = ResourceBitmap(8001);
    ASSERT_EQ(11, glyph->Width());
    ASSERT_EQ(10, glyph->Height());
    const HWND wnd = bar->Handle();
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    int mismatches = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 11; ++x)
            mismatches += ClientPixel(wnd, closeBounds.left + 3 + x, 6 + y) !=
                          ColorToRGB(glyph->Canvas().Pixel(x, y));
    EXPECT_EQ(0, mismatches);
    EXPECT_EQ(RGB(0x1E, 0x55, 0x95), ClientPixel(wnd, bar->Width() - 40, 0)) << "the bar's dark top line";
    EXPECT_EQ(RGB(0x1E, 0x55, 0x95), ClientPixel(wnd, closeBounds.left + 1, 0)) << "behind the close glyph too";
    EXPECT_EQ(RGB(74, 89, 148), ClientPixel(wnd, bar->Width() - 40, 21)) << "the line drawn into the bar bitmap";
    EXPECT_EQ(RGB(74, 89, 148), ClientPixel(wnd, closeBounds.left + 1, 21));
}

TEST_F(TitlePanel, CloseButtonShowsWithoutAnyBorderIcon)
{
    auto form = ShownForm<0>();
    TTitlePanel* bar = form->TitlePanel();
    EXPECT_TRUE(bar->CloseButton()->Visible());
    bar->CloseButton()->Click();
    Pump();
    EXPECT_FALSE(form->Visible()) << "the close button closes the form";
}

TEST_F(TitlePanel, HiddenButtonsKeepTheirHitAreaInTheCorner)
{
    auto form = ShownForm<biSystemMenu>();
    TTitlePanel* bar = form->TitlePanel();
    const HWND wnd = bar->Handle();
    auto hit = [&](int x, int y) { return SendMessageA(wnd, WM_NCHITTEST, 0, ScreenPoint(*bar, x, y)); };
    EXPECT_EQ(HTCLIENT, hit(0, 0));
    EXPECT_EQ(HTCLIENT, hit(17, 16)) << "bounds are inclusive";
    EXPECT_EQ(HTCAPTION, hit(18, 5));
    EXPECT_EQ(HTCAPTION, hit(5, 17));
    EXPECT_EQ(HTCAPTION, hit(bar->Width() / 2, 10));
    EXPECT_EQ(HTCLIENT, hit(bar->Width() - 5, 10)) << "over the close button";
    EXPECT_EQ(HTCLIENT, hit(bar->Width() - 17, 21)) << "the close button's left edge";
    EXPECT_EQ(HTCAPTION, hit(bar->Width() - 18, 10));
}

TEST_F(TitlePanel, MaximiseButtonFollowsTheWindowState)
{
    auto form = ShownForm<biSystemMenu | biMinimize | biMaximize>();
    TTitlePanel* bar = form->TitlePanel();
    TSpeedButtonEx* max = bar->MaxButton();
    const int w = bar->Width();
    EXPECT_TRUE(max->Visible());
    EXPECT_TRUE(max->Enabled());
    EXPECT_TRUE(bar->MinButton()->Visible());
    EXPECT_EQ(Bounds(w - 34, 0, w - 17, 22), Bounds(max->BoundsRect())) << "right to left: close, maximise, minimise";
    EXPECT_EQ(Bounds(w - 51, 0, w - 34, 22), Bounds(bar->MinButton()->BoundsRect()));
    auto maximise = ResourceBitmap(8002), restore = ResourceBitmap(8004);
    EXPECT_TRUE(SamePixels(max->Glyph(), *maximise));

    SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Pump();
    ASSERT_TRUE(IsZoomed(form->Handle()));
    EXPECT_TRUE(SamePixels(max->Glyph(), *restore)) << "maximised: the restore glyph";

    max->Click();  // now restores, through a posted system command
    Pump();
    EXPECT_FALSE(IsZoomed(form->Handle()));
    EXPECT_TRUE(SamePixels(max->Glyph(), *maximise));

    max->Click();  // and maximises again
    Pump();
    EXPECT_TRUE(IsZoomed(form->Handle()));
    SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump();
    EXPECT_TRUE(SamePixels(max->Glyph(), *maximise));
}

TEST_F(TitlePanel, NonClientPressesAreForwardedToTheForm)
{
    auto form = ShownForm<biSystemMenu>();
    TTitlePanel* bar = form->TitlePanel();
    TPressSpy spy;
    spy.Install(*form);
    const LPARAM where = ScreenPoint(*bar, 100, 10);
    for (UINT msg : {UINT(WM_NCLBUTTONDOWN), UINT(WM_NCLBUTTONUP), UINT(WM_NCLBUTTONDBLCLK)})
        PostMessageA(bar->Handle(), msg, HTCAPTION, where);
    Pump();
    ASSERT_EQ(3u, spy.Seen.size());
    EXPECT_EQ(UINT(WM_NCLBUTTONDOWN), spy.Seen[0].Msg);
    EXPECT_EQ(UINT(WM_NCLBUTTONUP), spy.Seen[1].Msg);
    EXPECT_EQ(UINT(WM_NCLBUTTONDBLCLK), spy.Seen[2].Msg);
    for (const TMessage& m : spy.Seen) {
        EXPECT_EQ(WPARAM(HTCAPTION), m.WParam);
        EXPECT_EQ(where, m.LParam);
    }
}

TEST_F(TitlePanel, FontSizeFollowsTheFormOnly)
{
    auto form = ShownForm<biSystemMenu>();
    TTitlePanel* bar = form->TitlePanel();
    EXPECT_EQ(9, bar->Font().Size());
    form->Font().SetHeight(-13);
    Pump();
    EXPECT_EQ(10, bar->Font().Size());
    EXPECT_EQ(10, bar->TitleLabel()->Font().Size());
    EXPECT_EQ(10, bar->CaptionLabel()->Font().Size());
    EXPECT_EQ("宋体", bar->Font().Name());
    EXPECT_TRUE(bar->Font().Style() & fsBold);
    EXPECT_EQ(clWhite, bar->Font().Color());
    EXPECT_EQ(clWhite, bar->CaptionLabel()->Font().Color());
    EXPECT_EQ(clWindow, bar->TitleLabel()->Font().Color()) << "the title is drawn in the window colour";
    form->Font().SetName("Arial");
    form->Font().SetHeight(-12);
    Pump();
    EXPECT_EQ(9, bar->Font().Size());
    EXPECT_EQ(9, bar->TitleLabel()->Font().Size());
    EXPECT_EQ("宋体", bar->Font().Name()) << "only the size is taken over";
}

TEST_F(TitlePanel, HelpHintOpensBelowTheHelpButton)
{
    auto form = ShownForm<biSystemMenu | biHelp>();
    TTitlePanel* bar = form->TitlePanel();
    TSpeedButtonEx* help = bar->HelpButton();
    ASSERT_TRUE(help->Visible());
    EXPECT_EQ("FhelpButton", help->Name());
    EXPECT_EQ(85u, help->Hint().size()) << "three GBK lines joined by CR LF";
    EXPECT_TRUE(help->ShowHint());

    std::string text = help->Hint();
    bool canShow = false;
    THintInfo info;
    info.HintControl = help;
    bar->AppShowHint(text, canShow, info);
    EXPECT_TRUE(canShow);
    EXPECT_EQ(1002, info.HideTimeout);
    EXPECT_EQ(1000, info.ReshowTimeout);
    const POINT below = help->ClientToScreen(POINT{0, help->Height()});
    EXPECT_EQ(below.x, info.HintPos.x);
    EXPECT_EQ(below.y, info.HintPos.y);
    EXPECT_EQ(help->Hint(), text);

    THintInfo other;
    other.HintControl = bar->CloseButton();
    canShow = false;
    bar->AppShowHint(text, canShow, other);
    EXPECT_FALSE(canShow) << "other hints are left alone";
    EXPECT_EQ(0, other.HideTimeout);
}

TEST_F(TitlePanel, PanelWithoutFormOwnerKeepsCreationStates)
{
    std::unique_ptr<TTitlePanel> bar(new TTitlePanel(nullptr));
    EXPECT_TRUE(bar->TopicsButton()->Visible() && bar->TopicsButton()->Enabled());
    EXPECT_TRUE(bar->HelpButton()->Visible() && bar->HelpButton()->Enabled());
    EXPECT_TRUE(bar->MinButton()->Visible());
    EXPECT_FALSE(bar->MinButton()->Enabled());
    EXPECT_TRUE(bar->MaxButton()->Visible());
    EXPECT_FALSE(bar->MaxButton()->Enabled());
    EXPECT_TRUE(SamePixels(bar->MaxButton()->Glyph(), *ResourceBitmap(8004)));
    EXPECT_EQ(taCenter, bar->TitleLabel()->Alignment()) << "centred until the first title";
}
