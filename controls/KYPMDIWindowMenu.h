// The skinned MDI frame's entries in its form's window menu: a separator
// and one entry per MDI child, the child at the highest index first, each
// captioned with its child's caption; a click on one restores a minimised
// child and brings it to the front. Rebuilt when a child is made,
// destroyed or activated, and on Rebuild.
#pragma once

#include <memory>
#include <vector>

#include "Forms.h"
#include "KYPLifeToken.h"
#include "KYPMDIClientWatch.h"

class TkypMDIWindowMenu : public TComponent {
public:
    // Form is the MDI frame whose WindowMenu gets the entries; it must
    // outlive this component (the frame owns it).
    TkypMDIWindowMenu(TComponent* owner, TForm& form);
    ~TkypMDIWindowMenu() override;

    // While false (the bar shows a child's menu) Rebuild keeps the
    // entries of the last rebuild.
    bool Enabled() const { return m_Enabled; }
    void SetEnabled(bool enabled) { m_Enabled = enabled; }

    // Frees the entries made before and appends fresh ones to the form's
    // WindowMenu; without a window menu there are none. OnRebuilt follows.
    // Asked while an entry's click runs, it waits until the click has
    // returned (a message posted to the form).
    void Rebuild();
    // Frees the entries (those the window menu has not freed already).
    void Clear();

    // The separator first. Owned here; an entry freed with the window
    // menu leaves this list.
    int EntryCount() const { return static_cast<int>(m_Entries.size()); }
    TMenuItem* Entries(int index) const { return m_Entries.at(static_cast<size_t>(index)); }
    // The window of the child an entry stands for; null for the separator
    // and items not made here.
    HWND EntryWindow(const TMenuItem* entry) const;

    // The entries' OnClick. The child is looked up by its window: a child
    // gone since the rebuild is ignored.
    void EntryClick(TObject* sender);

    // After each rebuild, e.g. for a skinned menu to give the new items
    // its owner-draw handlers.
    TNotifyEvent OnRebuilt;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TMenuItem* AddEntry(TMenuItem* windowMenu, const String& caption);
    // The form's child with that window, or null.
    TForm* ChildOf(HWND window) const;

    void RebuildAfterClick();

    TForm& m_Form;
    TMenuItem* m_WindowMenu = nullptr;  // not owned; watched: where the entries are
    std::vector<TMenuItem*> m_Entries;  // owned, each watched
    std::unique_ptr<TkypMDIClientWatch> m_Watch;
    bool m_Enabled = true;
    bool m_Clicking = false;
    bool m_RebuildPending = false;
    int m_FormHook = 0;
    TkypLifeToken m_Life;  // for a click that may free this component
};
