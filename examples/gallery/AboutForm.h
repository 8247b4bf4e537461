#pragma once
// The gallery's "about" window: a root form made wholly from a stored layout among the gallery's own resources.

#include "Buttons.h"
#include "StdCtrls.h"
#include "VelRootFrm.h"

class TAboutForm : public TLicenseRootForm {
public:
    explicit TAboutForm(TComponent* AOwner);

    TLabel* LabelName = nullptr;
    TLabel* LabelText = nullptr;
    TBitBtn* BtnOK = nullptr;
};
