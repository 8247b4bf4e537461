#include "VelRootFrm.h"

#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "CVButtonStyle.h"
#include "ComCtrls.h"
#include "DeviceContexts.h"
#include "ExtCtrls.h"
#include "StdCtrls.h"

namespace {

constexpr COLORREF FrameColor = RGB(79, 87, 138);
constexpr COLORREF LowColorFrameColor = RGB(0, 0, 150);
// The title bar shows at most this much of a caption set at run time.
constexpr size_t MaxTitleBytes = 255;
// Assumed when the display mode cannot be read: a modern display, so the normal frame colour.
constexpr DWORD FallbackBitsPerPel = 32;

int FrameWidthOf(TFormBorderStyle Style, int Current)
{
    switch (Style) {
    case bsNone: return 0;
    case bsSingle:
    case bsDialog:
    case bsToolWindow: return 2;
    case bsSizeable:
    case bsSizeToolWin: return 4;
    }
    return Current;
}

std::vector<THouseLookRule>& AddedLookRules()
{
    static std::vector<THouseLookRule> rules;
    return rules;
}

DWORD DisplayBitsPerPel()
{
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return FallbackBitsPerPel;
    return mode.dmBitsPerPel;
}

}  // namespace

void AddHouseLookRule(THouseLookRule Rule)
{
    std::vector<THouseLookRule>& rules = AddedLookRules();
    if (std::find(rules.begin(), rules.end(), Rule) == rules.end()) rules.push_back(Rule);
}

TLicenseRootForm::TLicenseRootForm(TComponent* AOwner) : TForm(AOwner), FSkinned(std::make_unique<TList>())
{
    AddLayout("TLICENSEROOTFORM");
    PublishMethod("FormShow", TNotifyEvent([this](TObject* Sender) { FormShow(Sender); }));
}

TLicenseRootForm::~TLicenseRootForm() = default;

void TLicenseRootForm::InitializeForm()
{
    ReadLayouts();
    // Created after the layout so that it comes after every layout component among the owned ones.
    FTitlePanel = new TTitlePanel(this);
    TTitlePanel::SetTitleText(FTitlePanel, " " + Caption());
    if (BorderStyle() == bsNone)
        FTitlePanel->SetVisible(false);
    else
        FTitlePanel->SetParent(this);
    DoCreate();
}

void TLicenseRootForm::CreateHandleDone()
{
    TForm::CreateHandleDone();
    // Shared icons belong to the system's cache: nothing to destroy. A program without the icon keeps the generic one.
    const HINSTANCE module = GetModuleHandleA(nullptr);
    for (const auto& [which, width, height] : {std::tuple{ICON_BIG, SM_CXICON, SM_CYICON},
                                               std::tuple{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}}) {
        HANDLE icon = LoadImageA(module, MAKEINTRESOURCEA(FIconId), IMAGE_ICON, GetSystemMetrics(width),
                                 GetSystemMetrics(height), LR_SHARED);
        Perform(WM_SETICON, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(icon));
    }
}

void TLicenseRootForm::FormShow(TObject* /*Sender*/)
{
    FLowColor = DisplayBitsPerPel() < 16;
    SetColor(clWindow);
    SkinComponents(this);
    if (FTitlePanel) FTitlePanel->UpdateButtons();
}

void TLicenseRootForm::SkinComponents(TComponent* Container)
{
    // Styles created during the pass are owned by the form too; they wait for the next show.
    const int count = Container->ComponentCount();
    for (int i = 0; i < count; ++i) {
        TComponent* component = Container->Components(i);
        if (component->Tag() == -1) continue;
        if (FSkinned->IndexOf(component) >= 0) continue;
        FSkinned->Add(component);
        // A freed component must leave the list, or a new one at the same address would be passed over.
        FreeNotification(component);
        ApplyHouseLook(component);
    }
}

void TLicenseRootForm::ApplyHouseLook(TComponent* Component)
{
    if (auto* edit = dynamic_cast<TRichEdit*>(Component)) {
        edit->SetParentFont(true);
        edit->SetImeName("");
    } else if (dynamic_cast<TPanel*>(Component)) {
        // Panels, the title panel among them, keep their own look.
    } else if (auto* label = dynamic_cast<TLabel*>(Component)) {
        label->SetAutoSize(true);
        label->SetParentFont(true);
    } else if (auto* button = dynamic_cast<TButton*>(Component)) {
        CreateButtonStyle(button, ButtonStyleDefaults);
    } else {
        for (THouseLookRule rule : AddedLookRules())
            if (rule(Component)) break;
    }
}

void TLicenseRootForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TForm::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove) return;
    FSkinned->Remove(AComponent);
    if (AComponent == FTitlePanel) FTitlePanel = nullptr;
}

void TLicenseRootForm::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETTEXT: WMSetText(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); break;
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    case WM_NCHITTEST: WMNCHitTest(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_NCACTIVATE:
        // The frame is ours and painted next: the system keeps the state but skips drawing its own caption.
        Message.LParam = -1;
        [[fallthrough]];
    case WM_NCLBUTTONDOWN:
        TForm::WndProc(Message);
        FrameRefresh();
        break;
    case WM_SYSCOMMAND: WMSysCommand(Message); break;
    default: TForm::WndProc(Message);
    }
}

bool TLicenseRootForm::TitlePanelShown() const
{
    // A panel without a parent is not part of the window (borderless forms).
    return FTitlePanel && FTitlePanel->Parent() && FTitlePanel->HandleAllocated();
}

void TLicenseRootForm::RepaintTitlePanel()
{
    if (TitlePanelShown()) FTitlePanel->Repaint();
}

void TLicenseRootForm::InvalidateTitlePanelEdge()
{
    if (!TitlePanelShown()) return;
    // The frame fill has just covered the bar's first row and column, and nothing else tells the bar: a frame paint
    // of the system's own update (the first show) has already passed the bar's paint, a caption change repaints only
    // the label. Marked invalid, the bar paints over them in the paint that follows.
    const HWND bar = FTitlePanel->Handle();
    const RECT row{0, 0, FTitlePanel->ClientWidth(), 1}, column{0, 0, 1, FTitlePanel->ClientHeight()};
    InvalidateRect(bar, &row, FALSE);
    InvalidateRect(bar, &column, FALSE);
}

void TLicenseRootForm::FrameRefresh()
{
    Perform(WM_NCPAINT, 0, 0);
    RepaintTitlePanel();
}

void TLicenseRootForm::WMNCCalcSize(TMessage& Message)
{
    FFrameWidth = FrameWidthOf(BorderStyle(), FFrameWidth);
    // With or without valid-area rectangles the first rectangle comes first.
    auto* rect = reinterpret_cast<RECT*>(Message.LParam);
    rect->left += FFrameWidth;
    rect->top += FFrameWidth;
    rect->right -= FFrameWidth;
    rect->bottom -= FFrameWidth;
    Message.Result = 0;
}

void TLicenseRootForm::WMNCPaint(TMessage& Message)
{
    const HWND wnd = Handle();
    TWindowDC dc(wnd, true);
    RECT window{};
    GetWindowRect(wnd, &window);
    OffsetRect(&window, -window.left, -window.top);
    RECT client = ClientRect();
    OffsetRect(&client, FFrameWidth, FFrameWidth);
    IntersectClipRect(dc.Handle(), window.left, window.top, window.right, window.bottom);
    ExcludeClipRect(dc.Handle(), client.left + 1, client.top + 1, client.right + 1, client.bottom + 1);
    TGdiObject brush(CreateSolidBrush(FLowColor ? LowColorFrameColor : FrameColor));
    FillRect(dc.Handle(), &window, static_cast<HBRUSH>(brush.Get()));
    InvalidateTitlePanelEdge();
    Message.Result = 0;
}

void TLicenseRootForm::WMNCHitTest(TMessage& Message)
{
    if (BorderStyle() == bsNone || !FTitlePanel) {
        TForm::WndProc(Message);
        return;
    }
    // Answers for the bar's area when the bar itself is not there to take the hit test (hidden or embedded).
    const POINT p = ScreenToClient(POINT{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
    if (0 <= p.x && p.x <= FTitlePanel->ClientWidth() && 0 <= p.y && p.y <= FTitlePanel->ClientHeight())
        Message.Result = HTCAPTION;
    else
        TForm::WndProc(Message);
}

void TLicenseRootForm::WMSetText(TMessage& Message)
{
    TForm::WndProc(Message);
    // The system redraws its own caption frame for a new text; ours goes back over it at once.
    if (HandleAllocated()) Perform(WM_NCPAINT, 0, 0);
    const char* text = reinterpret_cast<const char*>(Message.LParam);
    std::string title = text ? std::string(text) : std::string();
    if (title.size() > MaxTitleBytes) title.resize(MaxTitleBytes);
    TTitlePanel::SetTitleText(FTitlePanel, " " + title);
}

void TLicenseRootForm::WMSetCursor(TMessage& Message)
{
    TForm::WndProc(Message);
    const WORD hitTest = LOWORD(Message.LParam);
    if (hitTest != HTCLIENT && hitTest != HTCAPTION) FrameRefresh();
}

void TLicenseRootForm::WMWindowPosChanged(TMessage& Message)
{
    TForm::WndProc(Message);
    if (FTitlePanel) FTitlePanel->SetVisible(BorderStyle() != bsNone && Parent() == nullptr);
}

void TLicenseRootForm::WMSysCommand(TMessage& Message)
{
    Perform(WM_NCPAINT, 0, 0);
    RepaintTitlePanel();
    TForm::WndProc(Message);
    if (FTitlePanel) FTitlePanel->UpdateButtons();
}
