// The input controls' house look on real windows: what each state shows, and that the look holds when the system
// control draws itself at once (a check set, the focus moving, an item picked).
#include "CVHouseColors.h"
#include "CVInputStyle.h"
#include "RootFormSupport.h"

using namespace rootformtest;

namespace {

COLORREF Rgb(TColor Color) { return ColorToRGB(Color); }

// Pixels of Color in a rectangle of a control's client area.
int CountColor(TWinControl& Control, const RECT& R, TColor Color)
{
    int n = 0;
    for (int y = R.top; y < R.bottom; ++y)
        for (int x = R.left; x < R.right; ++x) n += testsupport::ClientPixel(Control.Handle(), x, y) == Rgb(Color);
    return n;
}

class InputStyle : public RootFormFixture {
protected:
    void SetUp() override
    {
        RootFormFixture::SetUp();
        RegisterInputStyle();
        Form = MakeForm<TTestRootForm<>>();
        Form->SetBounds(30, 30, 300, 200);
        Check = Add<TCheckBox>(10, 30, 120, 17);
        Edit = Add<TEdit>(10, 60, 120, 21);
        Combo = Add<TComboBox>(10, 90, 120, 21);
        Combo->Items().SetText("一\r\n二");
        Combo->SetItemIndex(0);
        Group = Add<TGroupBox>(150, 30, 120, 80);
        Form->Show();
        Pump();
    }
    template <class T>
    T* Add(int Left, int Top, int Width, int Height)
    {
        T* control = new T(Form.get());
        control->SetParent(Form.get());
        control->SetBounds(Left, Top, Width, Height);
        return control;
    }
    // Inside the check box's box (13 pixels, centred in its height, its frame left out).
    RECT Box() const { return RECT{1, 3, 12, 14}; }

    std::unique_ptr<TTestRootForm<>> Form;
    TCheckBox* Check = nullptr;
    TEdit* Edit = nullptr;
    TComboBox* Combo = nullptr;
    TGroupBox* Group = nullptr;
};

TEST_F(InputStyle, EachStateShowsAndOutlastsTheSystemsOwnDrawing)
{
    const TInputStyleColors& c = InputStyleDefaults;
    Combo->SetFocus();
    Pump();
    EXPECT_EQ(0, CountColor(*Check, Box(), c.Mark));
    EXPECT_EQ(Rgb(c.Frame), testsupport::ClientPixel(Check->Handle(), 0, 8));
    Check->SetChecked(true);
    Pump();
    EXPECT_LT(10, CountColor(*Check, Box(), c.Mark)) << "the tick in the house blue";
    Check->SetFocus();
    Pump();
    EXPECT_EQ(Rgb(c.FocusFrame), testsupport::ClientPixel(Check->Handle(), 0, 8));
    EXPECT_LT(10, CountColor(*Check, Box(), c.Mark)) << "the system's focus drawing did not stay";

    EXPECT_EQ(Rgb(c.Frame), testsupport::WindowPixel(Edit->Handle(), 0, 10));
    EXPECT_EQ(Rgb(clWindow), testsupport::WindowPixel(Edit->Handle(), 1, 10)) << "no sunken edge";
    Edit->SetFocus();
    Pump();
    EXPECT_EQ(Rgb(c.FocusFrame), testsupport::WindowPixel(Edit->Handle(), 0, 10));
    Edit->SetEnabled(false);
    Pump();
    EXPECT_EQ(Rgb(c.DisabledFrame), testsupport::WindowPixel(Edit->Handle(), 0, 10));

    Combo->SetFocus();
    Pump();
    EXPECT_EQ(Rgb(c.FocusFrame), testsupport::ClientPixel(Combo->Handle(), 0, 10));
    EXPECT_EQ(Rgb(c.Mark), testsupport::ClientPixel(Combo->Handle(), 3, 4)) << "the focused field in the house blue";
    Combo->SetItemIndex(1);
    Pump();
    EXPECT_EQ(Rgb(c.Mark), testsupport::ClientPixel(Combo->Handle(), 3, 4));
    EXPECT_EQ("二", Combo->Caption());

    EXPECT_EQ(Rgb(c.GroupFrame), testsupport::ClientPixel(Group->Handle(), 0, 40));
    EXPECT_EQ(Form->Font().Name(), Group->Font().Name()) << "the parent's font";
}

}  // namespace
