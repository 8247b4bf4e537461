#pragma once
// The one window of Settings.exe, from its stored layout: three pages of settings, 确定 and 取消.

#include "InputCtrls.h"
#include "StdCtrls.h"
#include "TabCtrls.h"
#include "VelRootFrm.h"

class TSettingsForm : public TLicenseRootForm {
public:
    explicit TSettingsForm(TComponent* AOwner);

    // Every component the layout names.
    TPageControl* Pages = nullptr;
    TTabSheet* TabGeneral = nullptr;
    TLabel* LabelUser = nullptr;
    TEdit* EditUser = nullptr;
    TLabel* LabelLanguage = nullptr;
    TComboBox* ComboLanguage = nullptr;
    TCheckBox* CheckUpdates = nullptr;
    TTabSheet* TabNetwork = nullptr;
    TGroupBox* GroupConnection = nullptr;
    TRadioButton* RadioDirect = nullptr;
    TRadioButton* RadioProxy = nullptr;
    TLabel* LabelProxy = nullptr;
    TEdit* EditProxy = nullptr;
    TLabel* LabelPort = nullptr;
    TEdit* EditPort = nullptr;
    TTabSheet* TabAbout = nullptr;
    TLabel* LabelAbout = nullptr;
    TButton* BtnOK = nullptr;
    TButton* BtnCancel = nullptr;

    // Shows what was chosen in the house message box, then closes.
    void BtnOKClick(TObject* Sender);
    void BtnCancelClick(TObject* Sender);
    // The proxy's address and port can be typed only when a proxy is used.
    void RadioClick(TObject* Sender);
};
