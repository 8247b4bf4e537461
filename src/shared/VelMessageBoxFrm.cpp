#include "VelMessageBoxFrm.h"

#include <windows.h>

#include <algorithm>

namespace {

// The root form's caption bar, which stands above the box's own strips.
constexpr int TitleBarHeight = 22;
// Room beside the widest line beyond the two side margins.
constexpr int TextSlack = 20;
// Line height beyond the character height.
constexpr int LineLeading = 5;
constexpr int IconGap = 15;
constexpr int ButtonGap = 10;

const char* IconResource(int Digit)
{
    switch (Digit) {
    case 1: return "DLG_ICONERROREX";
    case 2: return "DLG_ICONQUESTIONEX";
    case 3: return "DLG_ICONWARNINGEX";
    default: return "DLG_ICONINFORMATIONEX";
    }
}

// The digit Position places from the right of an 8-digit flags word, as a one-character string.
std::string FlagsDigit(const std::string& Style, size_t Position)
{
    return Style.substr(Style.size() - Position, 1);
}

}  // namespace

TVelMessageBoxForm::TVelMessageBoxForm(TComponent* AOwner) : TLicenseRootForm(AOwner)
{
    SetIconId(IconId);
    AddLayout("TVELMESSAGEBOXFORM");
    PublishField("redtMessage", redtMessage);
    PublishField("pnlDisplayTop", pnlDisplayTop);
    PublishField("pnlDisplayRight", pnlDisplayRight);
    PublishField("pnlDisplayLeft", pnlDisplayLeft);
    PublishField("pnlDisplayBottom", pnlDisplayBottom);
    PublishField("PanelTitle", PanelTitle);
    PublishField("ImageLogo", ImageLogo);
    PublishField("LabelCaption", LabelCaption);
    PublishField("Shape1", Shape1);
    PublishField("panButton", panButton);
    PublishField("Shape3", Shape3);
    PublishField("btnCancel", btnCancel);
    PublishField("btnOK", btnOK);
    PublishField("btnRetry", btnRetry);
    PublishField("btnIgnore", btnIgnore);
    PublishField("btnContinue", btnContinue);
    PublishField("btnAbort", btnAbort);
    PublishField("btnYes", btnYes);
    PublishField("btnNo", btnNo);
    PublishField("btnClose", btnClose);
    PublishField("pnlIcon", pnlIcon);
    PublishField("imgIcon", imgIcon);
    PublishField("pnlDisplayInfo", pnlDisplayInfo);
    PublishField("imgHintInfo", imgHintInfo);
    PublishField("imgLine", imgLine);
    PublishMethod("FormCreate", TNotifyEvent([this](TObject* Sender) { FormCreate(Sender); }));
    PublishMethod("FormShow", TNotifyEvent([this](TObject* Sender) { FormShow(Sender); }));
    PublishMethod("FormCloseQuery",
                  TCloseQueryEvent([this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); }));
}

void TVelMessageBoxForm::FormCreate(TObject* /*Sender*/)
{
    FMinWidth = 320;
    FMinHeight = 170;
    FMaxLines = 20;
    FStyle = "00000000";
}

void TVelMessageBoxForm::SetMessage(const char* Text)
{
    redtMessage->SetText(Text ? Text : "");
}

void TVelMessageBoxForm::SetCaption(const char* Text)
{
    // The window text is the caption, so that a screen reader announces it; the caption label shows it, and the
    // title, where the root form puts a caption, stays blank.
    TLicenseRootForm::SetCaption(Text ? Text : "");
    TTitlePanel::SetTitleText(TitlePanel(), " ");
    TTitlePanel::SetCaptionText(TitlePanel(), Text ? Text : "");
}

void TVelMessageBoxForm::SetStyle(int Flags)
{
    FStyle = IntToHex(static_cast<uint32_t>(Flags), 8);
    ShowButtonSet(FlagsDigit(FStyle, 1));
    ShowIconKind(FlagsDigit(FStyle, 2));
}

void TVelMessageBoxForm::ShowButtonSet(const std::string& Digit)
{
    for (TBitBtn* button : ButtonsLeftToRight()) button->SetVisible(false);
    std::vector<TBitBtn*> shown;
    if (Digit == "0")
        shown = {btnOK};
    else if (Digit == "1")
        shown = {btnOK, btnCancel};
    else if (Digit == "2")
        shown = {btnAbort, btnRetry, btnIgnore};
    else if (Digit == "3")
        shown = {btnYes, btnNo, btnCancel};
    else if (Digit == "4")
        shown = {btnYes, btnNo};
    else if (Digit == "5")
        shown = {btnRetry, btnCancel};
    for (TBitBtn* button : shown) button->SetVisible(true);
    // A box with one button closes on Escape too, as the system's own does.
    btnOK->SetCancel(shown.size() == 1 && shown.front() == btnOK);
}

void TVelMessageBoxForm::ShowIconKind(const std::string& Digit)
{
    // Read as a decimal number, as the icon bits of the flags word never hold A to F.
    LoadResourceBitmap(imgIcon->Picture(), IconResource(StrToInt(Digit)));
}

void TVelMessageBoxForm::LoadResourceBitmap(TPicture& Picture, const std::string& ResourceName)
{
    TBitmap bitmap;
    bitmap.LoadFromResourceName(GetModuleHandleA(nullptr), ResourceName);
    Picture.Bitmap().Assign(&bitmap);
}

void TVelMessageBoxForm::FormShow(TObject* Sender)
{
    TLicenseRootForm::FormShow(Sender);
    ArrangeControls();
}

void TVelMessageBoxForm::ArrangeControls()
{
    FitWidth();
    FitHeight();
    PlaceIconGroup();
    PlaceButtons();
    FocusDefaultButton();
}

void TVelMessageBoxForm::FitWidth()
{
    const int margins = pnlDisplayLeft->Width() + pnlDisplayRight->Width();
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(Font());
    int widest = 0;
    for (const std::string& line : redtMessage->DisplayLines()) widest = std::max(widest, canvas.TextWidth(line));
    const int needed = widest + margins + TextSlack;
    if (needed < FMinWidth) {
        // A short text stands centred in the smallest box.
        const int widen = (FMinWidth - needed) / 2;
        pnlDisplayLeft->SetWidth(pnlDisplayLeft->Width() + widen);
        pnlDisplayRight->SetWidth(pnlDisplayRight->Width() + widen);
    }
    SetWidth(std::max(FMinWidth, needed));
}

void TVelMessageBoxForm::FitHeight()
{
    const int fixed = pnlDisplayTop->Height() + pnlDisplayBottom->Height() + panButton->Height() +
                      pnlIcon->Height() + TitleBarHeight;
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(Font());
    const int lineHeight = canvas.TextHeight("高") + LineLeading;
    // Counted again: the new width may wrap the text differently.
    const int lineCount = redtMessage->DisplayLineCount();
    int textHeight = lineHeight * lineCount;
    if (lineCount > FMaxLines) {
        textHeight = lineHeight * FMaxLines;
        // The rest is reached by scrolling, which needs the control enabled.
        redtMessage->SetScrollBars(ssVertical);
        redtMessage->SetEnabled(true);
    }
    SetHeight(std::max(FMinHeight, fixed + textHeight));
}

void TVelMessageBoxForm::PlaceIconGroup()
{
    const int group = imgIcon->Width() + IconGap + imgHintInfo->Width();
    const int right = (Width() + group) / 2;
    imgHintInfo->SetLeft(right - imgHintInfo->Width());
    imgIcon->SetLeft(imgHintInfo->Left() - IconGap - imgIcon->Width());
}

void TVelMessageBoxForm::MeasureButtons(int& Count, int& TotalWidth) const
{
    Count = 0;
    TotalWidth = 0;
    for (TBitBtn* button : ButtonsLeftToRight()) {
        if (!button->Visible()) continue;
        ++Count;
        TotalWidth += button->Width();
    }
}

void TVelMessageBoxForm::PlaceButtons()
{
    int count = 0, total = 0;
    MeasureButtons(count, total);
    // The right edge of the row, centred on the form's width; hidden buttons keep their places.
    int x = (Width() + total + ButtonGap * (count - 1)) / 2;
    const std::vector<TBitBtn*> row = ButtonsLeftToRight();
    for (auto it = row.rbegin(); it != row.rend(); ++it) {
        TBitBtn* button = *it;
        if (!button->Visible()) continue;
        x -= button->Width();
        button->SetLeft(x);
        x -= ButtonGap;
    }
}

void TVelMessageBoxForm::FocusDefaultButton()
{
    // MB_DEFBUTTON1 to MB_DEFBUTTON4 count the visible buttons from the left; a count beyond them focuses none.
    const int wanted = StrToInt(FlagsDigit(FStyle, 3));
    int index = 0;
    for (TBitBtn* button : ButtonsLeftToRight()) {
        if (!button->Visible()) continue;
        if (index == wanted) {
            button->SetFocus();
            return;
        }
        ++index;
    }
}

void TVelMessageBoxForm::FormCloseQuery(TObject* /*Sender*/, bool& CanClose)
{
    // A close without a button arrives as mrCancel; it is refused where the set offers no way to cancel. A set
    // without any button must stay closable, or the box could not be dismissed at all.
    const bool refused = ModalResult() == mrCancel && !btnCancel->Visible() && FStyle.back() != '0';
    CanClose = !refused || !AnyButtonVisible();
}

std::vector<TBitBtn*> TVelMessageBoxForm::ButtonsLeftToRight() const
{
    return {btnYes, btnNo, btnAbort, btnRetry, btnIgnore, btnContinue, btnOK, btnCancel, btnClose};
}

bool TVelMessageBoxForm::AnyButtonVisible() const
{
    const std::vector<TBitBtn*> row = ButtonsLeftToRight();
    return std::any_of(row.begin(), row.end(), [](TBitBtn* button) { return button->Visible(); });
}
