#include "KYPMainMenu.h"

#include "Forms.h"
#include "ImageList.h"
#include "KYPThemes.h"
#include "TypInfo.h"

// The framework draws the items of a menu with an image list itself, so the
// own list alone makes the menu owner-drawn; its owner-draw flag stays.
TkypMainMenu::TkypMainMenu(TComponent* owner)
    : TkypSkinnedMenu<TMainMenu>(owner), m_Images(TkypMenuLook::MakeCheckMarks())
{
    TMenu::SetImages(m_Images.get());
    SetUIStyle(DefaultStyleFor(owner));
}

TkypMainMenu::~TkypMainMenu()
{
    TMenu::SetImages(nullptr);
    m_Images.reset();
}

void TkypMainMenu::AfterConstruction()
{
    TkypSkinnedMenu<TMainMenu>::AfterConstruction();
    if (auto* form = dynamic_cast<TForm*>(Owner())) form->SetMenu(nullptr);
}

TImageList* TkypMainMenu::Images() const
{
    TImageList* images = TMenu::Images();
    return images == m_Images.get() ? nullptr : images;
}

void TkypMainMenu::SetImages(TImageList* images) { TMenu::SetImages(images ? images : m_Images.get()); }

void TkypMainMenu::SetMenuItemHeight(int height) { m_Look.m_Height = height; }

void TkypMainMenu::SetUseSystemFont(bool use)
{
    m_Look.m_UseSystemFont = use;
    if (m_Frame) m_Frame->RepaintMenuBar();
}

void TkypMainMenu::ItemsHooked()
{
    if (m_Frame) m_Frame->UpdateMenu();
}

void TkypMainMenu::MenuChanged(TMenuItem* source, bool rebuild)
{
    TkypSkinnedMenu<TMainMenu>::MenuChanged(source, rebuild);
    if (!m_Frame || HasState(csDestroying) || !dynamic_cast<TForm*>(Owner())) return;
    m_Frame->UpdateTopMenu();
    if (HasState(csDesigning) && !HasState(csLoading)) m_Frame->UpdateMenu();
}

// A user's list that goes leaves the own one in place, so the items stay
// owner-drawn with their check marks.
void TkypMainMenu::Notification(TComponent* component, TOperation operation)
{
    TkypSkinnedMenu<TMainMenu>::Notification(component, operation);
    if (operation == TOperation::opRemove && !TMenu::Images() && m_Images && !HasState(csDestroying))
        TMenu::SetImages(m_Images.get());
}

namespace {

TImageList* ImagesOf(TkypMainMenu* menu) { return menu->Images(); }

std::vector<TPropInfo> MainMenuProperties()
{
    std::vector<TPropInfo> properties{
        ObjectProperty<TkypMainMenu, TImageList>(L"Images", ImagesOf, &TkypMainMenu::SetImages),
        OrdinalProperty<TMenu>(L"OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw),
    };
    for (TPropInfo& shared : TkypMainMenu::SharedProperties()) properties.push_back(std::move(shared));
    return properties;
}

const bool mainMenuPropertiesRegistered = RegisterProperties<TkypMainMenu, TMainMenu>(MainMenuProperties());

}  // namespace
