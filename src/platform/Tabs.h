#pragma once
// The tab set: the framework's own custom-drawn tab bar (not a common control).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Classes.h"
#include "Controls.h"

// Asked before the selection moves to NewTab; clearing AllowChange keeps the old tab.
using TTabChangeEvent = std::function<void(TObject* Sender, int NewTab, bool& AllowChange)>;

class TTabScroller;

// A row of tabs hanging from the top edge. When the tabs from FirstIndex on do not fit, two small arrow buttons at
// the right end scroll the row by one tab. A click on a tab or the left and right arrow keys select; OnClick follows
// a selection made with the mouse.
class TTabSet : public TCustomControl {
public:
    explicit TTabSet(TComponent* AOwner);
    ~TTabSet() override;

    // The captions; the row follows every change made through the reference.
    TStringList& Tabs() { return FTabs; }
    // The selected tab, -1 for none. A change asks OnChange first; an index out of range selects nothing.
    int TabIndex() const { return FTabIndex; }
    void SetTabIndex(int Value);
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int Value);
    // The first tab shown and how many fit from there.
    int FirstIndex() const { return FFirstIndex; }
    void SetFirstIndex(int Value);
    int VisibleTabs() const { return static_cast<int>(FTabPositions.size()); }
    // The rectangle of the V-th visible tab, (0, 0, 0, 0) for any V without one.
    RECT ItemRect(int V) const;
    // The tab under a client point, -1 for none.
    int ItemAtPos(POINT P) const;
    // Whether the arrow buttons are shown.
    bool Scrolling() const;

    TTabChangeEvent OnChange;

protected:
    void Paint() override;
    void WndProc(TMessage& Message) override;
    void FontChanged() override;

private:
    friend class TTabScroller;
    // Measures the tabs from FirstIndex on and places the arrow buttons.
    void UpdateLayout();
    void SelectByKey(int Step);
    void SelectByMouse(POINT P);
    TStringList FTabs;
    int FTabIndex = -1;
    int FTabHeight = 20;
    int FFirstIndex = 0;
    // One entry per visible tab: its width in the low 16 bits, its start x in the high 16 bits.
    std::vector<uint32_t> FTabPositions;
    TTabScroller* FScroller = nullptr;  // a child, owned by this control
};

class TClassRegistry;
// Layout class and property tables of this unit.
void RegisterTabsClasses(TClassRegistry& Registry);
