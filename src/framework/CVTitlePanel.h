#pragma once
// The caption bar of the skinned forms: a gradient strip with the form's title and up to five caption buttons.
// Pressing the bar outside the buttons drags the form; the window-state buttons post system commands to it.

#include <string>

#include "Buttons.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

// A caption button: the bar's own background under an opaque, centred glyph; no hover or pressed look.
class TSpeedButtonEx : public TSpeedButton {
public:
    explicit TSpeedButtonEx(TComponent* AOwner) : TSpeedButton(AOwner) {}
    TImage* BackImage() const { return FBackImage; }
    // Not owned: the panel's background image, which outlives its buttons.
    void SetBackImage(TImage* Value) { FBackImage = Value; }

protected:
    void Paint() override;

private:
    TImage* FBackImage = nullptr;
};

class TTitlePanel : public TPanel {
public:
    explicit TTitlePanel(TComponent* AOwner);

    // The root form calls these before its panel exists, so they take the panel and do nothing for nullptr.
    static void SetTitleText(TTitlePanel* Panel, const std::string& Value);
    static void SetCaptionText(TTitlePanel* Panel, const std::string& Value);
    void SetTitleText(const std::string& Value) { SetTitleText(this, Value); }
    void SetCaptionText(const std::string& Value) { SetCaptionText(this, Value); }
    const std::string& TitleText() const { return FTitleText; }
    const std::string& CaptionText() const { return FCaptionText; }

    // Shows the buttons the owner form's border icons ask for and matches maximise/restore to its state.
    void UpdateButtons();

    bool ShowTopicsButton() const { return FShowTopicsButton; }
    void SetShowTopicsButton(bool Value) { FShowTopicsButton = Value; }
    TNotifyEvent& OnTopicsClick() { return FOnTopicsClick; }
    TNotifyEvent& OnHelpClick() { return FOnHelpClick; }

    TSpeedButtonEx* CloseButton() const { return FCloseButton; }
    TSpeedButtonEx* MaxButton() const { return FMaxButton; }
    TSpeedButtonEx* MinButton() const { return FMinButton; }
    TSpeedButtonEx* HelpButton() const { return FHelpButton; }
    TSpeedButtonEx* TopicsButton() const { return FTopicsButton; }
    TImage* Image() const { return FImage; }
    TLabel* TitleLabel() const { return FTitleLabel; }
    TLabel* CaptionLabel() const { return FCaptionLabel; }

    void CloseClick(TObject* Sender);
    void MinimizeClick(TObject* Sender);
    void MaximizeClick(TObject* Sender);
    void RestoreClick(TObject* Sender);
    void TopicsClick(TObject* Sender);
    void HelpClick(TObject* Sender);

    // Replaces Glyph's picture with the numbered bitmap resource of the executable.
    static void LoadGlyph(TBitmap& Glyph, int ResourceId);
    // Places the help button's hint just below it; every other hint is left alone.
    void AppShowHint(std::string& HintStr, bool& CanShow, THintInfo& HintInfo);

protected:
    void WndProc(TMessage& Message) override;

private:
    void CreateImage();
    TLabel* CreateLabel();
    TSpeedButtonEx* CreateButton(bool Enabled, int GlyphId, void (TTitlePanel::*Click)(TObject*));
    void WMNCHitTest(TMessage& Message);
    void CMParentFontChanged(TMessage& Message);
    void PostToParent(UINT Msg, WPARAM WParam, LPARAM LParam);
    void PostSysCommand(WPARAM Command);

    TApplicationEvents* FAppEvents = nullptr;
    bool FShowTopicsButton = false;
    TNotifyEvent FOnTopicsClick;
    TNotifyEvent FOnHelpClick;
    TSpeedButtonEx* FHelpButton = nullptr;
    TSpeedButtonEx* FTopicsButton = nullptr;
    TSpeedButtonEx* FCloseButton = nullptr;
    TSpeedButtonEx* FMaxButton = nullptr;
    TSpeedButtonEx* FMinButton = nullptr;
    TImage* FImage = nullptr;
    std::string FCaptionText;
    TLabel* FTitleLabel = nullptr;
    std::string FTitleText;
    TLabel* FCaptionLabel = nullptr;
};
