// A skinned form's menu bar: a tool bar with one button per top item of a
// main menu, whose drop-downs the framework's tool bar opens, and the
// holder that keeps such a bar for a frame.
//
// A frame owns one TkypFormMenuBar (made with New<TkypFormMenuBar>(frame,
// host), freed with the frame's components) and forwards its Menu, its
// MenuBarColor, MenuBarToColor and MenuBarHeight properties and the
// operations UpdateMenu, UpdateTopMenu and RepaintMenuBar to it. The frame
// answers the holder's questions through IkypMenuBarHost.
#pragma once

#include <functional>
#include <memory>

#include "Graphics.h"
#include "KYPFrameMetrics.h"
#include "KYPLifeToken.h"
#include "KYPMainMenu.h"
#include "KYPMenuBarPaint.h"
#include "KYPMgr.h"
#include "KYPStyle.h"
#include "ToolBar.h"

// The frame a menu bar sits on, as the holder sees it.
class IkypMenuBarHost {
public:
    // The panel the bar is put on (aligned to its top).
    virtual TWinControl* MenuBarParent() = 0;
    // The frame's UIStyle and FileTheme (the theme may be null).
    virtual TkypUIStyle MenuBarStyle() const = 0;
    virtual TkypFileTheme* MenuBarTheme() const = 0;
    // False for the frame of an MDI child, whose menu its parent shows.
    virtual bool MenuBarAllowed() const = 0;
    virtual bool MenuBarDesigning() const = 0;
    // The bar was made, freed or resized: keep the title bar above it
    // (its Top := 0) and repaint the border.
    virtual void MenuBarPlaced() = 0;
    // The menu whose font and look the bar takes while the holder holds
    // none (a frame whose bar a source fills).
    virtual TMainMenu* MenuBarOwnMenu() const { return nullptr; }

protected:
    ~IkypMenuBarHost() = default;
};

// What a bar asks of whoever fills it.
class IkypMenuBarSource {
public:
    // The menu the bar shows now, or null.
    virtual TMenu* ShownMenu() const = 0;

protected:
    ~IkypMenuBarSource() = default;
};

class TkypMenuBar : public TToolBar {
public:
    explicit TkypMenuBar(TComponent* owner) : TToolBar(owner) {}

    IkypMenuBarSource* Source() const { return m_Source; }
    void SetSource(IkypMenuBarSource* source) { m_Source = source; }

    // Given as OnPopup to every drop-down the bar makes: the drop-down
    // picks accelerators for its items as the shown menu does.
    void SyncPopupHotkeys(TObject* sender);

    // One button per item of Root, in order, reusing the buttons the bar
    // has; the font first follows FontMenu's size (a TkypMainMenu's).
    void FitButtons(TMenuItem* root, const TMainMenu* fontMenu);
    // Runs Fit now, or once the open drop-down has closed: the buttons
    // must outlive their drop-down. Asked again meanwhile, only the last
    // one runs, and only while Alive has not expired.
    void FitWhenClosed(std::weak_ptr<const void> alive, std::function<void()> fit);

protected:
    // With Alt held, the tool bar's accelerators; without, only while a
    // button is hot or open, so that typed letters reach other controls.
    bool DialogChar(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    IkypMenuBarSource* m_Source = nullptr;  // not owned
    std::function<void()> m_PendingFit;     // set while one waits for the drop-down
};

class TkypFormMenuBar : public TComponent, public IkypMenuFrame, public IkypMenuBarSource {
public:
    TkypFormMenuBar(TComponent* owner, IkypMenuBarHost& host);
    ~TkypFormMenuBar() override;

    // Not owned; watched. A TkypMainMenu is linked to this holder while it
    // is the menu. Null frees the bar.
    TMainMenu* Menu() const { return m_Menu; }
    void SetMenu(TMainMenu* menu);

    // The bar's colour and the top of its background gradient.
    TColor MenuBarColor() const { return m_MenuBarColor; }
    void SetMenuBarColor(TColor color);
    // The bottom of the gradient; equal to MenuBarColor: a plain bar.
    TColor MenuBarToColor() const { return m_MenuBarToColor; }
    void SetMenuBarToColor(TColor color);
    // The bar's height while it exists and is visible, else 0; a value set
    // meanwhile applies to the next bar and its buttons.
    int MenuBarHeight() const;
    void SetMenuBarHeight(int height);

    // Owned; null while there is none.
    TkypMenuBar* Bar() const { return m_MenuBar; }

    // Rebuilds the buttons from the menu (after the open drop-down closes,
    // when one is open); without a menu, frees the bar.
    void UpdateMenu() override;
    // Copies the captions and enabled states of the top items.
    void UpdateTopMenu() override;
    // Takes the menu's font again and repaints.
    void RepaintMenuBar() override;
    void FreeMenuBar();
    // For a frame that holds no menu here: the bar, made when missing and
    // filled by Source from now on; null where no bar is allowed.
    TkypMenuBar* ShowBar(IkypMenuBarSource& source);

    // From the frame's style setter: sets both bar colours (the skin file's
    // menu-bar colours, or the style's form colour) and passes the style
    // and theme on to a TkypMainMenu.
    void StyleChanged(TkypUIStyle style, TkypFileTheme* theme);

    TMenu* ShownMenu() const override { return m_Menu; }

    // The bar's OnCustomDraw and OnCustomDrawButton.
    void DrawMenuBarBackground(TToolBar* sender, const TRect& rect, bool& defaultDraw);
    void DrawMenuBarButton(TToolBar* sender, TToolButton* button, TCustomDrawState state, bool& defaultDraw);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void CreateMenuBar();
    void LinkMenu(TMainMenu* menu, bool link);
    TkypMainMenu* SkinnedMenu() const;
    // The bar goes now, or once its open drop-down has closed.
    void RetireBar();

    IkypMenuBarHost& m_Host;
    TkypMenuBar* m_MenuBar = nullptr;  // owned
    TMainMenu* m_Menu = nullptr;  // not owned
    TColor m_MenuBarColor = clBtnFace;
    TColor m_MenuBarToColor = clBtnFace;
    int m_MenuBarHeight = kMenuBarHeight;
    // Lets a rebuild deferred until a drop-down closes know this holder lives.
    TkypLifeToken m_Life;
};
