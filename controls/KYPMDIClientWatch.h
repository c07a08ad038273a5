// Tells its owner when the children of an MDI frame may have changed: a
// child made, destroyed, activated, or the client asked to refresh its
// menu. The pieces of the skinned MDI frame that follow the children (the
// window menu, the menu bar) each hold one.
#pragma once

#include <functional>
#include <memory>

#include "Forms.h"
#include "KYPLifeToken.h"
#include "WindowSubclass.h"

class TkypMDIClientWatch {
public:
    using TChanged = std::function<void()>;

    // Form must outlive the watch. Changed runs after the client has
    // handled the message, never while it runs already.
    TkypMDIClientWatch(TForm& form, TChanged changed);
    TkypMDIClientWatch(const TkypMDIClientWatch&) = delete;
    TkypMDIClientWatch& operator=(const TkypMDIClientWatch&) = delete;
    ~TkypMDIClientWatch();

    // Follows a client made anew with the frame's window (checked at each
    // message of the frame); cheap when the client is the same.
    void Attach();
    // The client now watched, or null.
    HWND Client() const { return m_Subclass ? m_Subclass->Window() : nullptr; }

private:
    void Handle(TMessage& message, const TSubclassNext& next);

    // A message handed on may free the watch with its frame.
    TkypLifeToken m_Life;
    TForm& m_Form;
    TChanged m_Changed;
    std::unique_ptr<TWindowSubclass> m_Subclass;
    int m_FormHook = 0;
    bool m_Busy = false;
};
