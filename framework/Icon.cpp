#include "Icon.h"

#include <utility>

TIcon::~TIcon()
{
    if (handle_) DestroyIcon(handle_);
}

void TIcon::SetHandle(HICON icon)
{
    if (icon == handle_) return;
    if (HICON old = std::exchange(handle_, icon)) DestroyIcon(old);
    if (OnChange) OnChange(this);
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const String& name)
{
    HANDLE icon = LoadImageW(instance, name.c_str(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE);
    if (!icon) throw EResNotFound(L"Resource " + name + L" not found");
    SetHandle(static_cast<HICON>(icon));
}

void TIcon::Assign(TPersistent* source)
{
    if (!source) {
        SetHandle(nullptr);
        return;
    }
    auto* other = dynamic_cast<TIcon*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this) return;
    if (other->Empty()) {
        SetHandle(nullptr);
        return;
    }
    HICON copy = static_cast<HICON>(CopyImage(other->handle_, IMAGE_ICON, 0, 0, 0));
    if (!copy) throw Exception(L"Cannot copy an icon");
    SetHandle(copy);
}
