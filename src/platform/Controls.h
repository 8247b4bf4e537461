#pragma once
// Controls: the one message path, parents and alignment, windowed and windowless controls.
//
// Win32 -> the class's static window procedure (links HWND and object; catches every exception and hands it to
// the installed exception reporter) -> control->WindowProc (replaceable) -> control->WndProc (virtual; each class
// switches on the messages it handles and passes the rest to its base class) -> DefaultHandler (the saved system
// procedure of a stock control, or DefWindowProcA).

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Classes.h"
#include "DeviceContexts.h"
#include "Graphics.h"

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// A replaceable window procedure: read it, keep it, install another that calls the kept one.
using TWndMethod = std::function<void(TMessage&)>;

// The layer's own notifications.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 3;
constexpr UINT CM_COLORCHANGED = CM_BASE + 4;
constexpr UINT CM_FONTCHANGED = CM_BASE + 5;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;   // 0xB008; WParam != 0: LParam is a TFont*
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_DIALOGKEY = CM_BASE + 22;           // WParam: virtual key; Result 1 = handled
constexpr UINT CM_DIALOGCHAR = CM_BASE + 23;          // WParam: a character, as a mnemonic; Result 1 = taken
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 24;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;          // 0xB013
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;          // 0xB014
constexpr UINT CN_BASE = 0xBC00;                      // reflected notifications: CN_BASE + the parent's message
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;   // 0xBC2B
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

// Modal results: what a button gives the form it sits in, and what ShowModal returns.
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7, mrAll = 8;
// Name tables of enumerations and flag sets, in declared order, as stored layouts write them.
inline constexpr const char* ModalResultNames[] = {"mrNone", "mrOk",  "mrCancel", "mrAbort", "mrRetry",
                                                   "mrIgnore", "mrYes", "mrNo",     "mrAll"};

// Where a failure inside a handler goes; the application installs its standard report. Without one it is dropped.
using TExceptionReporter = void (*)(const std::exception* E);
void SetExceptionReporter(TExceptionReporter Reporter);
// E is nullptr for a failure that is no std::exception.
void ReportException(const std::exception* E);

// The one exception barrier: runs Step and reports a failure instead of letting it unwind further (through the
// system's frames, or out of the loop or event the caller is in).
template <class F>
void Reported(F&& Step)
{
    try {
        Step();
    } catch (const std::exception& e) {
        ReportException(&e);
    } catch (...) {
        ReportException(nullptr);
    }
}

// True when Caption marks Key as its mnemonic: an "&" before that letter or digit, in either case ("&&" is a plain
// "&"). Captions are drawn with the marked character underlined.
bool IsAccel(WPARAM Key, const std::string& Caption);

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;  // a set of TAnchorKind bits
inline constexpr const char* AlignNames[] = {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};
inline constexpr const char* AnchorNames[] = {"akLeft", "akTop", "akRight", "akBottom"};
enum TMouseButton { mbLeft, mbRight, mbMiddle };

class TWinControl;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // The current window procedure; Perform starts here.
    TWndMethod WindowProc;
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    // Message handling of this class; overrides switch on their messages and call the base class for the rest.
    virtual void WndProc(TMessage& Message);
    // What a message gets when no class handles it.
    virtual void DefaultHandler(TMessage& Message);

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    virtual RECT ClientRect() const { return RECT{0, 0, ClientWidth(), ClientHeight()}; }
    // Client coordinates of this control <-> screen coordinates.
    virtual POINT ClientToScreen(POINT P) const;
    virtual POINT ScreenToClient(POINT P) const;
    // Top-left of the client area relative to the nearest windowed ancestor's client area (0,0 for windowed).
    virtual POINT ClientOrigin() const;

    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    // Visible here and in every parent.
    bool Showing() const;

    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }

    // The caption (window text for windowed controls, through WM_GETTEXT/WM_SETTEXT).
    virtual std::string Caption() const;
    virtual void SetCaption(const std::string& Value);
    int GetTextBuf(char* Buffer, int BufSize) const;
    void SetTextBuf(const char* Buffer);

    virtual void Invalidate();
    virtual void Update();
    // Invalidate and paint at once.
    virtual void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront() { SetZOrder(true); }
    void SendToBack() { SetZOrder(false); }
    // Paints a windowless control on its parent's DC; a windowed one paints itself in its own window.
    virtual void PaintOnParent(HDC) {}

    TNotifyEvent OnClick;
    virtual void Click();

    // Sends Message to every control inside this one, depth first, until one answers (Result != 0).
    virtual void Broadcast(TMessage&) {}

protected:
    // Windowless controls get their text here; windowed ones keep it in the window.
    std::string FCaption;
    virtual void FontChanged();
    virtual void Loaded() override;
    // The parent's font or colour changed; applied when ParentFont/ParentColor is set.
    void ParentFontChanged();
    void ParentColorChanged();
    // Records new bounds without telling anyone (used by windowed controls when the window moved).
    void UpdateBoundsFields(int ALeft, int ATop, int AWidth, int AHeight);
    void RequestAlign();
    // Sets the Visible flag alone (forms show their window themselves).
    void SetVisibleField(bool Value) { FVisible = Value; }
    // Moves the control to the top or the bottom of its parent's z-order.
    virtual void SetZOrder(bool TopMost);

private:
    // A parent lays out, anchors and links its children.
    friend class TWinControl;
    void UpdateAnchorRules();
    // Bounds changed by a caller (not by the parent's alignment): keep the anchors, let the parent realign.
    void BoundsChangedByCaller();
    void TakeParentFont(const TFont& Source);

    TWinControl* FParent = nullptr;
    TAlign FAlign = alNone;
    TAnchors FAnchors = akLeft | akTop;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    // Distances to the parent's right and bottom edges, kept for right/bottom anchors.
    int FAnchorRight = 0, FAnchorBottom = 0;
    bool FAnchorsKnown = false;
    TFont FFont;
    bool FParentFont = true;
    bool FSettingParentFont = false;
    // Client size asked for before the window existed; applied against the real frame when it is created.
    int FPendingClientWidth = -1, FPendingClientHeight = -1;
    TColor FColor = clWindow;
    bool FParentColor = false;
    bool FVisible = true;
    bool FEnabled = true;
    std::string FHint;
    bool FShowHint = false;
};

// A control without a window: its parent paints it in z-order and routes mouse messages to it.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas& Canvas() { return FCanvas; }
    // Paint() on the parent's DC, when shown and in the DC's clip.
    void PaintOnParent(HDC DC) override;

protected:
    void WndProc(TMessage& Message) override;
    // Paints into Canvas(), which is attached to the parent's DC with the origin at this control's top-left and
    // the clip set to its bounds.
    virtual void Paint() {}

private:
    TCanvas FCanvas;
};

// Parameters for creating a control's window.
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    // A stock window class to superclass ("BUTTON", "RichEdit20A"); empty for the layer's own class.
    std::string StockClass;
    UINT ClassStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    HWND Handle();  // creates the window (and its parents') on first use
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }
    void DestroyHandle();
    // A new window for styles that the system reads only at creation; text, children and bounds move across.
    void RecreateWnd();
    // Finds the layer's control for a window of this process; nullptr for foreign windows.
    static TWinControl* FindControl(HWND Wnd);

    // Children: SetParent calls these.
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    // Moves a child to the top or the bottom of the z-order (the list; a child's window moves itself).
    void SetChildZOrder(TControl* Child, bool TopMost);

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const { return FControls.at(static_cast<size_t>(Index)); }
    // The visible, enabled child under a point in client coordinates (windowless children included).
    TControl* ControlAtPos(POINT P, bool AllowDisabled = false) const;

    int TabOrder() const;
    void SetTabOrder(int Value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    // The next windowed control in tab order after Current among this control's descendants.
    TWinControl* FindNextControl(TWinControl* Current, bool GoForward, bool CheckTabStop) const;

    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
    // Lays out aligned and anchored children; Requester (the child whose change asked) goes first among equals.
    void Realign(TControl* Requester = nullptr);
    bool Aligning() const { return FAligning; }
    // While disabled (nesting-counted), alignment requests are collected and run once at the last EnableAlign.
    void DisableAlign();
    void EnableAlign();
    // Puts the windowed children in the tab order their TabOrder values ask for (after a layout set them all).
    void FixupTabList();
    // The client rectangle in which aligned children are placed.
    virtual RECT AlignRect() const { return ClientRect(); }

    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetVisible(bool Value) override;
    void SetEnabled(bool Value) override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    POINT ClientOrigin() const override { return POINT{0, 0}; }
    POINT ClientToScreen(POINT P) const override;
    POINT ScreenToClient(POINT P) const override;
    void Broadcast(TMessage& Message) override;

protected:
    // What a control needs from the form it sits in. Each call walks up the parents; the form overrides it.
    // Control (this one or one inside) got the focus.
    virtual void ControlFocused(TWinControl* Control);
    // Removed, with everything in it, was taken out of this control or one inside it.
    virtual void ControlRemoved(TControl* Removed);
    // Gives Control (this one or one inside) the focus; a form makes it its active control.
    virtual void FocusControl(TWinControl* Control);
    // Hands a button's modal result to the form; false when there is no form.
    virtual bool SetFormModalResult(TModalResult Value);
    // Closes the form as its Close does; false when there is no form.
    virtual bool CloseForm();

    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    // After the window exists: fonts, texts and child windows.
    virtual void CreateHandleDone() {}
    // Paints the windowless children over what the window painted (called from WM_PAINT).
    void PaintControls(HDC DC);
    // Default WM_PAINT for the layer's own class: erase with Color, then the windowless children.
    virtual void PaintWindow(HDC DC);
    // Reflected notifications come back to the control as CN_BASE + message.
    static bool ReflectToChild(TMessage& Message);
    void FontChanged() override;
    void SetZOrder(bool TopMost) override;

private:
    static LRESULT CALLBACK StaticWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    // AControl: the child whose change asked for the alignment; it goes first among equals.
    void AlignControls(TControl* AControl);
    std::vector<TControl*> AlignList(TAlign Align, TControl* AControl) const;
    void ApplyAnchors();
    bool ForwardMouseToGraphic(TMessage& Message);
    // A top-level window, or a child with a border, an edge or scroll bars: a window with a frame to paint.
    bool HasFrame() const;
    void ApplyPendingClientSize();
    void UpdateBounds();
    void WMPaint(TMessage& Message);
    void PaintStockWindow(TMessage& Message);
    void NotifyControls(UINT Msg);
    void MoveTab(int Index);
    void AddTabOrderList(std::vector<TWinControl*>& List) const;

    HWND FHandle = nullptr;
    WNDPROC FDefWndProc = nullptr;
    bool FOwnClass = true;                // the layer's own window class (not a superclassed stock control)
    std::vector<TControl*> FControls;     // z-order, bottom first
    std::vector<TWinControl*> FTabList;   // tab order
    int FTabOrder = -1;                   // as last set; FixupTabList applies it
    bool FTabStop = false;
    bool FDoubleBuffered = false;
    TControl* FMouseCapture = nullptr;    // windowless child that received the press
    bool FAligning = false;
    int FAlignLevel = 0;
    bool FAlignPending = false;
    TControl* FAlignRequester = nullptr;  // the child that asked for a layout that had to wait
    TBrush FBrush;                        // background for reflected WM_CTLCOLOR*
};

// A windowed control of the layer's own class that paints itself on its canvas: in Paint the canvas is on the
// window's DC with the control's colour filled in; outside Paint it is on a screen-compatible memory DC, in the
// control's font, for measuring text.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas& Canvas();

protected:
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;

private:
    std::unique_ptr<TMemoryDC> FMeasureDC;  // declared before the canvas, so freed after it
    TCanvas FCanvas;
};

// A window of the layer's own class that shows nothing and has no parent: its messages go to Handler, which says
// whether it took one (the rest get the default handling). The application's window and timers are made of it.
class TUtilityWindow : public TWinControl {
public:
    using THandler = std::function<bool(TMessage& Message)>;
    // With no style and HWND_MESSAGE as owner: a message-only window, never shown and never enumerated.
    explicit TUtilityWindow(THandler Handler, DWORD Style = 0, HWND Owner = HWND_MESSAGE);

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;

private:
    THandler FHandler;
    DWORD FStyle;
    HWND FOwner;
};

// Fires CM_MOUSEENTER/CM_MOUSELEAVE when the control under the mouse changes; the application calls it at every
// mouse message and when idle.
void UpdateMouseControl();
TControl* MouseControl();
// The control of this process under a screen point: the window there, or the windowless child of it under the point.
TControl* FindDragTarget(POINT Pos, bool AllowDisabled);
