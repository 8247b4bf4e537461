#include "GalleryForm.h"

#include <cstdio>
#include <memory>

#include "AboutForm.h"
#include "VelPublicFun.h"

namespace {

constexpr int GalleryWidth = 560, GalleryHeight = 330;

// Message box flags: the button set in the lowest digit, the icon in the next.
constexpr int ButtonSetCount = 6;
const char* const ButtonSetNames[ButtonSetCount] = {"确定", "确定 取消", "终止 重试 忽略", "是 否 取消", "是 否",
                                                    "重试 取消"};
struct TIconSample {
    const char* Name;
    int Flags;
};
const TIconSample IconSamples[] = {{"错误图标", MB_ICONERROR},
                                   {"询问图标", MB_ICONQUESTION},
                                   {"警告图标", MB_ICONWARNING},
                                   {"信息图标", MB_ICONINFORMATION}};

}  // namespace

TGalleryForm::TGalleryForm(TComponent* AOwner) : TLicenseRootForm(AOwner) {}

void TGalleryForm::InitializeForm()
{
    TLicenseRootForm::InitializeForm();
    SetCaption(GalleryCaption);
    SetPosition(poScreenCenter);
    SetClientWidth(GalleryWidth);
    SetClientHeight(GalleryHeight);

    // The page control in the flat-button look: tabs never selected stay grey (Tag 1), each tab has its hint.
    FPages = new TPageControl(this);
    FPages->SetParent(this);
    FPages->SetAlign(alClient);
    FPages->SetStyle(tsFlatButtons);
    FPages->SetTag(1);
    FPages->SetHint(
        "按钮、标签与多行文本|标签页控件的标签外观|标签多于能显示的标签集|样式消息框与系统消息框|文本框、复选框、单选按钮与下拉列表");
    FPages->SetShowHint(true);
    BuildButtonsPage(AddPage("按钮与文字"));
    BuildTabControlsPage(AddPage("标签页控件"));
    BuildTabSetPage(AddPage("标签集"));
    BuildMessageBoxPage(AddPage("消息框"));
    BuildInputPage(AddPage("输入"));
    ShowPage(0);
    SetActiveControl(FPages);
}

TTabSheet* TGalleryForm::AddPage(const std::string& Title)
{
    auto* sheet = new TTabSheet(this);
    sheet->SetParent(FPages);
    sheet->SetCaption(Title);
    FSheets[static_cast<size_t>(sheet->PageIndex())] = sheet;
    return sheet;
}

void TGalleryForm::ShowPage(int Index) { FPages->SetActivePage(FSheets.at(static_cast<size_t>(Index))); }

TTabControl* TGalleryForm::AddTabControl(TWinControl* Parent, int Top, int Width, int Tabs)
{
    auto* tabs = new TTabControl(this);
    tabs->SetParent(Parent);
    tabs->SetBounds(20, Top, Width, 60);
    for (int i = 1; i <= Tabs; ++i) tabs->Tabs().Add("选项卡" + std::to_string(i));
    return tabs;
}

TButton* TGalleryForm::AddButton(TWinControl* Parent, const std::string& Caption, int Left, int Top, int Width)
{
    auto* button = new TButton(this);
    button->SetParent(Parent);
    button->SetBounds(Left, Top, Width, 25);
    button->SetCaption(Caption);
    return button;
}

TLabel* TGalleryForm::AddLabel(TWinControl* Parent, const std::string& Caption, int Left, int Top)
{
    auto* label = new TLabel(this);
    label->SetParent(Parent);
    label->SetLeft(Left);
    label->SetTop(Top);
    label->SetCaption(Caption);
    return label;
}

void TGalleryForm::BuildButtonsPage(TWinControl* Page)
{
    AddLabel(Page, "按钮：正常、不可用", 20, 16);
    AddButton(Page, "确定", 20, 40);
    AddButton(Page, "取消", 120, 40);
    AddButton(Page, "不可用", 220, 40)->SetEnabled(false);
    AddButton(Page, "关于…", 320, 40)->OnClick = [](TObject*) {
        std::unique_ptr<TAboutForm> about(TCustomForm::Create<TAboutForm>(nullptr));
        about->ShowModal();
    };
    AddLabel(Page, "标签随父控件的字体显示。", 20, 84);
    auto* edit = new TRichEdit(this);
    edit->SetParent(Page);
    edit->SetBounds(20, 110, 400, 120);
    edit->SetText("多行文本框（RichEdit）：\r\n您确认要卸载Quintaro吗？\r\nQuintaro卸载完成！");
    AddLabel(Page, "进度条：", 20, 244);
    auto* bar = new TProgressBar(this);
    bar->SetParent(Page);
    bar->SetBounds(80, 244, 340, 14);
    bar->SetPosition(60);
}

void TGalleryForm::BuildTabControlsPage(TWinControl* Page)
{
    AddLabel(Page, "标签页控件：标签在上方、在下方，多行。", 20, 8);
    AddTabControl(Page, 28, 320, 4)->SetTabIndex(1);
    AddTabControl(Page, 96, 320, 4)->SetTabPosition(tpBottom);
    TTabControl* rows = AddTabControl(Page, 164, 240, 8);
    rows->SetMultiLine(true);
    rows->SetHeight(80);
    rows->SetTabIndex(5);
}

void TGalleryForm::BuildTabSetPage(TWinControl* Page)
{
    AddLabel(Page, "标签集：标签多于能显示的，右端的箭头滚动。", 20, 16);
    auto* tabs = new TTabSet(this);
    tabs->SetParent(Page);
    tabs->SetBounds(20, 44, 400, 24);
    tabs->SetTabHeight(22);
    for (int i = 1; i <= 12; ++i) tabs->Tabs().Add("标签" + std::to_string(i));
    tabs->SetTabIndex(1);
    TLabel* shown = AddLabel(Page, "选中：标签2", 20, 84);
    tabs->OnChange = [tabs, shown](TObject*, int NewTab, bool&) {
        shown->SetCaption(NewTab < 0 ? "选中：无" : "选中：" + tabs->Tabs().Strings(NewTab));
    };
}

void TGalleryForm::BuildMessageBoxPage(TWinControl* Page)
{
    AddLabel(Page, "按钮组（样式消息框）：", 20, 12);
    for (int set = 0; set < ButtonSetCount; ++set) {
        const std::string name = ButtonSetNames[set];
        AddButton(Page, std::to_string(set) + " " + name, 20 + (set % 3) * 170, 34 + (set / 3) * 32, 160)->OnClick =
            [this, name, set](TObject*) { ShowBox("按钮组 " + name, set | MB_ICONINFORMATION, 0); };
    }
    AddLabel(Page, "图标：", 20, 106);
    int left = 20;
    for (const TIconSample& icon : IconSamples) {
        const std::string name = icon.Name;
        const int flags = icon.Flags;
        AddButton(Page, name, left, 128, 100)->OnClick = [this, name, flags](TObject*) { ShowBox(name, flags, 0); };
        left += 110;
    }
    AddButton(Page, "系统消息框", 20, 172, 120)->OnClick = [this](TObject*) {
        ShowBox("系统消息框（方式 1）", MB_OKCANCEL | MB_ICONQUESTION, 1);
    };
    FResult = AddLabel(Page, "结果：", 20, 214);
}

TGroupBox* TGalleryForm::AddGroup(TWinControl* Parent, const std::string& Caption, const RECT& Bounds)
{
    auto* group = new TGroupBox(this);
    group->SetParent(Parent);
    group->SetBounds(Bounds.left, Bounds.top, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top);
    group->SetCaption(Caption);
    return group;
}

TEdit* TGalleryForm::AddEdit(TWinControl* Parent, const std::string& Caption, int Top, const std::string& Text)
{
    auto* edit = new TEdit(this);
    edit->SetParent(Parent);
    edit->SetBounds(90, Top, 140, 21);
    edit->SetText(Text);
    AddLabel(Parent, Caption, 12, Top + 4)->SetFocusControl(edit);
    return edit;
}

template <class TButtonKind>
TButtonKind* TGalleryForm::AddCheck(TWinControl* Parent, const std::string& Caption, int Top, bool Checked)
{
    auto* button = new TButtonKind(this);
    button->SetParent(Parent);
    button->SetBounds(12, Top, 200, 17);
    button->SetCaption(Caption);
    button->SetChecked(Checked);
    return button;
}

void TGalleryForm::BuildInputPage(TWinControl* Page)
{
    TGroupBox* account = AddGroup(Page, "账户", RECT{20, 8, 270, 128});
    AddEdit(account, "用户名(&U)：", 22, "张三")->SetMaxLength(16);
    AddEdit(account, "密码(&P)：", 52, "secret")->SetPasswordChar('*');
    AddEdit(account, "不可用：", 82, "只能看")->SetEnabled(false);

    TGroupBox* options = AddGroup(Page, "选项", RECT{290, 8, 540, 128});
    AddCheck<TCheckBox>(options, "自动更新(&A)", 24, true);
    AddCheck<TCheckBox>(options, "开机时启动(&B)", 50, false);
    AddCheck<TCheckBox>(options, "不可用", 76, true)->SetEnabled(false);

    TGroupBox* connection = AddGroup(Page, "连接方式", RECT{20, 138, 270, 250});
    AddCheck<TRadioButton>(connection, "直接连接(&D)", 24, true);
    AddCheck<TRadioButton>(connection, "使用代理服务器(&X)", 50, false);
    AddCheck<TRadioButton>(connection, "不可用", 76, false)->SetEnabled(false);

    AddLabel(Page, "语言(&L)：", 296, 150)->SetFocusControl(AddCombo(Page, 146, "简体中文\r\nEnglish\r\n日本語"));
    AddCombo(Page, 180, "不可用")->SetEnabled(false);
}

TComboBox* TGalleryForm::AddCombo(TWinControl* Parent, int Top, const std::string& Items)
{
    auto* combo = new TComboBox(this);
    combo->SetParent(Parent);
    combo->SetBounds(370, Top, 170, 21);
    combo->Items().SetText(Items);
    combo->SetItemIndex(0);
    return combo;
}

void TGalleryForm::ShowBox(const std::string& What, int Flags, unsigned char Mode)
{
    const int result = ShowMessageBoxForm(What.c_str(), GalleryCaption, Flags, Mode);
    char flags[16];
    std::snprintf(flags, sizeof flags, "0x%02X", static_cast<unsigned>(Flags));
    FResult->SetCaption("结果：" + What + "（" + flags + "）返回 " + std::to_string(result));
}
