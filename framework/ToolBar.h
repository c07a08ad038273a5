// A tool bar of captioned buttons, drawn by the bar itself, that can
// serve as a form's menu bar (laid out from the right edge when it reads
// right to left): a button with a menu item drops the item's
// sub-items down under it, Alt+letter and F10 reach the buttons, the arrow
// keys and the mouse move an open drop-down from button to button.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "Controls.h"
#include "Menus.h"
#include "WindowSubclass.h"

class TToolBar;

// A popup of one item's sub-items, drawn and chosen as that item's menu
// would. The item is watched: a freed item leaves an empty drop-down.
class TDropDownMenu : public TPopupMenu {
public:
    explicit TDropDownMenu(TComponent* owner) : TPopupMenu(owner) {}
    TMenuItem* Source() const { return source_; }
    void SetSource(TMenuItem* item);
    bool OwnerDraw() const override;

protected:
    TMenuItem* ShownItems() const override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TMenuItem* source_ = nullptr;  // not owned
};

class TToolButton : public TGraphicControl {
public:
    explicit TToolButton(TComponent* owner);
    ~TToolButton() override;

    void SetParent(TWinControl* parent) override;
    void SetText(const String& text) override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void SetBounds(int left, int top, int width, int height) override;

    // Its place on the bar, or -1.
    int Index() const;
    TToolBar* ToolBar() const { return bar_; }
    bool Grouped() const { return grouped_; }
    void SetGrouped(bool grouped) { grouped_ = grouped; }
    // Width from the caption.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index) { imageIndex_ = index; }
    bool Down() const { return down_; }
    void SetDown(bool down);
    // Not owned; watched. Assigning copies the item's caption, check
    // state, enabled state, hint, image index and visibility.
    TMenuItem* MenuItem() const { return menuItem_; }
    void SetMenuItem(TMenuItem* item);

    // The menu item's click when it has one, else OnClick.
    void Click() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TToolBar;
    void Changed();

    TToolBar* bar_ = nullptr;  // not owned: the parent while it is a tool bar
    TMenuItem* menuItem_ = nullptr;
    bool grouped_ = false;
    bool autoSize_ = false;
    bool down_ = false;
    int imageIndex_ = -1;
};

// The state a button is drawn in.
using TCustomDrawState = unsigned;
enum : unsigned { cdsSelected = 1u << 0, cdsDisabled = 1u << 1, cdsChecked = 1u << 2, cdsHot = 1u << 3 };

using TTBCustomDrawEvent = std::function<void(TToolBar* sender, const TRect& rect, bool& defaultDraw)>;
using TTBCustomDrawBtnEvent =
    std::function<void(TToolBar* sender, TToolButton* button, TCustomDrawState state, bool& defaultDraw)>;

enum TEdgeBorder : unsigned { ebLeft = 1u << 0, ebTop = 1u << 1, ebRight = 1u << 2, ebBottom = 1u << 3 };
using TEdgeBorders = unsigned;

class TToolBar : public TCustomControl {
public:
    // Aligned to the top of its parent.
    explicit TToolBar(TComponent* owner);
    ~TToolBar() override;

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TToolButton* Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)); }

    bool Flat() const { return flat_; }
    void SetFlat(bool flat);
    TEdgeBorders EdgeBorders() const { return edgeBorders_; }
    void SetEdgeBorders(TEdgeBorders borders);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool show);
    bool Wrapable() const { return wrapable_; }
    void SetWrapable(bool wrapable);
    // The bar's height follows its rows of buttons.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    // Given to new buttons.
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int height);

    // The button drawn hot (mouse or keyboard), or null.
    TToolButton* HotButton() const { return hot_; }
    // The button whose drop-down is open, or null.
    TToolButton* DroppedButton() const { return dropped_; }
    // Between F10 (or Alt) and leaving the bar, and while a drop-down is open.
    bool InMenuMode() const { return menuMode_ || dropped_; }

    // Drops the button's sub-items down under it and returns when the
    // menu loop ends (after moving through other buttons as the user
    // asks). False when the button has nothing to drop down.
    bool TrackMenu(TToolButton* button);
    // Runs now, or when the open drop-down has closed: for rebuilding the
    // buttons, which must outlive their drop-down.
    void AfterDropDown(std::function<void()> action);
    // The drop-down while it is open: a temporary popup owned by the bar.
    TDropDownMenu* DropDown() const { return dropDown_; }

    void SetBounds(int left, int top, int width, int height) override;

    TTBCustomDrawEvent OnCustomDraw;
    TTBCustomDrawBtnEvent OnCustomDrawButton;

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;
    void CreateWnd() override;
    // Opens the drop-down (or clicks the button) of the caption holding the
    // accelerator; answers whether one did.
    virtual bool DialogChar(TMessage& message);

private:
    friend class TToolButton;
    friend LRESULT CALLBACK ToolBarMenuFilter(int code, WPARAM wParam, LPARAM lParam);
    void AddButton(TToolButton* button);
    void RemoveButton(TToolButton* button);
    void ArrangeButtons();
    int ButtonWidth(TToolButton* button);
    TToolButton* ButtonAt(int x, int y) const;
    TToolButton* Neighbour(TToolButton* from, int step) const;
    void SetHot(TToolButton* button);
    TCustomDrawState StateOf(TToolButton* button) const;
    void DrawButtonDefault(TToolButton* button, TCustomDrawState state);
    void MouseMessage(TMessage& message);
    bool KeyInMenuMode(WORD key);
    void EnterMenuMode();
    void LeaveMenuMode();
    void DropOnce(TToolButton* button);
    bool FilterMenuMessage(const MSG& msg);
    void WatchForm();
    void UnwatchForm();
    void FormMessage(TMessage& message, const TSubclassNext& next);

    std::vector<TToolButton*> buttons_;  // not owned: the children that are buttons, in order
    TToolButton* hot_ = nullptr;
    TToolButton* pressed_ = nullptr;
    TToolButton* dropped_ = nullptr;
    TToolButton* nextDrop_ = nullptr;  // chosen while a drop-down is open
    POINT dropCursor_{};               // where the cursor was when it opened
    TDropDownMenu* dropDown_ = nullptr;  // owned while open
    std::vector<std::function<void()>> deferred_;
    std::unique_ptr<TWindowSubclass> formWatch_;  // the form's window, for its menu key
    HWND focusBefore_ = nullptr;
    bool menuMode_ = false;
    bool arranging_ = false;
    bool arrangedRightToLeft_ = false;  // buttons laid out from the right
    bool flat_ = false;
    TEdgeBorders edgeBorders_ = ebTop;
    bool showCaptions_ = false;
    bool wrapable_ = true;
    bool autoSize_ = false;
    int buttonHeight_ = 22;
};
