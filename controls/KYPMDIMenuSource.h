// What the skinned MDI frame's menu bar shows: the frame's own menu or,
// while a child is active, that child's menu; and the bar's buttons
// fitted to it. The frame owns the bar (a TkypMenuBar whose Source is
// this) and the panel it sits on; it hides the panel while Update finds
// no menu.
#pragma once

#include <memory>

#include "KYPLifeToken.h"
#include "KYPMDIClientWatch.h"
#include "KYPMenuBar.h"

class TkypMDIMenuSource : public TComponent, public IkypMenuBarSource {
public:
    // Form is the MDI frame; it must outlive this component.
    TkypMDIMenuSource(TComponent* owner, TForm& form);
    ~TkypMDIMenuSource() override;

    // The frame's own menu: watched, not linked back (a skinned menu does
    // not call into the frame). Its font is the bar's also while a
    // child's menu shows.
    TMainMenu* Menu() const { return m_Menu; }
    void SetMenu(TMainMenu* menu);
    // Whether an active child's menu takes the bar (default true).
    bool DrawChildMenus() const { return m_DrawChildMenus; }
    void SetDrawChildMenus(bool draw) { m_DrawChildMenus = draw; }

    // The menu to show now: the active child's own Menu, else that of the
    // first skinned form frame among its controls, else the frame's.
    TMainMenu* TopMenu() const;
    // The menu shown since the last Update; watched.
    TMainMenu* Shown() const { return m_Shown; }
    TMenu* ShownMenu() const override { return m_Shown; }
    // The window menu gets entries only while the frame's own menu shows.
    bool ShowsOwnMenu() const { return m_Menu && m_Shown == m_Menu; }

    // Takes TopMenu as the shown menu and fits Bar's buttons to its top
    // items, reusing those it has (deferred while a drop-down is open).
    // Returns the shown menu; null: nothing to show, the buttons stay.
    TMainMenu* Update(TkypMenuBar& bar);

    // The children changed (one made, destroyed or activated) or a menu
    // went: time for the frame's UpdateMenu.
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Watch(TMainMenu*& field, TMainMenu* menu);
    void Changed();

    TForm& m_Form;
    TMainMenu* m_Menu = nullptr;  // not owned; watched
    TMainMenu* m_Shown = nullptr;  // not owned; watched
    bool m_DrawChildMenus = true;
    std::unique_ptr<TkypMDIClientWatch> m_Watch;
    // Lets a fit deferred until a drop-down closes know this source lives.
    TkypLifeToken m_Life;
};
