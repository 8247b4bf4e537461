#include "CVTitlePanel.h"

#include <windows.h>
#include <windowsx.h>

#include <memory>

namespace {

constexpr int BarHeight = 22;
constexpr TColor BarLineColor = RGBColor(74, 89, 148);
constexpr int CloseGlyph = 8001, MaximizeGlyph = 8002, MinimizeGlyph = 8003, RestoreGlyph = 8004,
              TopicsGlyph = 8005, HelpGlyph = 8006;
constexpr const char* HelpHint =
    "获取操作和字段说明。\r\n操作方法：点击“?”，将鼠标移\r\n到操作或字段，系统显示相关说明。";

void ShowButton(TSpeedButtonEx* Button, bool Shown)
{
    Button->SetEnabled(Shown);
    Button->SetVisible(Shown);
}

}  // namespace

void TSpeedButtonEx::Paint()
{
    TSpeedButton::Paint();
    TCanvas& canvas = Canvas();
    TCanvasLock lock(canvas);
    const RECT client = ClientRect();
    if (FBackImage && !FBackImage->Picture().Bitmap().Empty())
        canvas.StretchDraw(client, FBackImage->Picture().Bitmap());
    if (Enabled() && !Glyph().Empty())
        canvas.Draw((client.right - Glyph().Width()) / 2, (client.bottom - Glyph().Height()) / 2, Glyph());
}

TTitlePanel::TTitlePanel(TComponent* AOwner) : TPanel(AOwner)
{
    SetAlign(alTop);
    SetDoubleBuffered(true);
    CreateImage();
    FTitleLabel = CreateLabel();
    FTitleLabel->SetAlignment(taCenter);
    FCaptionLabel = CreateLabel();
    SetHeight(BarHeight);
    SetBevelOuter(bvNone);

    Font().SetColor(clWhite);
    Font().SetStyle(Font().Style() | fsBold);
    Font().SetName("宋体");
    Font().SetSize(9);

    FTopicsButton = CreateButton(true, TopicsGlyph, &TTitlePanel::TopicsClick);
    FHelpButton = CreateButton(true, HelpGlyph, &TTitlePanel::HelpClick);
    FHelpButton->SetHint(HelpHint);
    FHelpButton->SetShowHint(true);
    FHelpButton->SetName("FhelpButton");
    FMinButton = CreateButton(false, MinimizeGlyph, &TTitlePanel::MinimizeClick);
    FMaxButton = CreateButton(false, RestoreGlyph, &TTitlePanel::RestoreClick);
    FCloseButton = CreateButton(true, CloseGlyph, &TTitlePanel::CloseClick);

    UpdateButtons();

    FAppEvents = new TApplicationEvents(this);
    FAppEvents->OnShowHint = [this](std::string& HintStr, bool& CanShow, THintInfo& HintInfo) {
        AppShowHint(HintStr, CanShow, HintInfo);
    };
}

void TTitlePanel::CreateImage()
{
    FImage = new TImage(this);
    FImage->SetParent(this);
    FImage->SetAlign(alClient);
    TBitmap& bitmap = FImage->Picture().Bitmap();
    bitmap.LoadFromResourceName(GetModuleHandleA(nullptr), "FORMTITILEBITMAP");
    FImage->SetStretch(true);
    FImage->SetVisible(true);
    FImage->SendToBack();
    // The dark bottom edge goes into the picture itself, so it stretches with the bar. The stored bitmap has
    // 8 bits per pixel; in true colour the line keeps its own colour instead of the nearest palette entry.
    bitmap.SetPixelFormat(pf24bit);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen().SetColor(BarLineColor);
    canvas.Pen().SetWidth(2);
    canvas.MoveTo(0, bitmap.Height() - 1);
    canvas.LineTo(bitmap.Width(), bitmap.Height() - 1);
    FImage->Refresh();
}

TLabel* TTitlePanel::CreateLabel()
{
    auto* label = new TLabel(this);
    label->SetParent(this);
    label->SetAlign(alClient);
    label->SetTransparent(true);
    label->SetLayout(tlCenter);
    // A window's caption is no mnemonic: every "&" shows.
    label->SetShowAccelChar(false);
    return label;
}

TSpeedButtonEx* TTitlePanel::CreateButton(bool Enabled, int GlyphId, void (TTitlePanel::*Click)(TObject*))
{
    auto* button = new TSpeedButtonEx(this);
    button->SetEnabled(Enabled);
    button->SetBounds(0, 0, 17, 16);
    button->SetAlign(alRight);
    button->SetFlat(true);
    button->OnClick = [this, Click](TObject* Sender) { (this->*Click)(Sender); };
    LoadGlyph(button->Glyph(), GlyphId);
    button->SetParent(this);
    button->SetBackImage(FImage);
    return button;
}

void TTitlePanel::SetTitleText(TTitlePanel* Panel, const std::string& Value)
{
    if (!Panel) return;
    Panel->FTitleText = Value;
    Panel->FTitleLabel->Font().SetSize(Panel->Font().Size());
    Panel->FTitleLabel->Font().SetColor(clWindow);
    Panel->FTitleLabel->SetAlignment(taLeftJustify);
    Panel->FTitleLabel->SetCaption(Panel->FTitleText);
}

void TTitlePanel::SetCaptionText(TTitlePanel* Panel, const std::string& Value)
{
    if (!Panel) return;
    Panel->FCaptionText = Value;
    Panel->FCaptionLabel->SetCaption(Panel->FCaptionText);
    Panel->FCaptionLabel->SetAutoSize(true);
}

void TTitlePanel::UpdateButtons()
{
    auto* form = dynamic_cast<TForm*>(Owner());
    if (!form) return;
    const TBorderIcons icons = form->BorderIcons();
    ShowButton(FMinButton, (icons & biMinimize) != 0);
    ShowButton(FMaxButton, (icons & biMaximize) != 0);
    ShowButton(FHelpButton, (icons & biHelp) != 0);
    ShowButton(FTopicsButton, FShowTopicsButton);
    // A minimised form keeps whatever the button showed before.
    switch (form->WindowState()) {
    case wsMaximized:
        LoadGlyph(FMaxButton->Glyph(), RestoreGlyph);
        FMaxButton->OnClick = [this](TObject* Sender) { RestoreClick(Sender); };
        FMaxButton->Invalidate();
        break;
    case wsNormal:
        LoadGlyph(FMaxButton->Glyph(), MaximizeGlyph);
        FMaxButton->OnClick = [this](TObject* Sender) { MaximizeClick(Sender); };
        FMaxButton->Invalidate();
        break;
    case wsMinimized:
        break;
    }
}

void TTitlePanel::LoadGlyph(TBitmap& Glyph, int ResourceId)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromResourceID(GetModuleHandleA(nullptr), ResourceId);
    Glyph.Assign(bitmap.get());
}

void TTitlePanel::CloseClick(TObject* /*Sender*/)
{
    if (auto* form = dynamic_cast<TCustomForm*>(Parent())) form->Close();
}

void TTitlePanel::PostSysCommand(WPARAM Command)
{
    PostToParent(WM_SYSCOMMAND, Command, static_cast<LPARAM>(-1));
}

void TTitlePanel::MinimizeClick(TObject* /*Sender*/) { PostSysCommand(SC_MINIMIZE); }
void TTitlePanel::MaximizeClick(TObject* /*Sender*/) { PostSysCommand(SC_MAXIMIZE); }
void TTitlePanel::RestoreClick(TObject* /*Sender*/) { PostSysCommand(SC_RESTORE); }

void TTitlePanel::TopicsClick(TObject* Sender)
{
    if (FOnTopicsClick) FOnTopicsClick(Sender);
}

void TTitlePanel::HelpClick(TObject* Sender)
{
    if (FOnHelpClick) FOnHelpClick(Sender);
}

void TTitlePanel::AppShowHint(std::string& /*HintStr*/, bool& CanShow, THintInfo& HintInfo)
{
    if (!FHelpButton || !FHelpButton->Parent() || HintInfo.HintControl != FHelpButton ||
        !FHelpButton->Parent()->Visible())
        return;
    const RECT client = FHelpButton->ClientRect();
    HintInfo.HintPos = FHelpButton->ClientToScreen(POINT{client.left, client.bottom});
    HintInfo.HideTimeout = 1002;
    HintInfo.ReshowTimeout = 1000;
    CanShow = true;
}

void TTitlePanel::PostToParent(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Parent()) PostMessageA(Parent()->Handle(), Msg, WParam, LParam);
}

void TTitlePanel::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
        // Presses on the bar belong to the form's caption: the form moves, the panel does not.
        PostToParent(Message.Msg, Message.WParam, Message.LParam);
        break;
    case WM_NCHITTEST:
        WMNCHitTest(Message);
        break;
    case WM_SYSCOMMAND:
        SendMessageA(Handle(), WM_NCPAINT, 0, 0);
        TPanel::WndProc(Message);
        break;
    case CM_PARENTFONTCHANGED:
        CMParentFontChanged(Message);
        break;
    default:
        TPanel::WndProc(Message);
    }
}

void TTitlePanel::WMNCHitTest(TMessage& Message)
{
    const POINT p = ScreenToClient(POINT{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
    // Hidden buttons count too: their area never drags the form.
    for (TSpeedButtonEx* button : {FCloseButton, FMinButton, FMaxButton, FTopicsButton, FHelpButton}) {
        if (button && button->Left() <= p.x && p.x <= button->Left() + button->Width() && button->Top() <= p.y &&
            p.y <= button->Top() + button->Height()) {
            TPanel::WndProc(Message);
            return;
        }
    }
    Message.Result = HTCAPTION;
}

void TTitlePanel::CMParentFontChanged(TMessage& Message)
{
    Message.Result = 0;
    if (!FTitleLabel) return;
    // Only the size follows the parent; the bar keeps its white bold face.
    if (Message.WParam != 0)
        Font().SetSize(reinterpret_cast<const TFont*>(Message.LParam)->Size());
    else if (Parent() && (dynamic_cast<TForm*>(Parent()) || dynamic_cast<TPanel*>(Parent())))
        Font().SetSize(Parent()->Font().Size());
    FTitleLabel->Font().SetSize(Font().Size());
}
