// TkypPopupMenu: a popup menu that measures and draws its items itself in
// one of the built-in styles or from a loaded skin file, with the look the
// skinned menus share (KYPSkinnedMenu.h).
#pragma once

#include "KYPSkinnedMenu.h"

class TImageList;

class TkypPopupMenu : public TkypSkinnedMenu<TPopupMenu> {
public:
    explicit TkypPopupMenu(TComponent* owner);

    // Always owner-drawn: writes are ignored.
    bool OwnerDraw() const override { return true; }
    void SetOwnerDraw(bool) override {}

    // The shared check-mark list (image 0), made on first use.
    static TImageList& CheckMarks();

protected:
    TkypMenuImages ItemImages() override { return TkypMenuImages{CheckMarks(), Images()}; }
};
