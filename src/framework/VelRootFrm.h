#pragma once
// The base of every window of the program: a flat painted frame instead of the system frame, the title panel
// instead of the system caption, and the house look given to the owned components at every show.

#include <memory>

#include "CVTitlePanel.h"
#include "Forms.h"

// A look for a class of controls that not every program links (the tab controls, the tab set): true when
// Component is of that class and now has the look. The unit of such a look adds its rule once at start-up; the pass
// tries the added rules, in the order added, after its own, so a program that adds none links none of those controls.
using THouseLookRule = bool (*)(TComponent* Component);
// Adding a rule again changes nothing.
void AddHouseLookRule(THouseLookRule Rule);
// The rule that gives each control of class TControlType the style Create makes in Colors.
template <class TControlType, auto Create, const auto& Colors>
bool HouseLookRule(TComponent* Component)
{
    auto* control = dynamic_cast<TControlType*>(Component);
    if (control) Create(control, Colors);
    return control != nullptr;
}

class TLicenseRootForm : public TForm {
public:
    explicit TLicenseRootForm(TComponent* AOwner);
    ~TLicenseRootForm() override;

    // Bound to OnShow by the root layout; derived forms with their own show handler call it first.
    void FormShow(TObject* Sender);
    // The look pass over Container's owned components; each component is handled once in the form's life.
    virtual void SkinComponents(TComponent* Container);

    // The icon resource the window shows as its big and small icon (Alt+Tab, taskbar); the program's icon, 1,
    // unless the form names another before its window is made.
    static constexpr int ProgramIconId = 1;
    void SetIconId(int Id) { FIconId = Id; }

    TTitlePanel* TitlePanel() const { return FTitlePanel; }
    int FrameWidth() const { return FFrameWidth; }
    bool LowColor() const { return FLowColor; }
    // The components the look pass has examined.
    const TList& Skinned() const { return *FSkinned; }

protected:
    void InitializeForm() override;
    void CreateHandleDone() override;
    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void WMNCCalcSize(TMessage& Message);
    void WMNCPaint(TMessage& Message);
    void WMNCHitTest(TMessage& Message);
    void WMSetText(TMessage& Message);
    void WMSetCursor(TMessage& Message);
    void WMWindowPosChanged(TMessage& Message);
    void WMSysCommand(TMessage& Message);
    bool TitlePanelShown() const;
    void RepaintTitlePanel();
    void InvalidateTitlePanelEdge();
    void FrameRefresh();
    void ApplyHouseLook(TComponent* Component);

    int FIconId = ProgramIconId;
    int FFrameWidth = 0;
    bool FLowColor = false;
    TTitlePanel* FTitlePanel = nullptr;
    std::unique_ptr<TList> FSkinned;
};
