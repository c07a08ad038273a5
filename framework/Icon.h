// An icon that owns its system handle.
#pragma once

#include <windows.h>

#include "Bitmap.h"

class TIcon : public TPersistent {
public:
    TIcon() = default;
    ~TIcon() override;

    // Null while empty; owned by the icon.
    HICON Handle() const { return handle_; }
    // Takes Icon over (null empties); the old one is destroyed.
    void SetHandle(HICON icon);
    bool Empty() const { return handle_ == nullptr; }

    // The module's icon group Name at the system's icon size, reloadable at
    // other sizes with CopyImage and LR_COPYFROMRESOURCE. EResNotFound when
    // the module has no such icon.
    void LoadFromResourceName(HINSTANCE instance, const String& name);
    // An icon (a copy of its image) or null (empties).
    void Assign(TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    HICON handle_ = nullptr;  // owned
};
