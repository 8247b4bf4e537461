#pragma once
// Shared by the root form, title panel and look pass tests: real forms on the test display, pixels read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "Forms.h"
#include "VelRootFrm.h"
#include "WindowSupport.h"

namespace rootformtest {

// A root form with only the root layout; border style and icons are set before the layout is read, as a derived
// form's own layout would set them before the title panel exists.
template <TFormBorderStyle Style = bsDialog, TBorderIcons Icons = biSystemMenu>
class TTestRootForm : public TLicenseRootForm {
public:
    explicit TTestRootForm(TComponent* AOwner) : TLicenseRootForm(AOwner)
    {
        SetBorderStyle(Style);
        SetBorderIcons(Icons);
    }
};

template <class T>
std::unique_ptr<T> MakeForm()
{
    return std::unique_ptr<T>(TCustomForm::Create<T>(nullptr));
}

using testsupport::Pump;

// A point in a control's client coordinates as a screen-coordinate lParam.
inline LPARAM ScreenPoint(const TControl& Control, int X, int Y)
{
    const POINT p = Control.ClientToScreen(POINT{X, Y});
    return MAKELPARAM(p.x, p.y);
}

// Bounds as "left,top,right,bottom", for comparisons with readable failures.
inline std::string Bounds(const RECT& R)
{
    return std::to_string(R.left) + "," + std::to_string(R.top) + "," + std::to_string(R.right) + "," +
           std::to_string(R.bottom);
}
inline std::string Bounds(int Left, int Top, int Right, int Bottom) { return Bounds(RECT{Left, Top, Right, Bottom}); }

using testsupport::ClientPixel;
using testsupport::WindowPixel;

inline bool SamePixels(TBitmap& A, TBitmap& B)
{
    if (A.Width() != B.Width() || A.Height() != B.Height()) return false;
    for (int y = 0; y < A.Height(); ++y)
        for (int x = 0; x < A.Width(); ++x)
            if (A.Canvas().Pixel(x, y) != B.Canvas().Pixel(x, y)) return false;
    return true;
}

inline std::unique_ptr<TBitmap> ResourceBitmap(int Id)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromResourceID(GetModuleHandleA(nullptr), Id);
    return bitmap;
}

class RootFormFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!Application) Application = new TApplication(nullptr);
    }
    void SetUp() override
    {
        // The real pointer stays away from the forms, so only the tests' messages reach them.
        SetCursorPos(1, 1);
    }
    void TearDown() override { Pump(); }
};

}  // namespace rootformtest
