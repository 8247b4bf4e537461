#pragma once
// The house message box: a white dialog with an icon, the text sized to fit and the buttons of a MessageBox flags
// word (digit 1 the button set, digit 2 the icon, digit 3 the default button). It returns the button's result,
// IDOK to IDNO, or IDCANCEL for a close without a button where the button set allows one.

#include <string>
#include <vector>

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "StdCtrls.h"
#include "VelRootFrm.h"

class TVelMessageBoxForm : public TLicenseRootForm {
public:
    // The box's window icon, our mark, whatever the program's own icon is. A number above the program's
    // icon 1, so that Explorer still shows the program's (it takes the first icon, and names sort before numbers).
    static constexpr int IconId = 8010;

    explicit TVelMessageBoxForm(TComponent* AOwner);

    // Call in this order before ShowModal; nothing is laid out until the box is shown.
    void SetMessage(const char* Text);
    // The text goes to the title panel's caption label; the form's own caption is emptied.
    void SetCaption(const char* Text);
    using TLicenseRootForm::SetCaption;
    // Throws EConvertError when the icon digit is A to F.
    void SetStyle(int Flags);

    // The flags word as 8 upper-case hexadecimal digits.
    const std::string& Style() const { return FStyle; }
    int MinWidth() const { return FMinWidth; }
    int MinHeight() const { return FMinHeight; }
    int MaxLines() const { return FMaxLines; }

    // The layout's components (named as in the stored layout).
    TRichEdit* redtMessage = nullptr;
    TPanel* pnlDisplayTop = nullptr;
    TPanel* pnlDisplayRight = nullptr;
    TPanel* pnlDisplayLeft = nullptr;
    TPanel* pnlDisplayBottom = nullptr;
    TPanel* PanelTitle = nullptr;
    TImage* ImageLogo = nullptr;
    TLabel* LabelCaption = nullptr;
    TShape* Shape1 = nullptr;
    TPanel* panButton = nullptr;
    TShape* Shape3 = nullptr;
    TBitBtn* btnCancel = nullptr;
    TBitBtn* btnOK = nullptr;
    TBitBtn* btnRetry = nullptr;
    TBitBtn* btnIgnore = nullptr;
    TBitBtn* btnContinue = nullptr;
    TBitBtn* btnAbort = nullptr;
    TBitBtn* btnYes = nullptr;
    TBitBtn* btnNo = nullptr;
    TBitBtn* btnClose = nullptr;
    TPanel* pnlIcon = nullptr;
    TImage* imgIcon = nullptr;
    TPanel* pnlDisplayInfo = nullptr;
    TImage* imgHintInfo = nullptr;
    TImage* imgLine = nullptr;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);

private:
    void ShowButtonSet(const std::string& Digit);
    void ShowIconKind(const std::string& Digit);
    static void LoadResourceBitmap(TPicture& Picture, const std::string& ResourceName);
    void ArrangeControls();
    void FitWidth();
    void FitHeight();
    void PlaceIconGroup();
    void MeasureButtons(int& Count, int& TotalWidth) const;
    void PlaceButtons();
    void FocusDefaultButton();
    // The nine buttons from left to right as a row shows them.
    std::vector<TBitBtn*> ButtonsLeftToRight() const;
    bool AnyButtonVisible() const;

    int FMinWidth = 0;
    int FMinHeight = 0;
    int FMaxLines = 0;
    std::string FStyle;
};
