#include "KYPMDIClientWatch.h"

#include <utility>

#include "KYPFlagScope.h"

TkypMDIClientWatch::TkypMDIClientWatch(TForm& form, TChanged changed) : m_Form(form), m_Changed(std::move(changed))
{
    m_FormHook = m_Form.AddWindowHook(nullptr, [this](TMessage& message, const TWindowHookNext& next) {
        const TkypLifeToken::TWatch life = m_Life.Watch();
        next(message);
        if (life) Attach();
    });
    Attach();
}

TkypMDIClientWatch::~TkypMDIClientWatch() { m_Form.RemoveWindowHook(m_FormHook); }

void TkypMDIClientWatch::Attach()
{
    HWND client = m_Form.ClientHandle();
    if (client == Client()) return;
    m_Subclass.reset();
    if (client)
        m_Subclass = std::make_unique<TWindowSubclass>(
            client, [this](TMessage& message, const TSubclassNext& next) { Handle(message, next); });
}

void TkypMDIClientWatch::Handle(TMessage& message, const TSubclassNext& next)
{
    const TkypLifeToken::TWatch life = m_Life.Watch();
    next(message);
    if (!life) return;
    switch (message.Msg) {
    case WM_MDIREFRESHMENU:
    case WM_MDIDESTROY:
    case WM_MDIACTIVATE:
    case WM_MDINEXT:
        break;
    default: return;
    }
    // Rebuilding a menu may send the client more of these; what it runs
    // may free the watch with its owner.
    if (m_Busy || !m_Changed) return;
    const TkypFlagScope busy(m_Busy, true, life);
    m_Changed();
}
