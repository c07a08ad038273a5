#include "KYPPopupMenu.h"

#include "ImageList.h"
#include "KYPThemes.h"
#include "TypInfo.h"

TkypPopupMenu::TkypPopupMenu(TComponent* owner) : TkypSkinnedMenu<TPopupMenu>(owner)
{
    SetUIStyle(DefaultStyleFor(owner));
}

TImageList& TkypPopupMenu::CheckMarks()
{
    static TOwned<TImageList> list;
    if (!list) list = TkypMenuLook::MakeCheckMarks();
    return *list;
}

namespace {

std::vector<TPropInfo> PopupMenuProperties()
{
    std::vector<TPropInfo> properties{
        OrdinalProperty<TkypPopupMenu>(L"OwnerDraw", &TkypPopupMenu::OwnerDraw, &TkypPopupMenu::SetOwnerDraw)};
    for (TPropInfo& shared : TkypPopupMenu::SharedProperties()) properties.push_back(std::move(shared));
    return properties;
}

const bool popupMenuPropertiesRegistered = RegisterProperties<TkypPopupMenu, TPopupMenu>(PopupMenuProperties());

}  // namespace
