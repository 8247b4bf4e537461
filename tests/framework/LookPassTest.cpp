// The look pass at show time: what each kind of owned component gets, once, and what is left alone.
#include <algorithm>
#include <initializer_list>
#include <vector>

#include "Buttons.h"
#include "CVButtonStyle.h"
#include "CVTabSetStyle.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "RootFormSupport.h"
#include "PublishedNames.h"

using namespace rootformtest;

namespace {

// Added rules: one that takes every shape, one that only records what it is offered.
int ShapeRuleCalls = 0;
std::vector<const TComponent*> Offered;

bool TakeShapes(TComponent* Component)
{
    if (!dynamic_cast<TShape*>(Component)) return false;
    ++ShapeRuleCalls;
    return true;
}

bool RecordOffered(TComponent* Component)
{
    Offered.push_back(Component);
    return false;
}

int CountStyles(const TComponent& Owner)
{
    int n = 0;
    for (int i = 0; i < Owner.ComponentCount(); ++i) n += dynamic_cast<TButtonStyle*>(Owner.Components(i)) != nullptr;
    return n;
}

// A form with a panel of its own font holding one component of each kind the pass tells apart.
class TLookForm : public TTestRootForm<bsDialog> {
public:
    explicit TLookForm(TComponent* AOwner) : TTestRootForm<bsDialog>(AOwner) {}

    TPanel* Host = nullptr;
    TLabel* Label = nullptr;
    TLabel* OptOut = nullptr;
    TRichEdit* Rich = nullptr;
    TBitBtn* BitButton = nullptr;
    TButton* Button = nullptr;
    TShape* Shape = nullptr;
    TImage* Image = nullptr;

    template <class T>
    T* Add(TWinControl* Parent, int FontHeight)
    {
        T* c = new T(this);
        c->SetParent(Parent);
        c->SetParentFont(false);
        c->Font().SetHeight(FontHeight);
        return c;
    }

protected:
    void InitializeForm() override
    {
        TTestRootForm<bsDialog>::InitializeForm();
        Host = Add<TPanel>(this, -16);
        Host->SetAlign(alClient);
        Host->SetColor(RGBColor(239, 239, 239));
        Label = Add<TLabel>(Host, -20);
        Label->SetAutoSize(false);
        Label->SetBounds(10, 10, 5, 5);
        Label->SetCaption("标签");
        OptOut = Add<TLabel>(Host, -15);
        OptOut->SetTag(-1);
        OptOut->SetAutoSize(false);
        OptOut->SetBounds(10, 40, 5, 5);
        OptOut->SetCaption("您确认要卸载Quintaro吗？");
        Rich = Add<TRichEdit>(Host, -20);
        Rich->SetBounds(10, 70, 100, 40);
        Rich->SetImeName("Chinese (Simplified) - Microsoft Pinyin");
        BitButton = Add<TBitBtn>(Host, -12);
        BitButton->SetBounds(120, 10, 66, 23);
        Button = Add<TButton>(Host, -12);
        Button->SetBounds(120, 40, 66, 23);
        Button->SetVisible(false);
        Shape = Add<TShape>(Host, -12);
        Shape->SetBounds(0, 0, 200, 1);
        Image = Add<TImage>(Host, -12);
        Image->SetBounds(200, 10, 20, 20);
    }
};

class LookPass : public RootFormFixture {
protected:
    void SetUp() override
    {
        RootFormFixture::SetUp();
        Form = MakeForm<TLookForm>();
        Form->SetBounds(100, 100, 320, 220);
    }
    void ShowAndHide()
    {
        Form->Show();
        Pump();
        Form->Hide();
        Pump();
    }
    int StyleCount() const { return CountStyles(*Form); }
    bool Skinned(const TComponent* C) const { return Form->Skinned().IndexOf(C) >= 0; }

    std::unique_ptr<TLookForm> Form;
};

}  // namespace

TEST_F(LookPass, EachButtonGetsOneStyleHoweverOftenShown)
{
    ShowAndHide();
    EXPECT_EQ(2, StyleCount()) << "the bit button and the hidden plain button";
    ShowAndHide();
    ShowAndHide();
    EXPECT_EQ(2, StyleCount());
    for (int i = 0; i < Form->ComponentCount(); ++i)
        EXPECT_TRUE(Skinned(Form->Components(i)) || Form->Components(i) == Form->OptOut)
            << "the second show records the styles the first one made";
}

TEST_F(LookPass, LabelsAndRichEditsTakeTheirParentsFont)
{
    ShowAndHide();
    EXPECT_TRUE(Form->Label->ParentFont());
    EXPECT_TRUE(Form->Label->AutoSize());
    EXPECT_EQ(-16, Form->Label->Font().Height()) << "the panel's font, not the form's";
    EXPECT_GT(Form->Label->Width(), 5) << "sized to its text";
    EXPECT_TRUE(Form->Rich->ParentFont());
    EXPECT_EQ(-16, Form->Rich->Font().Height());
    EXPECT_EQ("", Form->Rich->ImeName());
}

TEST_F(LookPass, TagMinusOneIsLeftAloneAndNotRecorded)
{
    ShowAndHide();
    ShowAndHide();
    EXPECT_FALSE(Skinned(Form->OptOut));
    EXPECT_FALSE(Form->OptOut->ParentFont());
    EXPECT_EQ(-15, Form->OptOut->Font().Height());
    EXPECT_FALSE(Form->OptOut->AutoSize());
    EXPECT_EQ(5, Form->OptOut->Width());
}

TEST_F(LookPass, PanelsShapesAndImagesAreRecordedUnchanged)
{
    ShowAndHide();
    for (TComponent* c : std::initializer_list<TComponent*>{Form->Host, Form->Shape, Form->Image, Form->TitlePanel()})
        EXPECT_TRUE(Skinned(c));
    EXPECT_FALSE(Form->Host->ParentFont());
    EXPECT_EQ(-16, Form->Host->Font().Height());
    EXPECT_EQ(RGBColor(239, 239, 239), Form->Host->Color());
    EXPECT_FALSE(Form->Shape->ParentFont());
    EXPECT_EQ(Bounds(200, 10, 220, 30), Bounds(Form->Image->BoundsRect()));
}

TEST_F(LookPass, TitlePanelsOwnComponentsAreNotVisited)
{
    ShowAndHide();
    TTitlePanel* bar = Form->TitlePanel();
    for (int i = 0; i < bar->ComponentCount(); ++i) EXPECT_FALSE(Skinned(bar->Components(i)));
    EXPECT_EQ(clWindow, bar->TitleLabel()->Font().Color()) << "the title keeps its own colour";
    EXPECT_TRUE(bar->TitleLabel()->Font().Style() & fsBold);
}

TEST_F(LookPass, ComponentsAddedLaterAreHandledAtTheNextShow)
{
    ShowAndHide();
    TLabel* late = Form->Add<TLabel>(Form->Host, -30);
    late->SetCaption("后来");
    TBitBtn* lateButton = Form->Add<TBitBtn>(Form->Host, -12);
    EXPECT_FALSE(late->ParentFont());
    ShowAndHide();
    EXPECT_TRUE(late->ParentFont());
    EXPECT_EQ(-16, late->Font().Height());
    EXPECT_TRUE(Skinned(lateButton));
    EXPECT_EQ(3, StyleCount());
}

TEST_F(LookPass, ATabSetGetsOneStyleInTheHouseColours)
{
    RegisterTabSetStyle();
    auto* tabs = Form->Add<TTabSet>(Form->Host, -12);
    tabs->SetBounds(10, 120, 200, 24);
    tabs->Tabs().Add("一");
    tabs->Tabs().Add("二");
    tabs->SetTabIndex(0);
    ShowAndHide();
    ShowAndHide();
    int styles = 0;
    for (int i = 0; i < Form->ComponentCount(); ++i) styles += dynamic_cast<TTabSetStyle*>(Form->Components(i)) != nullptr;
    EXPECT_EQ(1, styles);
    Form->Show();
    RedrawWindow(tabs->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    const RECT selected = tabs->ItemRect(0);
    EXPECT_EQ(RGB(81, 111, 171), ClientPixel(tabs->Handle(), 199, 0)) << "the top line in the border colour";
    EXPECT_EQ(RGB(221, 231, 243), ClientPixel(tabs->Handle(), selected.left + 1, 3)) << "the selected tab's fill";
}

TEST_F(LookPass, AddedRulesGetOnlyWhatTheFormsOwnRulesLeaveInTheOrderAddedOnce)
{
    AddHouseLookRule(TakeShapes);
    AddHouseLookRule(RecordOffered);
    AddHouseLookRule(TakeShapes);
    ShapeRuleCalls = 0;
    Offered.clear();
    ShowAndHide();
    ShowAndHide();
    EXPECT_EQ(1, ShapeRuleCalls) << "added twice, tried once per component";
    auto offered = [](const TComponent* C) { return std::count(Offered.begin(), Offered.end(), C); };
    EXPECT_EQ(1, offered(Form->Image));
    EXPECT_EQ(0, offered(Form->Shape)) << "the earlier rule took it";
    for (const TComponent* own : std::initializer_list<const TComponent*>{Form->Host, Form->Label, Form->OptOut,
                                                                          Form->Rich, Form->Button, Form->BitButton})
        EXPECT_EQ(0, offered(own)) << own->Name();
}

TEST_F(LookPass, FreedComponentLeavesTheRecord)
{
    ShowAndHide();
    TLabel* label = Form->Label;
    ASSERT_TRUE(Skinned(label));
    const int before = Form->Skinned().Count();
    delete label;
    EXPECT_FALSE(Skinned(label)) << "a new component at the same address must not be passed over";
    EXPECT_EQ(before - 1, Form->Skinned().Count());
    TLabel* next = Form->Add<TLabel>(Form->Host, -30);
    ShowAndHide();
    EXPECT_TRUE(next->ParentFont());
}

namespace {

// The product's own layouts on a bare root form: what the title bar and the look pass make of them.
class TBoxLayoutForm : public TLicenseRootForm {
public:
    explicit TBoxLayoutForm(TComponent* AOwner) : TLicenseRootForm(AOwner)
    {
        AddLayout("TVELMESSAGEBOXFORM");
        PublishMethod("FormCreate", TNotifyEvent([](TObject*) {}));
        PublishMethod("FormCloseQuery", TCloseQueryEvent([](TObject*, bool&) {}));
    }
    const testsupport::TPublishedNames Fields{
        *this, {"pnlDisplayTop", "pnlDisplayRight", "pnlDisplayLeft", "pnlDisplayBottom", "PanelTitle", "ImageLogo",
                "LabelCaption", "Shape1", "panButton", "Shape3", "btnCancel", "btnOK", "btnRetry", "btnIgnore",
                "btnContinue", "btnAbort", "btnYes", "btnNo", "btnClose", "pnlIcon", "imgIcon", "imgHintInfo",
                "imgLine", "pnlDisplayInfo", "redtMessage"}};
};

class TConfirmLayoutForm : public TLicenseRootForm {
public:
    explicit TConfirmLayoutForm(TComponent* AOwner) : TLicenseRootForm(AOwner)
    {
        AddLayout("TFORM1");
        PublishMethod("FormCreate", TNotifyEvent([](TObject*) {}));
        PublishMethod("FormClose", TCloseEvent([](TObject*, TCloseAction&) {}));
        PublishMethod("BtnNextClick", TNotifyEvent([](TObject*) {}));
        PublishMethod("BtnCancelClick", TNotifyEvent([](TObject*) {}));
    }
    const testsupport::TPublishedNames Fields{*this,
                                              {"PanelSet5", "Label8", "panButton", "Shape12", "BtnNext", "BtnCancel"}};
};

template <class T>
T* Find(TComponent& Owner, const char* Name)
{
    T* c = dynamic_cast<T*>(Owner.FindComponent(Name));
    EXPECT_NE(nullptr, c) << Name;
    return c;
}

}  // namespace

TEST_F(LookPass, TitleBarGoesAboveTheLayoutsTopPanels)
{
    auto form = MakeForm<TBoxLayoutForm>();
    EXPECT_EQ(form->TitlePanel(), form->Components(form->ComponentCount() - 1))
        << "made after every component of the layouts";
    form->Show();
    Pump();
    EXPECT_EQ(0, form->TitlePanel()->Top());
    EXPECT_EQ(form->ClientWidth(), form->TitlePanel()->Width());
    EXPECT_EQ(22, Find<TPanel>(*form, "pnlDisplayTop")->Top());
    EXPECT_EQ(32, Find<TPanel>(*form, "pnlIcon")->Top());
    EXPECT_EQ(" ", form->TitlePanel()->TitleLabel()->Caption().substr(0, 1));
    form->Hide();
    form->Show();
    Pump();
    EXPECT_EQ(9, CountStyles(*form)) << "all nine bit buttons, shown or not, once";
    EXPECT_TRUE(Find<TRichEdit>(*form, "redtMessage")->ParentFont());
}

TEST_F(LookPass, ConfirmationLayoutKeepsTheQuestionsOwnFont)
{
    auto form = MakeForm<TConfirmLayoutForm>();
    TLabel* question = Find<TLabel>(*form, "Label8");
    const int height = question->Font().Height();
    const TColor color = question->Font().Color();
    form->Show();
    Pump();
    EXPECT_EQ(2, CountStyles(*form));
    EXPECT_EQ(-1, form->Skinned().IndexOf(question));
    EXPECT_EQ(height, question->Font().Height());
    EXPECT_EQ(color, question->Font().Color());
    EXPECT_TRUE(question->Font().Style() & fsBold);
    EXPECT_EQ(10, form->TitlePanel()->Font().Size()) << "the window's font height -13";
    EXPECT_EQ(" Quintaro卸载", form->TitlePanel()->TitleLabel()->Caption());
    EXPECT_TRUE(form->TitlePanel()->CloseButton()->Visible());
    EXPECT_FALSE(form->TitlePanel()->MaxButton()->Visible());
    EXPECT_EQ(22, Find<TPanel>(*form, "PanelSet5")->Top());
}
