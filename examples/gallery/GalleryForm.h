#pragma once
// The gallery of the framework: one root form whose pages show each component in the house look.

#include <array>
#include <string>

#include "ComCtrls.h"
#include "InputCtrls.h"
#include "StdCtrls.h"
#include "TabCtrls.h"
#include "Tabs.h"
#include "VelRootFrm.h"

inline constexpr const char* GalleryCaption = "框架样式";

class TGalleryForm : public TLicenseRootForm {
public:
    static constexpr int PageCount = 5;

    explicit TGalleryForm(TComponent* AOwner);
    // Shows page Index (0 to PageCount - 1); Ctrl+Tab and Ctrl+Shift+Tab page forward and back from anywhere.
    void ShowPage(int Index);
    int PageIndex() const { return FPages->ActivePage()->PageIndex(); }

protected:
    void InitializeForm() override;

private:
    TTabSheet* AddPage(const std::string& Title);
    void BuildButtonsPage(TWinControl* Page);
    void BuildTabControlsPage(TWinControl* Page);
    void BuildTabSetPage(TWinControl* Page);
    void BuildMessageBoxPage(TWinControl* Page);
    void BuildInputPage(TWinControl* Page);
    TGroupBox* AddGroup(TWinControl* Parent, const std::string& Caption, const RECT& Bounds);
    // A label with a mnemonic before a text field that it gives the focus to.
    TEdit* AddEdit(TWinControl* Parent, const std::string& Caption, int Top, const std::string& Text);
    template <class TButtonKind>
    TButtonKind* AddCheck(TWinControl* Parent, const std::string& Caption, int Top, bool Checked);
    // A drop-down list of the given lines, the first one picked.
    TComboBox* AddCombo(TWinControl* Parent, int Top, const std::string& Items);
    TTabControl* AddTabControl(TWinControl* Parent, int Top, int Width, int Tabs);
    TButton* AddButton(TWinControl* Parent, const std::string& Caption, int Left, int Top, int Width = 90);
    TLabel* AddLabel(TWinControl* Parent, const std::string& Caption, int Left, int Top);
    void ShowBox(const std::string& What, int Flags, unsigned char Mode);

    TPageControl* FPages = nullptr;
    std::array<TTabSheet*, PageCount> FSheets{};
    TLabel* FResult = nullptr;
};
