#include "KYPTitleBarItems.h"

#include "Dialogs.h"
#include "Forms.h"
#include "KYPFrameMetrics.h"
#include "KYPPublicControls.h"
#include "KYPThemes.h"
#include "KYPTitleBar.h"
#include "Menus.h"
#include "TypInfo.h"

namespace {

// A refused value is shown, not raised, so loading a form description goes on.
void ShowRefusal(const String& text) { MessageDlg(text, TMsgDlgType::mtError, mbOK, 0); }

// Whether another item of Self's collection already has what Has asks.
template <class Item, class Has>
bool AnotherItemHas(const Item* self, Has has)
{
    TCollection* collection = self->Collection();
    for (int i = 0; collection && i < collection->Count(); ++i) {
        auto* other = static_cast<const Item*>(collection->Items(i));
        if (other != self && has(*other)) return true;
    }
    return false;
}

}  // namespace

int TitleButtonFirstPiece(TkypTitleBarBtnType type, bool maximized)
{
    switch (type) {
    case kypControlBox: return 1;
    case kypHelp: return 4;
    case kypMax: return maximized ? 10 : 7;
    case kypMin: return 13;
    case kypClose: return 16;
    case kypCustom: break;
    }
    return 0;
}

// --------------------------------------------------------------- sections

TkypTitleBarSection::TkypTitleBarSection(TCollection* collection)
    : TCollectionItem(collection), m_Picture(MakeOwned<TPicture>())
{
}

void TkypTitleBarSection::Repaint()
{
    if (auto* sections = dynamic_cast<TkypTitleBarSections*>(Collection()))
        if (TkypTitleBar* bar = sections->TitleBar()) bar->Repaint();
}

void TkypTitleBarSection::SetWidth(int width)
{
    m_Width = width;
    Repaint();
}

void TkypTitleBarSection::SetAlign(TkypTitleBarAlign align)
{
    if (align == kypClient) {
        if (AnotherItemHas(this, [](const TkypTitleBarSection& other) { return other.m_Align == kypClient; })) {
            ShowRefusal(L"Sorry, only one section's Align property can be \"kypClient\"");
            return;
        }
        m_Stretch = true;
    }
    m_Align = align;
    Repaint();
}

void TkypTitleBarSection::SetPicture(TPersistent* picture)
{
    m_Picture->Assign(picture);
    if (picture && m_AutoSize) m_Width = m_Picture->Width();
    Repaint();
}

void TkypTitleBarSection::SetStretch(bool stretch)
{
    m_Stretch = stretch || m_Align == kypClient;
    Repaint();
}

void TkypTitleBarSection::SetAutoSize(bool autoSize)
{
    m_AutoSize = autoSize;
    if (m_Picture->Graphic()) m_Width = m_Picture->Width();
    Repaint();
}

void TkypTitleBarSection::SetCapSec(bool capSec)
{
    m_CapSec = capSec;
    Repaint();
}

void TkypTitleBarSection::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TkypTitleBarSection*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    SetWidth(other->m_Width);
    SetAlign(other->m_Align);
    m_Picture->Assign(other->m_Picture.get());
    SetStretch(other->m_Stretch);
    SetAutoSize(other->m_AutoSize);
}

// ---------------------------------------------------------------- buttons

TkypTitleBarButton::TkypTitleBarButton(TCollection* collection)
    : TCollectionItem(collection),
      m_PicNormal(MakeOwned<TPicture>()),
      m_PicMouseOn(MakeOwned<TPicture>()),
      m_PicMouseDown(MakeOwned<TPicture>())
{
}

void TkypTitleBarButton::AfterConstruction()
{
    TCollectionItem::AfterConstruction();
    SetUIStyle(DeepBlue);
}

TkypTitleBar* TkypTitleBarButton::Bar() const
{
    auto* buttons = dynamic_cast<TkypTitleBarButtons*>(Collection());
    return buttons ? buttons->TitleBar() : nullptr;
}

void TkypTitleBarButton::Repaint()
{
    if (TkypTitleBar* bar = Bar()) bar->Repaint();
}

void TkypTitleBarButton::SetVisible(bool visible)
{
    m_Visible = visible;
    Repaint();
}

void TkypTitleBarButton::SetButtonType(TkypTitleBarBtnType type)
{
    if (type == kypControlBox &&
        AnotherItemHas(this, [](const TkypTitleBarButton& other) { return other.m_ButtonType == kypControlBox; })) {
        ShowRefusal(L"Sorry, only one button's ButtonType property can be \"kypControlBox\"");
        return;
    }
    m_ButtonType = type;
    UpdatePictures();
    Repaint();
}

void TkypTitleBarButton::SetTransparent(bool transparent)
{
    m_Transparent = transparent;
    Repaint();
}

void TkypTitleBarButton::SetTop(int top)
{
    m_Top = top;
    Repaint();
}

void TkypTitleBarButton::SetUIStyle(TkypUIStyle style)
{
    m_UIStyle = style;
    UpdatePictures();
}

void TkypTitleBarButton::SetPicNormal(TPersistent* picture)
{
    m_PicNormal->Assign(picture);
    Repaint();
}

void TkypTitleBarButton::SetPicMouseOn(TPersistent* picture)
{
    m_PicMouseOn->Assign(picture);
    Repaint();
}

void TkypTitleBarButton::SetPicMouseDown(TPersistent* picture)
{
    m_PicMouseDown->Assign(picture);
    Repaint();
}

void TkypTitleBarButton::SetControlBoxMenu(TPopupMenu* menu)
{
    m_ControlBoxMenu = menu;
    if (TkypTitleBar* bar = Bar()) bar->WatchMenu(menu);
}

void TkypTitleBarButton::LoadPieces(int first, bool themed)
{
    TkypTitleBar* bar = Bar();
    TPicture* pictures[] = {m_PicNormal.get(), m_PicMouseOn.get(), m_PicMouseDown.get()};
    TkypUIStyle resolved = m_UIStyle;
    UsesThemeFile(bar ? bar->FileTheme() : nullptr, m_UIStyle, resolved);
    for (int i = 0; i < 3; ++i) {
        if (themed)
            bar->FileTheme()->GetBitmap2(SKIN2_TITLEBUTTONS, pictures[i]->Bitmap(), kTitleButtonStripPieces, first + i);
        else
            GetStyleBitmap(resolved, TkypStyleAttr::TitleButtonStrip, pictures[i]->Bitmap(), kTitleButtonStripPieces, first + i);
    }
}

void TkypTitleBarButton::UpdatePictures()
{
    TkypTitleBar* bar = Bar();
    TkypUIStyle resolved = m_UIStyle;
    const bool themed = UsesThemeFile(bar ? bar->FileTheme() : nullptr, m_UIStyle, resolved);
    SetTransparent(themed ? bar->FileTheme()->GetBool(SKIN2_TITLEBTNTRANS)
                          : GetStyleBool(resolved, TkypStyleAttr::TitleButtonsTransparent));
    if (m_ButtonType != kypCustom) {
        LoadPieces(TitleButtonFirstPiece(m_ButtonType, false), themed);
        SetTop(themed ? bar->FileTheme()->GetInt(SKIN2_TITLEBARBUTTONPOSY) : GetStyleInt(resolved, TkypStyleAttr::TitleButtonTop));
    }
    if (m_ButtonType == kypMax) UpdateMaxRestorePictures();
}

void TkypTitleBarButton::UpdateMaxRestorePictures()
{
    TkypTitleBar* bar = Bar();
    if (m_ButtonType != kypMax || (bar && bar->Custom())) return;
    TForm* form = bar ? bar->Form() : nullptr;
    const bool maximized = form && form->WindowState() == TWindowState::wsMaximized;
    TkypUIStyle resolved = m_UIStyle;
    const bool themed = UsesThemeFile(bar ? bar->FileTheme() : nullptr, m_UIStyle, resolved);
    LoadPieces(TitleButtonFirstPiece(kypMax, maximized), themed);
}

void TkypTitleBarButton::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TkypTitleBarButton*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    SetVisible(other->m_Visible);
    SetButtonType(other->m_ButtonType);
    SetTransparent(other->m_Transparent);
    SetTop(other->m_Top);
    SetUIStyle(other->m_UIStyle);
    m_PicNormal->Assign(other->m_PicNormal.get());
    m_PicMouseOn->Assign(other->m_PicMouseOn.get());
    m_PicMouseDown->Assign(other->m_PicMouseDown.get());
    SetControlBoxMenu(other->m_ControlBoxMenu);
}

// ---------------------------------------------------------------- actions

void TkypTitleBarButton::DoClick()
{
    TkypTitleBar* bar = Bar();
    if (!bar) return;
    if (bar->HasState(csDesigning) && m_ButtonType != kypClose) return;
    TForm* form = bar->Form();
    if (!form) return;
    switch (m_ButtonType) {
    case kypMax: DoMaxClick(form); break;
    case kypMin: bar->MinimizeForm(); break;
    case kypClose: form->Close(); break;
    case kypControlBox: PopupControlBoxMenu(); break;
    case kypHelp:
    case kypCustom: break;  // the bar fires its own events for these
    }
}

void TkypTitleBarButton::DoMaxClick(TForm* form)
{
    TkypTitleBar* bar = Bar();
    // The handler and the form's size notices (OnResize) may free the bar, and this button with it.
    const TkypLifeToken::TWatch life = bar->LifeWatch();
    bool allow = true;
    if (bar->OnMaxClick) bar->OnMaxClick(bar, allow);
    if (!life || !allow) return;
    if (form->WindowState() == TWindowState::wsMaximized) {
        form->SetWindowState(TWindowState::wsNormal);
    } else {
        form->SetWindowState(TWindowState::wsMaximized);
        if (life && !bar->IsInSkinFrame()) {
            // The plain frame's borders go just past the work area's edges.
            TRect area;
            GetWorkAreaRect(area);
            SetControlBoundsRect(form, TRect(area.Left - 2, area.Top - 2, area.Right + 2, area.Bottom - 1));
        }
    }
    if (life) UpdateMaxRestorePictures();
}

void TkypTitleBarButton::PopupControlBoxMenu()
{
    TkypTitleBar* bar = Bar();
    if (!m_ControlBoxMenu) return;
    const int x = bar->BiDiMode() == TBiDiMode::bdRightToLeft && SysLocale.MiddleEast ? 176 : 0;
    TPoint screen = bar->ClientToScreen(TPoint(x, bar->Height()));
    if (screen.X < 0) screen.X = 0;
    m_ControlBoxMenu->Popup(screen.X, screen.Y);
}

// ------------------------------------------------------------ collections

template <class Item>
TPersistent* TkypTitleBarCollection<Item>::GetOwner() const
{
    return m_TitleBar;
}

template <class Item>
void TkypTitleBarCollection<Item>::Update(TCollectionItem* item)
{
    TCollection::Update(item);
    if (m_TitleBar) m_TitleBar->Repaint();
}

template class TkypTitleBarCollection<TkypTitleBarSection>;
template class TkypTitleBarCollection<TkypTitleBarButton>;

// ------------------------------------------------------------- properties

namespace {
const bool sectionPropertiesRegistered = RegisterProperties<TkypTitleBarSection, TCollectionItem>({
    OrdinalProperty<TkypTitleBarSection>(L"Width", &TkypTitleBarSection::Width, &TkypTitleBarSection::SetWidth),
    OrdinalProperty<TkypTitleBarSection>(L"Align", &TkypTitleBarSection::Align, &TkypTitleBarSection::SetAlign),
    ObjectProperty<TkypTitleBarSection, TPersistent>(L"Picture", &TkypTitleBarSection::Picture, &TkypTitleBarSection::SetPicture),
    OrdinalProperty<TkypTitleBarSection>(L"Stretch", &TkypTitleBarSection::Stretch, &TkypTitleBarSection::SetStretch),
    OrdinalProperty<TkypTitleBarSection>(L"AutoSize", &TkypTitleBarSection::AutoSize, &TkypTitleBarSection::SetAutoSize),
    OrdinalProperty<TkypTitleBarSection>(L"CapSec", &TkypTitleBarSection::CapSec, &TkypTitleBarSection::SetCapSec),
});
const bool buttonPropertiesRegistered = RegisterProperties<TkypTitleBarButton, TCollectionItem>({
    OrdinalProperty<TkypTitleBarButton>(L"Visible", &TkypTitleBarButton::Visible, &TkypTitleBarButton::SetVisible),
    OrdinalProperty<TkypTitleBarButton>(L"ButtonType", &TkypTitleBarButton::ButtonType, &TkypTitleBarButton::SetButtonType),
    OrdinalProperty<TkypTitleBarButton>(L"Transparent", &TkypTitleBarButton::Transparent, &TkypTitleBarButton::SetTransparent),
    OrdinalProperty<TkypTitleBarButton>(L"Top", &TkypTitleBarButton::Top, &TkypTitleBarButton::SetTop),
    OrdinalProperty<TkypTitleBarButton>(L"UIStyle", &TkypTitleBarButton::UIStyle, &TkypTitleBarButton::SetUIStyle),
    ObjectProperty<TkypTitleBarButton, TPersistent>(L"PicNormal", &TkypTitleBarButton::PicNormal, &TkypTitleBarButton::SetPicNormal),
    ObjectProperty<TkypTitleBarButton, TPersistent>(L"PicMouseOn", &TkypTitleBarButton::PicMouseOn, &TkypTitleBarButton::SetPicMouseOn),
    ObjectProperty<TkypTitleBarButton, TPersistent>(L"PicMouseDown", &TkypTitleBarButton::PicMouseDown, &TkypTitleBarButton::SetPicMouseDown),
    ObjectProperty<TkypTitleBarButton, TPopupMenu>(L"ControlBoxMenu", &TkypTitleBarButton::ControlBoxMenu, &TkypTitleBarButton::SetControlBoxMenu),
});
}  // namespace
