#pragma once
// The rich edit control.

#include <vector>

#include "Controls.h"

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
inline constexpr const char* ScrollStyleNames[] = {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};

class TRichEdit : public TWinControl {
public:
    explicit TRichEdit(TComponent* AOwner);
    ~TRichEdit() override;

    // The text's lines as the control holds them (CR LF separated in Text()); the control follows every edit made
    // through the reference.
    TStringList& Lines();
    std::string Text() const;
    void SetText(const std::string& Value);
    // Lines as displayed: the text's own lines further broken where word wrap breaks them.
    int DisplayLineCount();
    // The text of each displayed line (wrapped pieces), without line breaks.
    std::vector<std::string> DisplayLines();

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool BorderStyleSingle() const { return FBorder; }
    void SetBorderStyleSingle(bool Value);
    const std::string& ImeName() const { return FImeName; }
    void SetImeName(const std::string& Value) { FImeName = Value; }
    // The caption of a rich edit is its text.
    std::string Caption() const override { return Text(); }
    void SetCaption(const std::string& Value) override { SetText(Value); }

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& Message) override;

private:
    void ReadLines(const std::string& Value);
    void WriteText(const std::string& Value);
    std::string WindowText() const;
    int LineLength(int Index);
    std::string DisplayLine(int Index);
    void ApplyColor();
    TStringList FLines;
    bool FReadingLines = false;  // the lines take the text: no echo back to it
    std::string FText;           // the text while there is no window
    bool FReadOnly = false;
    bool FWordWrap = true;
    TScrollStyle FScrollBars = ssBoth;
    bool FBorder = true;
    std::string FImeName;
};

// A bar that fills from the left as Position goes from Min to Max. It paints itself: a one-pixel frame in
// FrameColor, the filled part in BarColor over Color. Other programs read it as the system's progress bar does
// (PBM_GETPOS, PBM_GETRANGE).
class TProgressBar : public TCustomControl {
public:
    explicit TProgressBar(TComponent* AOwner);

    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    void SetMin(int Value);
    void SetMax(int Value);
    // Kept between Min and Max.
    void SetPosition(int Value);
    TColor BarColor() const { return FBarColor; }
    void SetBarColor(TColor Value);
    TColor FrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor Value);

protected:
    void Paint() override;
    void WndProc(TMessage& Message) override;

private:
    void SetRange();
    int FilledWidth(int Position) const;

    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    TColor FBarColor = clHighlight;
    TColor FFrameColor = clBtnShadow;
};

class TClassRegistry;
// Layout class and property tables of this unit.
void RegisterComCtrlsClasses(TClassRegistry& Registry);
