// The message display functions: the styled box, the stock box, the top-most handling around them.
#include <chrono>
#include <memory>
#include <string>

#include "MessageBoxSupport.h"
#include "VelPublicFun.h"
#include "WindowSupport.h"

using namespace msgboxtest;

namespace {

using TStep = TModalScript::TStep;

bool IsTopMost(HWND Wnd) { return (GetWindowLongPtrA(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// True when Lower stands somewhere below Upper in the z-order.
bool Below(HWND Lower, HWND Upper)
{
    for (HWND w = GetWindow(Upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == Lower) return true;
    return false;
}

// From the top: a top-most palette of the program, another program's ordinary window, the program's ordinary
// window. Stepping out of the band, the palette moves behind the other program's window. (Wine keeps an owned
// window top-most when it is sent to HWND_NOTOPMOST, the move for a palette directly above the program's windows.)
struct TTopMostScene {
    testsupport::TPopupWindow Ordinary{0, Application->Handle(), 10};
    testsupport::TPopupWindow Foreign{0, nullptr, 120};
    testsupport::TPopupWindow Palette{WS_EX_TOPMOST, Application->Handle(), 230};
};

// Inside the modal loop: the open box, or a failure.
TStep WithBox(std::function<void(TVelMessageBoxForm&)> Action)
{
    return [Action] {
        TVelMessageBoxForm* box = OpenBox();
        if (!box) {
            ADD_FAILURE() << "no message box is open";
            return;
        }
        Action(*box);
    };
}

TStep ClickOk()
{
    return WithBox([](TVelMessageBoxForm& Box) { PostMessageA(Box.btnOK->Handle(), BM_CLICK, 0, 0); });
}

class PublicFun : public MessageBoxFixture {};

}  // namespace

TEST_F(PublicFun, TheStyledBoxShowsTextCaptionAndStyleAndReturnsTheButton)
{
    TModalScript script({WithBox([](TVelMessageBoxForm& Box) {
                             EXPECT_EQ("确认", Box.TitlePanel()->CaptionText());
                             EXPECT_EQ("确认", Box.Caption()) << "the window text, for screen readers";
                             EXPECT_EQ(" ", Box.TitlePanel()->TitleText()) << "shown once, in the caption label";
                             EXPECT_EQ("删除这些文件吗？", Box.redtMessage->Text());
                             EXPECT_EQ("00000124", Box.Style());
                             EXPECT_TRUE(Box.btnYes->Visible() && Box.btnNo->Visible() && !Box.btnOK->Visible());
                             EXPECT_EQ(Box.btnNo->Handle(), GetFocus());
                         }),
                         WithBox([](TVelMessageBoxForm& Box) { PostMessageA(Box.btnYes->Handle(), BM_CLICK, 0, 0); })});
    EXPECT_EQ(IDYES, ShowMessageBoxForm("删除这些文件吗？", "确认", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, 0));
    EXPECT_TRUE(script.Done());
}

TEST_F(PublicFun, AnOwnedTopMostWindowStandsBelowTheBoxWhileItIsOpen)
{
    TTopMostScene scene;
    const HWND palette = scene.Palette.Handle();
    ASSERT_TRUE(IsTopMost(palette));
    TModalScript script({WithBox([&scene, palette](TVelMessageBoxForm& Box) {
                             EXPECT_TRUE(IsTopMost(Box.Handle()));
                             EXPECT_FALSE(IsTopMost(palette)) << "out of the top-most band";
                             EXPECT_TRUE(Below(palette, Box.Handle()));
                             EXPECT_TRUE(Below(palette, scene.Foreign.Handle()));
                         }),
                         ClickOk()});
    EXPECT_EQ(IDOK, ShowMessageBoxForm("Quintaro卸载完成！", "提示", MB_OK, 0));
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(IsTopMost(palette)) << "top-most again after the box";
}

TEST_F(PublicFun, AFailingStyleFreesTheBoxRestoresTopMostsAndPassesTheErrorOn)
{
    TTopMostScene scene;
    const HWND palette = scene.Palette.Handle();
    try {
        ShowMessageBoxForm("图标错误", "提示", 0xA0, 0);
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ("'A' is not a valid integer value", e.Message());
    }
    EXPECT_EQ(nullptr, OpenBox());
    EXPECT_TRUE(IsTopMost(palette));
    // The nesting count is back at zero: the next outermost call acts again.
    Application->NormalizeTopMosts();
    EXPECT_FALSE(IsTopMost(palette));
    Application->RestoreTopMosts();
    EXPECT_TRUE(IsTopMost(palette));
}

TEST_F(PublicFun, ModeOneShowsTheStockBoxWithTheFlagsUnchanged)
{
    TTopMostScene scene;
    const HWND palette = scene.Palette.Handle();
    TModalScript script({[palette] {
        HWND dialog = OpenStockDialog();
        ASSERT_NE(nullptr, dialog) << "the system message box is open";
        EXPECT_EQ(nullptr, OpenBox());
        EXPECT_TRUE(IsTopMost(palette)) << "no top-most handling for the stock box";
        EXPECT_NE(nullptr, GetDlgItem(dialog, IDYES));
        PostMessageA(GetDlgItem(dialog, IDNO), BM_CLICK, 0, 0);
    }});
    EXPECT_EQ(IDNO, ShowMessageBoxForm("继续吗？", "问题", MB_YESNO | MB_ICONQUESTION, 1));
    EXPECT_TRUE(script.Done());
}

TEST_F(PublicFun, OtherModesShowNothing)
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(0, ShowMessageBoxForm("不显示", "提示", MB_OK, 2));
    EXPECT_EQ(0, ShowMessageBoxForm("不显示", "提示", MB_OK, 255));
    ShowInfo("不显示", 2);
    EXPECT_EQ(nullptr, OpenBox());
    EXPECT_EQ(nullptr, OpenStockDialog());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500)) << "returned at once";
}

TEST_F(PublicFun, ShowInfoShowsTheCompletionBox)
{
    TModalScript script({WithBox([](TVelMessageBoxForm& Box) {
                             EXPECT_EQ("提示", Box.TitlePanel()->CaptionText());
                             char text[32] = {};
                             GetWindowTextA(Box.Handle(), text, sizeof text);
                             EXPECT_STREQ("提示", text) << "what a screen reader announces";
                             EXPECT_EQ("Quintaro卸载完成！", Box.redtMessage->Text());
                             EXPECT_EQ("00000000", Box.Style());
                             EXPECT_EQ(Box.btnOK->Handle(), GetFocus());
                         }),
                         ClickOk()});
    ShowInfo("Quintaro卸载完成！", 0);
    EXPECT_TRUE(script.Done());

    TModalScript closed({WithBox([](TVelMessageBoxForm& Box) { Box.TitlePanel()->CloseButton()->Click(); })});
    ShowInfo("Quintaro卸载完成！", 0);
    EXPECT_TRUE(closed.Done()) << "a close without the button ends it too";
}

TEST_F(PublicFun, ShowInfoModeOneShowsThePlainMessage)
{
    std::string shown;
    TModalScript script({[&shown] {
        EXPECT_EQ(nullptr, OpenBox());
        HWND focus = GetFocus();
        ASSERT_NE(nullptr, focus) << "the plain message has a focused OK button";
        HWND top = GetAncestor(focus, GA_ROOT);
        char text[256] = {};
        GetWindowTextA(top, text, sizeof(text));
        shown = text;
        PressKey(VK_RETURN);
    }});
    ShowInfo("已完成", 1);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(Application->Title(), shown) << "the application title is the caption";
}
