// Menus over the system's menu API: items in a tree, the menu that holds
// them, and popup menus shown at a screen point.
//
// The item tree is the truth; the system menu is built from it whenever it
// is shown, so items may change at any time. Every popup menu is owned by
// one hidden window, which turns the system's owner-draw and command
// messages into the items' events. A menu is owner-drawn when it says so
// or has an image list; its items are then measured and drawn by their
// OnMeasureItem and OnDrawItem handlers (or a plain default).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "Classes.h"
#include "Graphics.h"
#include "Messages.h"
#include "SysLocale.h"
#include "Types.h"

class TImageList;
class TMenu;

// The command numbers of menu items stay below this one: an MDI frame's
// client numbers the children's entries of its window menu from here up.
constexpr UINT FirstMDIChildId = 0xFF00;

// A key with modifiers: the virtual key in the low byte.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;
constexpr TShortCut ShortCut(WORD key, TShortCut modifiers) { return static_cast<TShortCut>((key & 0xFF) | modifiers); }
// "Ctrl+Shift+F5", "Alt+Del", "Ctrl+R"; empty for scNone.
String ShortCutToText(TShortCut shortCut);

class TMenuItem;
// Rebuild: the items' structure or text changed (a menu bar is built
// anew); otherwise only Source's state (checked, enabled, default, image).
using TMenuChangeEvent = std::function<void(TObject* sender, TMenuItem* source, bool rebuild)>;
using TMenuMeasureItemEvent = std::function<void(TObject* sender, TCanvas& canvas, int& width, int& height)>;
using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas& canvas, const TRect& rect, bool selected)>;

// maAutomatic lets a key pick the first item whose caption starts with it
// when no caption carries an "&" for that key; maManual keeps to the "&"s.
enum class TMenuAutoFlag { maAutomatic, maManual, maParent };

// Owns a menu handle of CreatePopupMenu and destroys it (with its sub-menus).
class TMenuHandle {
public:
    TMenuHandle() = default;
    explicit TMenuHandle(HMENU menu) : menu_(menu) {}
    TMenuHandle(const TMenuHandle&) = delete;
    TMenuHandle& operator=(const TMenuHandle&) = delete;
    ~TMenuHandle() { reset(); }
    HMENU get() const { return menu_; }
    HMENU release() { return std::exchange(menu_, nullptr); }
    void reset(HMENU menu = nullptr)
    {
        if (menu_) DestroyMenu(menu_);
        menu_ = menu;
    }

private:
    HMENU menu_ = nullptr;
};

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    // Leaves its parent item and frees its own items.
    ~TMenuItem() override;

    // "-" makes the item a separator line. "&" marks the accelerator.
    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption);
    bool IsLine() const { return caption_ == L"-"; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // -1: no image.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
    TMenuItem* Parent() const { return parent_; }
    // The item leaves any parent it had. An item cannot hold itself or one
    // of its own parents.
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Detaches without freeing.
    void Remove(TMenuItem* item);
    int IndexOf(const TMenuItem* item) const;
    // Frees every sub-item.
    void Clear();
    // The menu whose tree holds this item, or null.
    TMenu* GetParentMenu() const;

    // The command number the system reports when the item is chosen.
    UINT Command() const { return command_; }
    // The system menu that shows the sub-items as last built; null before.
    HMENU SubMenuHandle() const { return builtHandle_; }

    virtual void Click();
    // The owner-draw handlers when assigned, else a plain look.
    void MeasureItem(TCanvas& canvas, int& width, int& height);
    void DrawItem(TCanvas& canvas, const TRect& rect, bool selected);

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

private:
    friend class TMenu;
    friend class TMainMenu;
    void Changed(bool rebuild);
    // Stores the value and tells the menu when it differs.
    template <class T>
    void Update(T& field, const T& value, bool rebuild)
    {
        if (field == value) return;
        field = value;
        Changed(rebuild);
    }
    bool Holds(const TMenuItem* item) const;
    // The enabled, visible item of this tree with that shortcut, or null.
    TMenuItem* FindShortCut(TShortCut shortCut);
    MENUITEMINFOW StateInfo() const;
    // Appends the visible sub-items to Menu, remembering it for WM_MENUCHAR.
    void BuildInto(HMENU menu, bool ownerDraw);
    String MenuText() const;
    TMenuItem* FindByMenuHandle(HMENU menu);
    void DefaultDraw(TCanvas& canvas, const TRect& rect, bool selected);

    String caption_;
    TShortCut shortCut_ = scNone;
    bool checked_ = false;
    bool enabled_ = true;
    bool default_ = false;
    bool visible_ = true;
    int imageIndex_ = -1;
    UINT command_ = 0;
    TMenuItem* parent_ = nullptr;  // not owned
    TMenu* menu_ = nullptr;  // not owned: set on a menu's root item only
    std::vector<TMenuItem*> items_;  // freed by this item unless taken out first
    HMENU builtHandle_ = nullptr;  // not owned: the system menu of the sub-items as last built
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    // The root item; its sub-items are the menu's items. Owned.
    TMenuItem* Items() const { return items_.get(); }

    // Not owned; dropped when the list is freed.
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    virtual bool OwnerDraw() const { return ownerDraw_; }
    virtual void SetOwnerDraw(bool ownerDraw);
    // Owner-drawn or with an image list.
    bool IsOwnerDraw() const { return OwnerDraw() || images_; }
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode mode) { biDiMode_ = mode; }
    TMenuAutoFlag AutoHotkeys() const { return autoHotkeys_; }
    void SetAutoHotkeys(TMenuAutoFlag flag) { autoHotkeys_ = flag; }
    bool IsRightToLeft() const { return UseRightToLeftReading(biDiMode_); }

    // The system menu, built afresh from the items (a menu bar keeps its
    // own until the items change).
    virtual HMENU Handle();
    // Runs the click of the item with that command; false when none has it.
    bool DispatchCommand(UINT command);
    // The item of a command among all live items, or null.
    static TMenuItem* FindItemByCommand(UINT command);
    // The item whose sub-items the system menu Menu shows, or null.
    TMenuItem* FindItemByMenuHandle(HMENU menu);
    // The position to choose for a typed key in the system menu Menu, or -1.
    int MenuCharIndex(HMENU menu, wchar_t key);

    // Runs the click of the enabled item whose shortcut is the key of a
    // WM_KEYDOWN or WM_SYSKEYDOWN with the modifiers held now; false when
    // no item has it.
    bool IsShortCut(const TMessage& message);

    // Told of every change to an item of its tree (Source null: the whole
    // menu); fires OnChange.
    virtual void MenuChanged(TMenuItem* source, bool rebuild);
    TMenuChangeEvent OnChange;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    // The item whose sub-items the system menu shows: the root, unless a
    // menu shows part of another's tree.
    virtual TMenuItem* ShownItems() const { return items_.get(); }
    // A menu bar makes its handle with CreateMenu.
    virtual HMENU NewMenuHandle() const { return CreatePopupMenu(); }
    // Builds the system menu afresh into the menu's own handle.
    HMENU BuildHandle();
    HMENU CurrentHandle() const { return handle_.get(); }
    void ReplaceHandle(HMENU menu) { handle_.reset(menu); }

private:
    TOwned<TMenuItem> items_;
    TMenuHandle handle_;
    TImageList* images_ = nullptr;  // not owned
    bool ownerDraw_ = false;
    TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
    TMenuAutoFlag autoHotkeys_ = TMenuAutoFlag::maAutomatic;
};

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // Fires OnPopup, then shows the menu with its top-left corner at the
    // screen point (top-right for a right-to-left menu) and runs the
    // system's menu loop until it closes. The chosen item's OnClick runs
    // afterwards, from the message loop.
    virtual void Popup(int x, int y);
    // Whether a right click on a control that holds this menu shows it.
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool autoPopup) { autoPopup_ = autoPopup; }
    // The control the menu was last shown for; not owned.
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* component);
    TPoint PopupPoint() const { return popupPoint_; }

    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TComponent* popupComponent_ = nullptr;  // not owned
    TPoint popupPoint_;
    bool autoPopup_ = true;
    bool tracking_ = false;
};

// A form's menu bar. The bar's handle stays while the items change only
// their state; structure and text changes build it anew and put the new
// one on the window the bar is on.
class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;

    HMENU Handle() override;
    // Puts the bar on Window (null: takes it off the window it is on).
    void AttachTo(HWND window);
    HWND Window() const { return window_; }
    void MenuChanged(TMenuItem* source, bool rebuild) override;

protected:
    HMENU NewMenuHandle() const override { return CreateMenu(); }

private:
    HWND window_ = nullptr;  // not owned: the window showing the bar
};

// The menu messages a window with a menu bar gets (owner-drawn items,
// commands, typed keys); true when Message was one of them and answered.
bool DispatchMenuMessage(HWND window, TMessage& message);

// The hidden window that owns every popup menu while it is shown.
HWND PopupListWindow();

// The system's menu font; false (and Font untouched) when the system does
// not answer.
bool GetSystemMenuFont(TFont& font);
