#pragma once
// The one window of Hello.exe, from its stored layout: a label, a tab control and two buttons.

#include "StdCtrls.h"
#include "TabCtrls.h"
#include "VelRootFrm.h"

class THelloForm : public TLicenseRootForm {
public:
    explicit THelloForm(TComponent* AOwner);

    TLabel* LabelHello = nullptr;
    TTabControl* TabsDays = nullptr;
    TButton* BtnShow = nullptr;
    TButton* BtnClose = nullptr;

    // Tells which tab is selected in the house message box.
    void BtnShowClick(TObject* Sender);
    void BtnCloseClick(TObject* Sender);
};
