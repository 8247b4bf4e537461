#include "AboutForm.h"

TAboutForm::TAboutForm(TComponent* AOwner) : TLicenseRootForm(AOwner)
{
    AddLayout("TABOUTFORM");
    PublishField("LabelName", LabelName);
    PublishField("LabelText", LabelText);
    PublishField("BtnOK", BtnOK);
}
