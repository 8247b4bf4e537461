#include "HelloForm.h"

#include "VelPublicFun.h"

THelloForm::THelloForm(TComponent* AOwner) : TLicenseRootForm(AOwner)
{
    AddLayout("THELLOFORM");
    PublishField("LabelHello", LabelHello);
    PublishField("TabsDays", TabsDays);
    PublishField("BtnShow", BtnShow);
    PublishField("BtnClose", BtnClose);
    PublishMethod("BtnShowClick", TNotifyEvent([this](TObject* Sender) { BtnShowClick(Sender); }));
    PublishMethod("BtnCloseClick", TNotifyEvent([this](TObject* Sender) { BtnCloseClick(Sender); }));
}

void THelloForm::BtnShowClick(TObject* /*Sender*/)
{
    const std::string text = "选中的是“" + TabsDays->Tabs().Strings(TabsDays->TabIndex()) + "”。";
    ShowMessageBoxForm(text.c_str(), "你好", MB_OK | MB_ICONINFORMATION, 0);
}

void THelloForm::BtnCloseClick(TObject* /*Sender*/) { Close(); }
