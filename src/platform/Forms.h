#pragma once
// Forms, the application object, application events and the hint window.

#include <windows.h>

#include <any>
#include <map>
#include <string>
#include <vector>

#include "Controls.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// A form is a stored layout plus handlers. Construction only registers what the layout may name; the factory
// (CreateForm) then reads the layouts of the class chain, base first, and fires OnCreate.
class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    template <class T>
    static T* Create(TComponent* AOwner)
    {
        T* form = new T(AOwner);
        try {
            // Through the base: each class's override of the layout step is its own protected member.
            static_cast<TCustomForm*>(form)->InitializeForm();
        } catch (...) {
            delete form;
            throw;
        }
        return form;
    }

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState Value);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Value);
    // A canvas in the form's font, for measuring text (a screen-compatible memory DC).
    TCanvas& Canvas();

    void Show();
    void Hide() { SetVisible(false); }
    void Close();
    bool CloseQuery();
    TModalResult ShowModal();
    bool Modal() const { return FModal; }
    // A shown form taken out of its parent becomes a shown top-level window again.
    void SetParent(TWinControl* AParent) override;
    // Frees the form once the messages already queued for it are handled.
    void Release();
    void SetVisible(bool Value) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    // What the stored layout binds by name: fields (components) and published methods (events).
    template <class T>
    void PublishField(const std::string& Name, T*& Field)
    {
        FFields[Name] = [&Field](TComponent* C) {
            Field = dynamic_cast<T*>(C);
            return Field != nullptr;
        };
    }
    void PublishMethod(const std::string& Name, std::any Method) { FMethods[Name] = std::move(Method); }
    // Throws EResourceError when no published method has that name.
    const std::any& FindMethod(const std::string& Name) const;
    // Binds a component created by the layout to the published field of its name, if there is one.
    void BindField(const std::string& Name, TComponent* Component);

protected:
    // Adds the layout resource of one class of the chain; each constructor adds its own, base first.
    void AddLayout(const std::string& ResourceName) { FLayouts.push_back(ResourceName); }
    // Reads the layouts, then OnCreate. Derived classes that add work after the layout override and call it.
    virtual void InitializeForm();
    void ReadLayouts();
    void DoCreate();
    virtual void DoShow();
    virtual void DoClose(TCloseAction& Action);

    void WndProc(TMessage& Message) override;
    void CreateParams(TCreateParams& Params) override;
    // Enter and Escape: the default or focused button, the cancel button; Tab moves the focus.
    bool DialogKey(WPARAM Key);
    virtual void DoHide();

private:
    friend class TWinControl;
    friend class TApplication;
    // The nearest form among a control's parents, the control itself included; nullptr if none.
    static TCustomForm* ParentFormOf(const TControl* Control);
    static void ControlFocused(TWinControl* Control);
    static void ControlRemoved(TWinControl* Parent, TControl* Removed);
    void ShowForm();
    void HideForm();
    void FocusFirstControl();
    void UpdateWindowStyles();
    void CenterOnScreen();
    void CloseModal();
    bool ApplyCloseAction(TCloseAction Action);

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition FPosition = poDesigned;
    TFormStyle FFormStyle = fsNormal;
    TWindowState FWindowState = wsNormal;
    TModalResult FModalResult = mrNone;
    TWinControl* FActiveControl = nullptr;
    bool FModal = false;
    TCanvas* FCanvas = nullptr;
    HDC FCanvasDC = nullptr;
    std::vector<std::string> FLayouts;
    std::map<std::string, std::function<bool(TComponent*)>> FFields;
    std::map<std::string, std::any> FMethods;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

struct THintInfo {
    TControl* HintControl = nullptr;
    POINT HintPos{};           // screen coordinates of the hint window's top-left
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    RECT CursorRect{};
    POINT CursorPos{};
    int ReshowTimeout = 0;     // ms; 0 = no re-evaluation while the mouse rests
    int HideTimeout = 0;       // ms; 0 = the application's HintHidePause
    std::string HintStr;
};

using TShowHintEvent = std::function<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;
// Replaces the standard exception report when assigned; E is nullptr for a failure that is no std::exception.
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception* E)>;

// Application-wide events; every instance is asked in creation order.
class TApplicationEvents : public TComponent {
public:
    explicit TApplicationEvents(TComponent* AOwner);
    ~TApplicationEvents() override;
    TShowHintEvent OnShowHint;
};

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    void Initialize();
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value);
    // The hidden window that owns every form.
    HWND Handle() const { return FHandle; }
    TCustomForm* MainForm() const { return FMainForm; }

    // Creates a form owned by the application; the first one becomes the main form.
    template <class T>
    void CreateForm(T*& Reference)
    {
        Reference = TCustomForm::Create<T>(this);
        if (!FMainForm) FMainForm = Reference;
    }
    // Shows the main form and runs the message loop until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // One message (waits for it when the queue is empty and idles first).
    void HandleMessage();
    void ProcessMessages();
    // The standard exception report: MessageBoxA with the message, the title as caption, MB_OK | MB_ICONSTOP
    // (OnException instead, when assigned).
    void HandleException(const std::exception* E);
    void ShowException(const std::string& Message);
    TExceptionEvent OnException;

    void NormalizeTopMosts();
    void RestoreTopMosts();
    int MessageBox(const char* Text, const char* Caption, UINT Flags);

    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int Value) { FHintHidePause = Value; }
    // Opens the hint for the control under the cursor now (as the hint timer would).
    void ActivateHint(POINT CursorPos);
    void CancelHint();
    bool HintShowing() const;
    HWND HintWindow() const;

private:
    friend class TApplicationEvents;
    friend class TCustomForm;
    friend class TControl;
    // The hidden owner window; forms and message boxes create it when they need it.
    HWND CreateHandle();
    bool ProcessMessage(MSG& Msg);
    void Idle();
    bool IsDialogMessage(MSG& Msg);
    void HintMouseMessage(TControl* Control);
    void HintTimer(UINT_PTR Timer);
    void ShowHintFor(TControl* Control, POINT CursorPos);
    void HideHintWindow();
    void ControlDestroyed(TControl* Control);
    static LRESULT CALLBACK AppWndProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK HintWndProc(HWND, UINT, WPARAM, LPARAM);

    std::string FTitle;
    HWND FHandle = nullptr;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    int FHintHidePause = 2500;
    int FTopMostLevel = 0;
    std::vector<HWND> FTopMostList;
    std::vector<TApplicationEvents*> FEvents;
    HWND FHintWindow = nullptr;
    TControl* FHintControl = nullptr;
    std::string FHintText;
    TColor FHintColor = clInfoBk;
    TFont FHintFont;
};

extern TApplication* Application;

// A plain message dialog: the text, the application title, one OK button, centred.
void ShowMessage(const std::string& Msg);

class TClassRegistry;
// Layout class and property tables of TControl, TWinControl and the forms.
void RegisterControlsClasses(TClassRegistry& Registry);
