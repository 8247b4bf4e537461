// The styled message box on real windows: button sets, icons, focus, sizing to the text, closing and keys.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "MessageBoxSupport.h"

using namespace msgboxtest;

namespace {

using TStep = TModalScript::TStep;

// The height of the box's strips and the title bar with the design layout: what the text's lines are added to.
constexpr int FixedHeight = 129;

std::unique_ptr<TVelMessageBoxForm> NewBox(const std::string& Text)
{
    std::unique_ptr<TVelMessageBoxForm> box(TCustomForm::Create<TVelMessageBoxForm>(nullptr));
    box->SetMessage(Text.c_str());
    box->SetCaption("测试");
    return box;
}

// Shows the box modally, the steps running inside its loop; the modal result.
int ShowWith(TVelMessageBoxForm& Box, std::vector<TStep> Steps)
{
    TModalScript script(std::move(Steps));
    const int result = Box.ShowModal();
    EXPECT_TRUE(script.Done()) << "steps left or a rescue needed";
    return result;
}

TStep Click(TBitBtn* Button)
{
    return [Button] { PostMessageA(Button->Handle(), BM_CLICK, 0, 0); };
}

// The title panel's close button: the close every box offers, whatever its buttons.
TStep CloseWithoutButton(TVelMessageBoxForm& Box)
{
    return [&Box] { Box.TitlePanel()->CloseButton()->Click(); };
}

TStep Key(WPARAM VirtualKey)
{
    return [VirtualKey] { PressKey(VirtualKey); };
}

TStep ExpectOpen(TVelMessageBoxForm& Box, const std::string& Why)
{
    return [&Box, Why] {
        EXPECT_TRUE(IsWindowVisible(Box.Handle())) << Why;
        EXPECT_EQ(mrNone, Box.ModalResult()) << Why;
    };
}

std::vector<TBitBtn*> AllButtons(const TVelMessageBoxForm& Box)
{
    return {Box.btnYes,    Box.btnNo,       Box.btnAbort, Box.btnRetry, Box.btnIgnore,
            Box.btnContinue, Box.btnOK, Box.btnCancel, Box.btnClose};
}

// Captions of the visible buttons from left to right as they stand.
std::string VisibleRow(const TVelMessageBoxForm& Box)
{
    std::vector<TBitBtn*> shown;
    for (TBitBtn* b : AllButtons(Box))
        if (b->Visible()) shown.push_back(b);
    std::sort(shown.begin(), shown.end(), [](TBitBtn* a, TBitBtn* b) { return a->Left() < b->Left(); });
    std::string row;
    for (TBitBtn* b : shown) row += (row.empty() ? "" : " ") + b->Caption();
    return row;
}

std::string Describe(const TVelMessageBoxForm& Box, HWND Focus)
{
    for (TBitBtn* b : AllButtons(Box))
        if (b->HandleAllocated() && b->Handle() == Focus) return b->Caption();
    return "(no button)";
}

// Which button the box's own show step focused, seen right after it ran.
struct TShowFocusSpy {
    std::string Focused = "(not shown)";
    void Install(TVelMessageBoxForm& Box)
    {
        Box.OnShow = [this, &Box](TObject* Sender) {
            Box.FormShow(Sender);
            TWinControl* active = Box.ActiveControl();
            Focused = Describe(Box, active && active->HandleAllocated() ? active->Handle() : GetFocus());
        };
    }
};

TStep ExpectFocus(TVelMessageBoxForm& Box, const std::string& Caption)
{
    return [&Box, Caption] { EXPECT_EQ(Caption, Describe(Box, GetFocus())); };
}

bool SamePixels(TBitmap& A, TBitmap& B)
{
    if (A.Width() != B.Width() || A.Height() != B.Height()) return false;
    for (int y = 0; y < A.Height(); ++y)
        for (int x = 0; x < A.Width(); ++x)
            if (A.Canvas().Pixel(x, y) != B.Canvas().Pixel(x, y)) return false;
    return true;
}

bool ShowsIcon(TVelMessageBoxForm& Box, const std::string& Resource)
{
    TBitmap expected;
    expected.LoadFromResourceName(GetModuleHandleA(nullptr), Resource);
    return SamePixels(Box.imgIcon->Picture().Bitmap(), expected);
}

// The metrics the box sizes itself by, measured here on its own canvas in its own font.
struct TTextMetrics {
    int LineHeight;
    int Widest;
};

TTextMetrics Measure(TVelMessageBoxForm& Box, const std::vector<std::string>& Lines)
{
    TCanvas& canvas = Box.Canvas();
    canvas.Font().Assign(Box.Font());
    TTextMetrics m{canvas.TextHeight("高") + 5, 0};
    for (const std::string& line : Lines) m.Widest = std::max(m.Widest, canvas.TextWidth(line));
    return m;
}

std::string Lines(int Count)
{
    std::string text;
    for (int i = 1; i <= Count; ++i) text += (i > 1 ? "\r\n" : "") + ("第" + std::to_string(i) + "行：卸载信息");
    return text;
}

// The message as displayed: wrapped pieces, without the empty line a final line break leaves.
std::vector<std::string> DisplayedLines(TVelMessageBoxForm& Box) { return Box.redtMessage->DisplayLines(); }

bool HasVerticalScrollBar(TVelMessageBoxForm& Box)
{
    return (GetWindowLongPtrA(Box.redtMessage->Handle(), GWL_STYLE) & WS_VSCROLL) != 0;
}

class StyledBox : public MessageBoxFixture {};

}  // namespace

TEST_F(StyledBox, FlagsZeroGivesOneFocusedOkButtonAndTheInformationIcon)
{
    auto box = NewBox("Quintaro卸载完成！");
    box->SetStyle(0);
    EXPECT_EQ("00000000", box->Style());
    EXPECT_TRUE(ShowsIcon(*box, "DLG_ICONINFORMATIONEX"));
    EXPECT_EQ(1, ShowWith(*box, {ExpectFocus(*box, "确定"), Click(box->btnOK)}));
    EXPECT_EQ("确定", VisibleRow(*box));

    auto closed = NewBox("Quintaro卸载完成！");
    closed->SetStyle(0);
    EXPECT_EQ(mrCancel, ShowWith(*closed, {CloseWithoutButton(*closed)})) << "a close without the button is allowed";
}

TEST_F(StyledBox, AbortRetryIgnoreWithTheSecondDefaultRefusesAClose)
{
    auto box = NewBox("无法删除文件。");
    box->SetStyle(MB_ABORTRETRYIGNORE | MB_DEFBUTTON2);
    EXPECT_EQ("00000102", box->Style());
    TShowFocusSpy spy;
    spy.Install(*box);
    EXPECT_EQ(mrIgnore, ShowWith(*box, {ExpectFocus(*box, "重试"), CloseWithoutButton(*box),
                                        ExpectOpen(*box, "no cancel button, so no close"), Click(box->btnIgnore)}));
    EXPECT_EQ("重试", spy.Focused);
    EXPECT_EQ("终止 重试 忽略", VisibleRow(*box));
}

TEST_F(StyledBox, YesNoAnswersEscapeWithNoAndRefusesAClose)
{
    auto box = NewBox("是否继续？");
    box->SetStyle(MB_YESNO);
    EXPECT_EQ(mrNo, ShowWith(*box, {ExpectFocus(*box, "是"), CloseWithoutButton(*box),
                                    ExpectOpen(*box, "no cancel button, so no close"), Key(VK_ESCAPE)}));
    EXPECT_EQ("是 否", VisibleRow(*box));
}

TEST_F(StyledBox, ADefaultButtonBeyondTheSetFocusesNothing)
{
    auto box = NewBox("提示");
    box->SetStyle(0x300);
    TShowFocusSpy spy;
    spy.Install(*box);
    EXPECT_EQ(mrOk, ShowWith(*box, {Click(box->btnOK)}));
    EXPECT_EQ("(no button)", spy.Focused);

    auto second = NewBox("提示");
    second->SetStyle(MB_YESNOCANCEL | MB_DEFBUTTON3);
    TShowFocusSpy secondSpy;
    secondSpy.Install(*second);
    EXPECT_EQ(mrCancel, ShowWith(*second, {Click(second->btnCancel)}));
    EXPECT_EQ("取消", secondSpy.Focused) << "the third visible button from the left";
}

TEST_F(StyledBox, HeightFollowsTheLineCountUpToTwentyLinesThenScrolls)
{
    struct TCase {
        std::string Text;
        int Count;
    };
    // A final line break adds no line; an empty line inside the text counts.
    for (const TCase& c : {TCase{Lines(1), 1}, TCase{Lines(3), 3}, TCase{Lines(20), 20}, TCase{Lines(21), 21},
                           TCase{Lines(40), 40}, TCase{"第一行\r\n", 1}, TCase{"第一行\r\n\r\n第三行", 3}}) {
        SCOPED_TRACE("lines: " + std::to_string(c.Count));
        auto box = NewBox(c.Text);
        box->SetStyle(0);
        ShowWith(*box, {Click(box->btnOK)});
        // Short lines: the text's own lines are what the design width shows.
        TStringList own;
        own.SetText(c.Text);
        std::vector<std::string> ownLines;
        for (int i = 0; i < own.Count(); ++i) ownLines.push_back(own.Strings(i));
        const TTextMetrics m = Measure(*box, ownLines);
        if (c.Count <= 20) {
            EXPECT_EQ(static_cast<size_t>(c.Count), DisplayedLines(*box).size()) << "short lines do not wrap";
        } else {
            // The scroll bar narrows the text, which the margins fitted closely: lines may wrap now.
            EXPECT_LE(static_cast<size_t>(c.Count), DisplayedLines(*box).size());
            EXPECT_EQ(c.Text, box->redtMessage->Text()) << "the recreated scrolling window keeps the text";
        }
        const int shown = std::min(c.Count, 20);
        EXPECT_EQ(std::max(170, FixedHeight + m.LineHeight * shown), box->Height());
        EXPECT_EQ(std::max(320, m.Widest + 60), box->Width());
        EXPECT_EQ(c.Count > 20, HasVerticalScrollBar(*box));
        EXPECT_EQ(c.Count > 20, IsWindowEnabled(box->redtMessage->Handle()) != FALSE)
            << "only a scrolling message takes the mouse";
        if (m.LineHeight == 17) {
            // The design font's metrics.
            EXPECT_EQ(c.Count >= 20 ? 469 : std::max(170, 129 + 17 * c.Count), box->Height());
        }
    }
}

TEST_F(StyledBox, AnOverWideLineCountsAsItsWrappedPieces)
{
    std::string line;
    for (int i = 0; i < 40; ++i) line += "Quintaro卸载程序正在删除文件 ";
    auto box = NewBox(line);
    box->SetStyle(0);
    ShowWith(*box, {Click(box->btnOK)});
    const std::vector<std::string> pieces = DisplayedLines(*box);
    ASSERT_GT(pieces.size(), 2u);
    const TTextMetrics m = Measure(*box, pieces);
    EXPECT_LE(box->Width(), m.Widest + 60) << "sized to the widest piece, not to the whole line";
    EXPECT_EQ(FixedHeight + m.LineHeight * static_cast<int>(pieces.size()), box->Height());
    std::string joined;
    for (const std::string& piece : pieces) joined += piece;
    EXPECT_EQ(line, joined) << "every piece is shown, none beyond the box's edge";
    for (const std::string& piece : pieces)
        EXPECT_LE(Measure(*box, {piece}).Widest, box->redtMessage->ClientWidth()) << piece;
}

TEST_F(StyledBox, AnEmptyMessageGivesTheSmallestBoxWithItsRowCentred)
{
    auto box = NewBox("");
    box->SetStyle(0);
    ShowWith(*box, {Click(box->btnOK)});
    EXPECT_EQ(320, box->Width());
    EXPECT_EQ(170, box->Height());
    EXPECT_EQ(144, box->imgHintInfo->Left());
    EXPECT_EQ(101, box->imgIcon->Left());
    EXPECT_EQ(126, box->btnOK->Left());
    EXPECT_EQ(2, box->btnOK->Top());

    auto three = NewBox("");
    three->SetStyle(MB_ABORTRETRYIGNORE);
    ShowWith(*three, {Click(three->btnAbort)});
    EXPECT_EQ(48, three->btnAbort->Left());
    EXPECT_EQ(126, three->btnRetry->Left());
    EXPECT_EQ(204, three->btnIgnore->Left());
}

TEST_F(StyledBox, AShortLineStandsCentredBetweenWidenedMargins)
{
    const std::string text = "卸载完成";
    auto box = NewBox(text);
    box->SetStyle(0);
    ShowWith(*box, {Click(box->btnOK)});
    const TTextMetrics m = Measure(*box, {text});
    ASSERT_LT(m.Widest + 60, 320);
    EXPECT_EQ(320, box->Width());
    EXPECT_EQ(20 + (320 - (m.Widest + 60)) / 2, box->pnlDisplayLeft->Width());
    EXPECT_EQ(box->pnlDisplayLeft->Width(), box->pnlDisplayRight->Width());
    // The message panel sits between the two margins.
    EXPECT_EQ(box->pnlDisplayLeft->Width(), box->pnlDisplayInfo->Left());
    EXPECT_EQ(box->ClientWidth() - box->pnlDisplayRight->Width(),
              box->pnlDisplayInfo->Left() + box->pnlDisplayInfo->Width());
}

TEST_F(StyledBox, ACloseWithoutAButtonFollowsTheButtonSet)
{
    struct TCase {
        int Flags;
        bool Closable;
        const char* Row;
    };
    // Set 6 and sets that are not hexadecimal digits of MessageBox show no button; they must stay closable.
    for (const TCase& c : {TCase{MB_OK, true, "确定"}, TCase{MB_OKCANCEL, true, "确定 取消"},
                           TCase{MB_ABORTRETRYIGNORE, false, "终止 重试 忽略"}, TCase{MB_YESNOCANCEL, true, "是 否 取消"},
                           TCase{MB_YESNO, false, "是 否"}, TCase{MB_RETRYCANCEL, true, "重试 取消"},
                           TCase{6, true, ""}, TCase{0x0A, true, ""}}) {
        SCOPED_TRACE("flags " + std::to_string(c.Flags));
        auto box = NewBox("关闭测试");
        box->SetStyle(c.Flags);
        EXPECT_EQ(c.Row, VisibleRow(*box));
        std::vector<TStep> steps{CloseWithoutButton(*box)};
        if (!c.Closable) {
            steps.push_back(ExpectOpen(*box, "refused"));
            steps.push_back([&box] { PostMessageA(box->Handle(), WM_CLOSE, 0, 0); });
            steps.push_back(ExpectOpen(*box, "the window's close command is refused too"));
            steps.push_back(Click(box->btnRetry->Visible() ? box->btnRetry : box->btnYes));
        }
        const int result = ShowWith(*box, steps);
        EXPECT_EQ(c.Closable ? mrCancel : (box->btnRetry->Visible() ? mrRetry : mrYes), result);
    }
}

TEST_F(StyledBox, EscapeAndEnterPerButtonSet)
{
    struct TCase {
        int Flags;
        int Escape;  // mrNone: Escape does nothing
        int Enter;   // the focused (default) button's result
    };
    for (const TCase& c : {TCase{MB_OK, mrOk, mrOk}, TCase{MB_OKCANCEL, mrCancel, mrOk},
                           TCase{MB_ABORTRETRYIGNORE, mrNone, mrAbort}, TCase{MB_YESNOCANCEL, mrCancel, mrYes},
                           TCase{MB_YESNO, mrNo, mrYes}, TCase{MB_RETRYCANCEL, mrCancel, mrRetry},
                           TCase{MB_YESNOCANCEL | MB_DEFBUTTON2, mrCancel, mrNo}}) {
        SCOPED_TRACE("flags " + std::to_string(c.Flags));
        auto escaped = NewBox("按键测试");
        escaped->SetStyle(c.Flags);
        std::vector<TStep> steps{Key(VK_ESCAPE)};
        if (c.Escape == mrNone) {
            steps.push_back(ExpectOpen(*escaped, "Escape has no button to press"));
            steps.push_back(Key(VK_RETURN));
        }
        EXPECT_EQ(c.Escape == mrNone ? c.Enter : c.Escape, ShowWith(*escaped, steps));

        auto entered = NewBox("按键测试");
        entered->SetStyle(c.Flags);
        EXPECT_EQ(c.Enter, ShowWith(*entered, {Key(VK_RETURN)}));
    }
}

TEST_F(StyledBox, WithoutSetStyleAllNineButtonsStandInOneRow)
{
    auto box = NewBox("未设置样式");
    EXPECT_EQ("00000000", box->Style());
    EXPECT_EQ(mrCancel, ShowWith(*box, {ExpectFocus(*box, "是"), CloseWithoutButton(*box)}));
    EXPECT_EQ("是 否 终止 重试 忽略 继续 确定 取消 关闭", VisibleRow(*box));
    const std::vector<TBitBtn*> row = AllButtons(*box);
    for (size_t i = 1; i < row.size(); ++i) {
        EXPECT_EQ(row[i - 1]->Left() + row[i - 1]->Width() + 10, row[i]->Left()) << row[i]->Caption();
        EXPECT_EQ(2, row[i]->Top());
    }
    EXPECT_TRUE(box->imgIcon->Picture().Bitmap().Empty());
}

TEST_F(StyledBox, TheIconDigitPicksTheIconAndAToFIsAConversionError)
{
    struct TCase {
        int Flags;
        const char* Resource;
    };
    for (const TCase& c : {TCase{MB_ICONHAND, "DLG_ICONERROREX"}, TCase{MB_ICONQUESTION, "DLG_ICONQUESTIONEX"},
                           TCase{MB_ICONEXCLAMATION, "DLG_ICONWARNINGEX"},
                           TCase{MB_ICONASTERISK, "DLG_ICONINFORMATIONEX"},
                           TCase{MB_USERICON, "DLG_ICONINFORMATIONEX"}, TCase{0x70, "DLG_ICONINFORMATIONEX"}}) {
        auto box = NewBox("图标");
        box->SetStyle(c.Flags);
        EXPECT_TRUE(ShowsIcon(*box, c.Resource)) << c.Flags;
    }
    for (const char* digit : {"A", "F"}) {
        auto box = NewBox("图标");
        try {
            box->SetStyle(std::stoi(digit, nullptr, 16) << 4);
            ADD_FAILURE() << "no error for the digit " << digit;
        } catch (const EConvertError& e) {
            EXPECT_EQ("'" + std::string(digit) + "' is not a valid integer value", e.Message());
        }
    }
    auto negative = NewBox("图标");
    EXPECT_THROW(negative->SetStyle(-1), EConvertError) << "two's complement: FFFFFFFF";
    EXPECT_EQ("FFFFFFFF", negative->Style());
}

TEST_F(StyledBox, ADefaultDigitAToFIsReportedAndTheBoxShowsSizedWithoutTheFocusStep)
{
    std::vector<std::string> reported;
    Application->OnException = [&reported](TObject*, const std::exception* E) { reported.push_back(E->what()); };
    auto box = NewBox("");
    box->SetStyle(0xB00);
    TShowFocusSpy spy;
    spy.Install(*box);
    EXPECT_EQ(mrOk, ShowWith(*box, {Click(box->btnOK)}));
    Application->OnException = nullptr;
    ASSERT_EQ(1u, reported.size());
    EXPECT_EQ("'B' is not a valid integer value", reported[0]);
    EXPECT_EQ("(not shown)", spy.Focused) << "the show step ended at the failure";
    EXPECT_EQ(320, box->Width());
    EXPECT_EQ(170, box->Height());
    EXPECT_EQ(126, box->btnOK->Left()) << "sizing and placing ran before the failure";
}

// The frame fill reaches into the client's first row and column; the bar paints over it after every frame paint.
TEST_F(StyledBox, TitleBarEndsEveryFramePaintOnTop)
{
    auto box = NewBox("Quintaro卸载完成！");
    box->SetStyle(0);
    std::string faults = "(not checked)";
    const TStep check = [&] { faults = testsupport::TitleBarEdgeFaults(box->Handle()); };
    EXPECT_EQ(mrOk, ShowWith(*box, {check, Click(box->btnOK)}));
    EXPECT_EQ("", faults);
}

// What the user sees of the box: our mark as its window icon, whatever the program's icon, and every
// visible button in the house style.
TEST_F(StyledBox, ShowsTheMarkAsIconAndEveryVisibleButtonStyled)
{
    auto box = NewBox("是否保存？");
    box->SetStyle(MB_YESNOCANCEL);
    std::string icons = "(not checked)", unstyled = "(not checked)";
    const TStep check = [&] {
        icons = testsupport::WindowIconFaults(box->Handle(), TVelMessageBoxForm::IconId);
        std::vector<std::pair<std::string, HWND>> shown;
        for (TBitBtn* b : AllButtons(*box))
            if (b->Visible()) shown.emplace_back(b->Caption(), b->Handle());
        EXPECT_EQ(3u, shown.size());
        unstyled = testsupport::UnstyledButtons(shown);
    };
    EXPECT_EQ(mrYes, ShowWith(*box, {check, Click(box->btnYes)}));
    EXPECT_EQ("", icons);
    EXPECT_EQ("", unstyled);
}
