// Tells whether a component has been freed: it hears the component's free
// notice. Free the watch whenever; it unhooks itself.
#pragma once

#include "Classes.h"

class TFreeWatch : public TComponent {
public:
    explicit TFreeWatch(TComponent* watched) : TComponent(nullptr), m_Watched(watched) { watched->FreeNotification(this); }
    ~TFreeWatch() override
    {
        if (m_Watched) m_Watched->RemoveFreeNotification(this);
    }
    bool Gone() const { return !m_Watched; }

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove && component == m_Watched) m_Watched = nullptr;
    }

private:
    TComponent* m_Watched;
};
