#pragma once
// The gallery of the framework: one root form whose pages show each component in the house look.

#include <array>
#include <string>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "StdCtrls.h"
#include "Tabs.h"
#include "VelRootFrm.h"

inline constexpr const char* GalleryCaption = "框架样式";

class TGalleryForm : public TLicenseRootForm {
public:
    static constexpr int PageCount = 4;

    explicit TGalleryForm(TComponent* AOwner);
    // Shows page Index (0 to PageCount - 1); Ctrl+Tab and Ctrl+Shift+Tab page forward and back from anywhere.
    void ShowPage(int Index);
    int PageIndex() const { return FPages.TabIndex(); }

protected:
    void InitializeForm() override;
    void WndProc(TMessage& Message) override;

private:
    // The page selector and the pages it shows.
    struct TPageSet {
        TTabSet* Selector = nullptr;
        std::array<TPanel*, PageCount> Pages{};
        int TabIndex() const { return Selector->TabIndex(); }
    };
    TPanel* AddPage(const std::string& Title);
    void BuildButtonsPage(TPanel* Page);
    void BuildTabControlsPage(TPanel* Page);
    void BuildTabSetPage(TPanel* Page);
    void BuildMessageBoxPage(TPanel* Page);
    TButton* AddButton(TWinControl* Parent, const std::string& Caption, int Left, int Top, int Width = 90);
    TLabel* AddLabel(TWinControl* Parent, const std::string& Caption, int Left, int Top);
    void ShowBox(const std::string& What, int Flags, unsigned char Mode);

    TPageSet FPages;
    TLabel* FResult = nullptr;
};
