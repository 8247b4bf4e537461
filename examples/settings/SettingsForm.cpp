#include "SettingsForm.h"

#include "VelPublicFun.h"

TSettingsForm::TSettingsForm(TComponent* AOwner) : TLicenseRootForm(AOwner)
{
    AddLayout("TSETTINGSFORM");
    PublishField("Pages", Pages);
    PublishField("TabGeneral", TabGeneral);
    PublishField("LabelUser", LabelUser);
    PublishField("EditUser", EditUser);
    PublishField("LabelLanguage", LabelLanguage);
    PublishField("ComboLanguage", ComboLanguage);
    PublishField("CheckUpdates", CheckUpdates);
    PublishField("TabNetwork", TabNetwork);
    PublishField("GroupConnection", GroupConnection);
    PublishField("RadioDirect", RadioDirect);
    PublishField("RadioProxy", RadioProxy);
    PublishField("LabelProxy", LabelProxy);
    PublishField("EditProxy", EditProxy);
    PublishField("LabelPort", LabelPort);
    PublishField("EditPort", EditPort);
    PublishField("TabAbout", TabAbout);
    PublishField("LabelAbout", LabelAbout);
    PublishField("BtnOK", BtnOK);
    PublishField("BtnCancel", BtnCancel);
    PublishMethod("BtnOKClick", TNotifyEvent([this](TObject* Sender) { BtnOKClick(Sender); }));
    PublishMethod("BtnCancelClick", TNotifyEvent([this](TObject* Sender) { BtnCancelClick(Sender); }));
    PublishMethod("RadioClick", TNotifyEvent([this](TObject* Sender) { RadioClick(Sender); }));
}

void TSettingsForm::RadioClick(TObject* /*Sender*/)
{
    EditProxy->SetEnabled(RadioProxy->Checked());
    EditPort->SetEnabled(RadioProxy->Checked());
}

void TSettingsForm::BtnOKClick(TObject* /*Sender*/)
{
    std::string text = "用户名：" + EditUser->Text() + "\r\n语言：" + ComboLanguage->Text() + "\r\n检查更新：" +
                       (CheckUpdates->Checked() ? "是" : "否");
    if (RadioProxy->Checked()) text += "\r\n代理：" + EditProxy->Text() + ":" + EditPort->Text();
    ShowMessageBoxForm(text.c_str(), "设置", MB_OK | MB_ICONINFORMATION, 0);
    Close();
}

void TSettingsForm::BtnCancelClick(TObject* /*Sender*/) { Close(); }
