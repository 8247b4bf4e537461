#pragma once
// Forms, the application object, application events and the hint window.

#include <windows.h>

#include <any>
#include <memory>
#include <string>
#include <vector>

#include "Controls.h"
#include "LayoutReader.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
// Name tables, in declared order, as stored layouts write them.
inline constexpr const char* FormBorderStyleNames[] = {"bsNone",   "bsSingle",     "bsSizeable",
                                                       "bsDialog", "bsToolWindow", "bsSizeToolWin"};
inline constexpr const char* BorderIconNames[] = {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"};
inline constexpr const char* PositionNames[] = {"poDesigned",     "poDefault",       "poDefaultPosOnly",
                                                "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter",
                                                "poMainFormCenter",  "poOwnerFormCenter"};
inline constexpr const char* WindowStateNames[] = {"wsNormal", "wsMinimized", "wsMaximized"};
inline constexpr const char* FormStyleNames[] = {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"};

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// A form is a stored layout plus handlers. Construction only registers what the layout may name; the factory
// (CreateForm) then reads the layouts of the class chain, base first, and fires OnCreate.
class TCustomForm : public TCustomControl {
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
        FBindings.PublishField(Name, Field);
    }
    void PublishMethod(const std::string& Name, std::any Method) { FBindings.PublishMethod(Name, std::move(Method)); }
    const TLayoutBindings& Bindings() const { return FBindings; }

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
    // Tab moves the focus (Ctrl+Tab goes to every control in order); Enter goes to the focused control, then to every control in order (a focused or
    // default button answers), Escape to every control in order (a cancel button answers).
    bool DialogKey(WPARAM Key);
    // Every control in order, until one answers (CM_DIALOGKEY, or CM_DIALOGCHAR for a mnemonic).
    bool BroadcastDialogKey(WPARAM Key, UINT Msg = CM_DIALOGKEY);
    virtual void DoHide();

    void ControlFocused(TWinControl* Control) override;
    void ControlRemoved(TControl* Removed) override;
    void FocusControl(TWinControl* Control) override;
    bool SetFormModalResult(TModalResult Value) override;
    bool CloseForm() override;

private:
    friend class TApplication;
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
    std::vector<std::string> FLayouts;
    TLayoutBindings FBindings;
};

// The form that a control sits in (the nearest TCustomForm among its parents, itself included); nullptr if none.
TCustomForm* GetParentForm(const TControl* Control);

// Reads a layout onto a form, binding its fields and methods: the RCDATA resource ResourceName, or text (tests
// feed it directly; SourceName appears in error messages).
void ReadFormLayout(TCustomForm& Form, const std::string& ResourceName);
void ReadFormLayoutText(TCustomForm& Form, const std::string& Utf8Text, const std::string& SourceName);

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// The hint's pop-up: a bordered top-most window that never takes the activation or the mouse, its text (the caption)
// on its colour.
class THintWindow : public TCustomControl {
public:
    THintWindow(TComponent* AOwner, HWND Owner);
    // Shows Text sized to fit it wrapped at MaxWidth, its top-left at Pos as far as the screen allows.
    void ActivateHint(POINT Pos, const std::string& Text, int MaxWidth);
    void ReleaseHint();

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Paint() override;

private:
    HWND FOwner;
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
    HWND Handle() const { return FWindow ? FWindow->Handle() : nullptr; }
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
    // Runs Work on a thread of its own while this thread goes on handling its messages, calling Tick about every
    // TickMs; returns once Work has ended, passing on what it threw.
    void RunAside(const std::function<void()>& Work, const std::function<void()>& Tick, DWORD TickMs = 50);
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

protected:
    // The hint's control is gone.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TApplicationEvents;
    friend class TCustomForm;
    // The hidden owner window; forms and message boxes create it when they need it.
    HWND CreateHandle();
    bool ProcessMessage(MSG& Msg);
    void Idle();
    bool IsDialogMessage(MSG& Msg);
    bool IsMnemonic(MSG& Msg);
    void HintMouseMessage(TControl* Control);
    void HintTimer(UINT_PTR Timer);
    void ShowHintFor(TControl* Control, POINT CursorPos);
    void HideHintWindow();
    void SetHintControl(TControl* Control);
    bool WindowMessage(TMessage& Message);

    std::string FTitle;
    std::unique_ptr<TUtilityWindow> FWindow;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    int FHintHidePause = 2500;
    int FTopMostLevel = 0;
    std::vector<HWND> FTopMostList;
    std::vector<TApplicationEvents*> FEvents;
    std::unique_ptr<THintWindow> FHintWindow;  // owned by the application window: declared after it, freed before
    TControl* FHintControl = nullptr;
};

extern TApplication* Application;

// A plain message dialog: the text, the application title, one OK button, centred.
void ShowMessage(const std::string& Msg);

// Layout class and property tables of the forms.
void RegisterFormsClasses(TClassRegistry& Registry);
