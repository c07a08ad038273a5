#include "KYPMDIForm.h"

#include <algorithm>
#include <utility>

#include "KYPFrameMetrics.h"
#include "KYPMDIChildPlacement.h"
#include "KYPThemes.h"
#include "Messages.h"

namespace {

int WidthOf(const TBitmap* bitmap) { return bitmap ? bitmap->Width() : 0; }

}  // namespace

TkypMDIForm::TkypMDIForm(TComponent* owner) : TComponent(owner) {}

TkypMDIForm::~TkypMDIForm() = default;

void TkypMDIForm::AfterConstruction()
{
    auto* form = dynamic_cast<TForm*>(Owner());
    if (!form) throw Exception(L"Sorry, TkypMDIForm must be placed on a form");
    TComponent::AfterConstruction();
    m_Form = form;
    SetUp();
}

void TkypMDIForm::SetUp()
{
    m_Form->SetMenu(nullptr);  // the menu bar shows the menu, not the system
    const HWND window = m_Form->Handle();
    m_Window.MeasureOldBorders(window);
    TakeDialogBorder(*m_Form);
    m_Form->SetBorderWidth(0);
    if (!HasState(csDesigning)) SetDialogFrameIcon(*m_Form);
    m_TitleBar = New<TkypTitleBar>(this);
    m_TitleBar->SetParent(m_Form);
    m_TitleBar->SetAlign(TAlign::alTop);
    m_TitleBar->SetCaption(m_Form->Caption());
    m_MenuSource = New<TkypMDIMenuSource>(this, *m_Form);
    m_MenuSource->OnChange = [this](TObject*) { UpdateMenu(); };
    CreateMenuBar();
    SetUIStyle(DeepBlue);
    m_Form->SetAutoScroll(false);
    m_Window.Attach(this, *m_Form);
    AttachClient();
    // However the window is made anew (recreated, or destroyed and made
    // later), its client is a new one.
    m_HandleHook = m_Form->AddHandleCreatedHandler([this](TWinControl*) { AttachClient(); });
    m_WindowMenu = New<TkypMDIWindowMenu>(this, *m_Form);
    // New entries are drawn as the rest of a skinned menu.
    m_WindowMenu->OnRebuilt = [this](TObject*) {
        if (auto* skinned = dynamic_cast<TkypMainMenu*>(Menu())) skinned->MenuAdded();
    };
    UpdateMenu();
    RecomputeFrame(window);
    UpdateFormRegion();
}

// A form that is no MDI frame has no client to watch; the rest works. A
// form window made anew comes with a client of its own.
void TkypMDIForm::AttachClient()
{
    const HWND client = m_Form->ClientHandle();
    if (m_Client && m_Client->Window() == client) return;
    m_Client.reset();
    if (client)
        m_Client = std::make_unique<TWindowSubclass>(client, [this](TMessage& message, const TSubclassNext& next) {
            ClientWindowProc(message, next);
        });
}

void TkypMDIForm::BeforeDestruction()
{
    m_Window.Detach();
    if (m_Form) m_Form->RemoveHandleCreatedHandler(m_HandleHook);
    m_Client.reset();  // the client gets its own procedure back
    FreeObject(std::exchange(m_WindowMenu, nullptr));  // its entries leave the window menu
    if (m_MenuSource) m_MenuSource->OnChange = nullptr;
    FreeMenuBar();  // the bar asks the source no more
    FreeObject(std::exchange(m_MenuSource, nullptr));
    TComponent::BeforeDestruction();
}

void TkypMDIForm::CreateMenuBar()
{
    if (m_MenuBar) return;
    m_TopPanel = New<TPanel>(this);
    m_TopPanel->SetBevelOuter(TBevelCut::bvNone);
    m_TopPanel->SetBevelInner(TBevelCut::bvNone);
    m_TopPanel->SetVisible(false);
    m_TopPanel->SetAlign(TAlign::alTop);
    m_TopPanel->SetParent(m_Form);
    m_MenuBar = New<TkypFormMenuBar>(this, *this);
    if (m_TitleBar) m_TitleBar->SetTop(0);
    if (!HasState(csDesigning))
        m_ControlBtns = New<TkypMDIChildButtons>(this, *m_Form, *m_TopPanel, m_Window.OldLeftBorderWidth());
}

void TkypMDIForm::FreeMenuBar()
{
    FreeObject(std::exchange(m_ControlBtns, nullptr));
    FreeObject(std::exchange(m_MenuBar, nullptr));
    FreeObject(std::exchange(m_TopPanel, nullptr));
}

void TkypMDIForm::MenuBarPlaced()
{
    ShowTopPanel();
    if (m_TitleBar) m_TitleBar->SetTop(0);
    PaintFormBorder();
}

// The row shows while it has a menu bar or the buttons of a maximised child.
void TkypMDIForm::ShowTopPanel()
{
    if (!m_TopPanel || m_Window.Destroyed()) return;
    TkypMenuBar* bar = MenuBar();
    const bool buttons = m_ControlBtns && m_ControlBtns->AnyShown();
    if (bar || buttons) {
        m_TopPanel->SetHeight(bar ? bar->Height() : kMenuBarHeight);
        m_TopPanel->SetTop(m_TitleBar ? m_TitleBar->Top() + m_TitleBar->Height() : 0);
    }
    m_TopPanel->SetVisible(bar || buttons);
}

void TkypMDIForm::ShowControlButtons()
{
    TForm* child = m_Form->ActiveMDIChild();
    if (!m_ControlBtns || !child) return;
    // A child without a skinned frame has its own caption buttons.
    const auto types = ChildFrameButtonTypes(*child);
    if (!types) return;
    m_ControlBtns->Show(*types);
    ShowTopPanel();
}

void TkypMDIForm::HideControlButtons()
{
    if (m_ControlBtns) m_ControlBtns->Hide();
    ShowTopPanel();
}

void TkypMDIForm::Loaded()
{
    TComponent::Loaded();
    UpdateMenu();
}

void TkypMDIForm::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (!component) return;
    if (operation == TOperation::opInsert) {
        if (MenuBar()) MenuBar()->SetTop(0);
        if (m_TitleBar) m_TitleBar->SetTop(0);
        return;
    }
    if (component == m_MenuBar) m_MenuBar = nullptr;
    if (component == m_ControlBtns) m_ControlBtns = nullptr;
    if (component == m_WindowMenu) m_WindowMenu = nullptr;
    if (component == m_MenuSource) m_MenuSource = nullptr;
    if (component == m_TopPanel) m_TopPanel = nullptr;
    if (component == m_TitleBar) m_TitleBar = nullptr;
    TkypUIStyle fallback = DeepBlue;
    if (m_FileTheme.Removed(component, operation, fallback) && !m_Window.Destroyed() && !m_Form->HasState(csDestroying))
        SetUIStyle(fallback);
}

// ---------------------------------------------------------------- style

void TkypMDIForm::SetUIStyle(TkypUIStyle style)
{
    m_UIStyle = style;
    if (!m_Form || m_Window.Destroyed()) return;
    TkypUIStyle resolved = style;
    const bool skinFile = UsesThemeFile(FileTheme(), style, resolved);
    {
        // The setters below paint and cut once, at the end.
        const TkypFlagScope change = m_Window.StyleChange();
        if (skinFile)
            m_Window.Skin().Read(*FileTheme(), m_TitleBar);
        else
            ApplyBuiltInStyle(resolved);
        if (m_MenuBar) m_MenuBar->StyleChanged(m_UIStyle, FileTheme());
        if (m_ControlBtns) m_ControlBtns->SetColors(MenuBarColor(), MenuBarToColor());
        ColorMenuRow();
        if (m_TitleBar) {
            if (m_TitleBar->FileTheme() != FileTheme()) m_TitleBar->SetFileTheme(FileTheme());
            m_TitleBar->SetUIStyle(m_UIStyle);
            m_TitleBar->SetRoundCorner(0);  // the frame, not the bar, owns the corners
            m_TitleBar->SetRoundCornerBottom(0);
        }
        // After the title bar, which sets a form's minimum width of its own.
        if (skinFile) ApplyMinWidth(*FileTheme());
    }
    if (m_Form->HandleAllocated()) {
        // Its size notice runs OnResize, which may free the frame.
        const TkypLifeToken::TWatch life = m_Window.Watch();
        RecomputeFrame(m_Form->Handle());
        if (!life) return;
        PaintFormBorder();
        UpdateFormRegion();
    }
}

void TkypMDIForm::ApplyBuiltInStyle(TkypUIStyle resolved)
{
    m_BorderColor = GetStyleColor(resolved, TkypStyleAttr::BorderColor);
    m_BorderWidth = GetStyleInt(resolved, TkypStyleAttr::BorderWidth);
    m_RoundCorner = GetStyleInt(resolved, TkypStyleAttr::RoundCorner);
    m_RoundCornerBottom = 0;
    m_Window.Skin().Clear();
}

void TkypMDIForm::ApplyMinWidth(const TkypFileTheme& theme)
{
    const int buttons = m_TitleBar ? m_TitleBar->Buttons()->Count() : -1;
    m_Form->Constraints().SetMinWidth(MDIFrameMinWidth(theme.GetBool(SKIN2_TITLEFIVESECT),
                                                       WidthOf(theme.GetBitmap(SKIN2_TITLEBAR1)),
                                                       WidthOf(theme.GetBitmap(SKIN2_TITLEBAR3)),
                                                       WidthOf(theme.GetBitmap(SKIN2_TITLEBUTTONS)) / kMDIMinWidthStripDivisor, buttons));
    // The menu bar's row counts while it is hidden too: a menu may come.
    TkypMenuBar* bar = m_MenuBar ? m_MenuBar->Bar() : nullptr;
    const int menuHeight = bar ? bar->Height() : kMenuBarHeight;
    m_Form->Constraints().SetMinHeight((m_TitleBar ? m_TitleBar->Height() : 0) + menuHeight + m_Window.Skin().BottomBorderWidth + 3);
}

void TkypMDIForm::SetFileTheme(TkypFileTheme* theme)
{
    if (theme == FileTheme()) return;
    m_FileTheme.Set(theme);
    SetUIStyle(m_UIStyle);
}

// ------------------------------------------------------------ properties

TMainMenu* TkypMDIForm::Menu() const { return m_MenuSource ? m_MenuSource->Menu() : nullptr; }

void TkypMDIForm::SetMenu(TMainMenu* menu)
{
    if (!m_MenuSource) return;
    // The frame links no menu to itself; a link to its bar holder is stale.
    if (auto* old = dynamic_cast<TkypMainMenu*>(Menu()); old && m_MenuBar && old->MenuFrame() == m_MenuBar)
        old->SetMenuFrame(nullptr);
    m_MenuSource->SetMenu(menu);
    UpdateMenu();
}

bool TkypMDIForm::TitleBarDrawChildMenus() const { return !m_MenuSource || m_MenuSource->DrawChildMenus(); }

void TkypMDIForm::SetTitleBarDrawChildMenus(bool draw)
{
    if (!m_MenuSource) return;
    m_MenuSource->SetDrawChildMenus(draw);
    UpdateMenu();
}

TColor TkypMDIForm::MenuBarColor() const { return m_MenuBar ? m_MenuBar->MenuBarColor() : clBtnFace; }

void TkypMDIForm::SetMenuBarColor(TColor color)
{
    if (m_MenuBar) m_MenuBar->SetMenuBarColor(color);
    ColorMenuRow();
    PaintFormBorder();
}

TColor TkypMDIForm::MenuBarToColor() const { return m_MenuBar ? m_MenuBar->MenuBarToColor() : clBtnFace; }

void TkypMDIForm::SetMenuBarToColor(TColor color)
{
    if (m_MenuBar) m_MenuBar->SetMenuBarToColor(color);
    PaintFormBorder();
}

// The row without a menu shows the bar's colour, as the frame's strips beside it.
void TkypMDIForm::ColorMenuRow()
{
    if (m_TopPanel) m_TopPanel->SetColor(MenuBarColor());
}

void TkypMDIForm::SetBorderColor(TColor color)
{
    m_BorderColor = color;
    if (!HasState(csDesigning)) PaintFormBorder();
}

String TkypMDIForm::Caption() const { return m_Form ? m_Form->Caption() : String(); }

void TkypMDIForm::SetCaption(const String& caption)
{
    if (m_Form) m_Form->SetCaption(caption);
    if (m_TitleBar) m_TitleBar->SetCaption(caption);
    PaintFormBorder();
}

bool TkypMDIForm::TitleBarVisible() const { return m_TitleBar && m_TitleBar->Visible(); }

void TkypMDIForm::SetTitleBarVisible(bool visible)
{
    if (!m_TitleBar || visible == m_TitleBar->Visible()) return;
    m_TitleBar->SetVisible(visible);
    m_TitleBar->SetTop(0);
}

void TkypMDIForm::SetRoundCorner(int size)
{
    m_RoundCorner = size;
    UpdateFormRegion();
}

void TkypMDIForm::SetRoundCornerBottom(int size)
{
    m_RoundCornerBottom = size;
    UpdateFormRegion();
}

int TkypMDIForm::GetTitleBarHeight() const
{
    const int title = TitleBarVisible() ? m_TitleBar->Height() : 0;
    return title + (m_TopPanel && m_TopPanel->Visible() ? m_TopPanel->Height() : 0);
}

TkypForm* TkypMDIForm::FindActiveChildFrame() const
{
    TForm* child = m_Form ? m_Form->ActiveMDIChild() : nullptr;
    return child ? FindFormFrame(*child) : nullptr;
}

void TkypMDIForm::UpdateMenu()
{
    if (!m_MenuSource || !m_MenuBar || m_Window.Destroyed()) return;
    TkypMenuBar* bar = m_MenuBar->ShowBar(*m_MenuSource);
    m_MenuShown = bar && m_MenuSource->Update(*bar);
    if (bar) bar->SetVisible(m_MenuShown);  // its buttons stay for the next menu
    const TkypLifeToken::TWatch life = m_Window.Watch();
    UpdateWindowMenu();  // OnRebuilt may free the frame
    if (life) MenuBarPlaced();
}

void TkypMDIForm::UpdateWindowMenu()
{
    if (!m_WindowMenu || !m_MenuSource || m_Window.Destroyed()) return;
    TMainMenu* own = m_MenuSource->Menu();
    // Also the window menu's own rebuilds, on each change of the children.
    m_WindowMenu->SetEnabled(own && m_MenuSource->TopMenu() == own);
    m_WindowMenu->Rebuild();
}

void TkypMDIForm::Cascade()
{
    if (m_Form) CascadeMDIChildren(*m_Form);
}

void TkypMDIForm::Tile()
{
    if (m_Form) TileMDIChildren(*m_Form);
}

// ------------------------------------------------------------- painting

void TkypMDIForm::PaintFormBorder()
{
    if (!m_Window.WindowAlive() || m_Window.StyleChanging()) return;
    if (m_Form->BorderWidth() != 0) m_Form->SetBorderWidth(0);
    const bool menuShows = MenuBar() && m_TopPanel && m_TopPanel->Visible();
    const TkypFrameLayout layout = m_Window.Layout(menuShows ? MenuBar()->Height() : 0, MenuBarColor(), MenuBarToColor(),
                                                   MenuBar() ? MenuBar()->Color() : MenuBarColor());
    m_Window.Paint(m_UIStyle, FileTheme(), layout,
                   {.BorderWidth = m_BorderWidth, .BorderColor = m_BorderColor, .Color = MenuBarColor(),
                    .RoundCorner = TitleBarVisible() ? m_RoundCorner : 0, .Designing = HasState(csDesigning),
                    .Rules = kMDIFrameRules});
}

void TkypMDIForm::UpdateFormRegion()
{
    const bool title = TitleBarVisible();
    m_Window.UpdateRegion(m_UIStyle, FileTheme(), true, title ? m_RoundCorner : 0, title ? m_RoundCornerBottom : 0,
                          HasState(csDesigning));
}

// ------------------------------------------------------ the form's messages

bool TkypMDIForm::AnswerFormMessage(TMessage& message)
{
    switch (message.Msg) {
    case KYPM_MDIBOTTOMBORDER: message.Result = m_Window.OldBottomBorderWidth(); return true;
    case KYPM_MDILEFTBORDER: message.Result = m_Window.OldLeftBorderWidth(); return true;
    default: return false;
    }
}

void TkypMDIForm::AfterFormMessage(TMessage& message)
{
    switch (message.Msg) {
    case CM_RECREATEWND: m_Window.StripCaption(); break;
    case WM_SIZE:
        if (!m_Window.WindowAlive()) break;
        if (IsZoomed(m_Form->Handle())) {
            if (HasState(csDesigning)) break;
            if (m_Form->FormStyle() != TFormStyle::fsMDIChild) {
                // Its own size notice may free the frame in OnResize.
                const TkypLifeToken::TWatch life = m_Window.Watch();
                FitToWorkArea(*m_Form);
                if (!life) break;
            }
        }
        PaintFormBorder();
        UpdateFormRegion();
        break;
    default: break;
    }
}

// ------------------------------------------------ the MDI client's messages

void TkypMDIForm::ClientWindowProc(TMessage& message, const TSubclassNext& next)
{
    const TkypLifeToken::TWatch life = m_Window.Watch();
    next(message);  // the client keeps working whatever becomes of the frame
    if (!life) return;
    switch (message.Msg) {
    case WM_PAINT:
    case 0x003F:  // the client was moved or sized by its frame
        if (m_TitleBar) m_TitleBar->Repaint();
        PaintFormBorder();
        break;
    // Each first step may run handlers that free the frame.
    case WM_MDIREFRESHMENU:
        UpdateMenu();
        if (life) SetCaption(m_Form->Caption());
        break;
    case WM_MDIMAXIMIZE:
        ShowControlButtons();
        if (life) SetCaption(m_Form->Caption());
        break;
    case WM_MDIRESTORE:
        HideControlButtons();
        if (life) SetCaption(m_Form->Caption());
        break;
    // The frame's own arrangement replaces the system's.
    case WM_MDITILE: Tile(); break;
    case WM_MDICASCADE: Cascade(); break;
    default: break;
    }
}

// ------------------------------------------------- the application's messages

bool TkypMDIForm::JudgesKeysOf(HWND) const
{
    return m_Form && m_Form->HandleAllocated() && IsWindowEnabled(m_Form->Handle());
}

void TkypMDIForm::IsMenuShortCut(TMessage& message)
{
    TMainMenu* shown = m_MenuSource && m_MenuShown ? m_MenuSource->Shown() : nullptr;
    message.Result = !m_Window.Destroyed() && shown && shown->IsShortCut(message) ? 1 : 0;
}

// ------------------------------------------------------------- properties

namespace {
const bool kypMDIFormPropertiesRegistered = RegisterProperties<TkypMDIForm, TComponent>(WithTitleBarProperties<TkypMDIForm>({
    OrdinalProperty<TkypMDIForm>(L"UIStyle", &TkypMDIForm::UIStyle, &TkypMDIForm::SetUIStyle),
    ObjectProperty<TkypMDIForm, TkypFileTheme>(L"FileTheme", &TkypMDIForm::FileTheme, &TkypMDIForm::SetFileTheme),
    ObjectProperty<TkypMDIForm, TMainMenu>(L"Menu", &TkypMDIForm::Menu, &TkypMDIForm::SetMenu),
    OrdinalProperty<TkypMDIForm>(L"MenuBarColor", &TkypMDIForm::MenuBarColor, &TkypMDIForm::SetMenuBarColor),
    OrdinalProperty<TkypMDIForm>(L"MenuBarToColor", &TkypMDIForm::MenuBarToColor, &TkypMDIForm::SetMenuBarToColor),
    OrdinalProperty<TkypMDIForm>(L"BorderColor", &TkypMDIForm::BorderColor, &TkypMDIForm::SetBorderColor),
    OrdinalProperty<TkypMDIForm>(L"TitleBarVisible", &TkypMDIForm::TitleBarVisible, &TkypMDIForm::SetTitleBarVisible),
    OrdinalProperty<TkypMDIForm>(L"TitleBarDrawChildCaptions", &TkypMDIForm::TitleBarDrawChildCaptions,
                                 &TkypMDIForm::SetTitleBarDrawChildCaptions),
    OrdinalProperty<TkypMDIForm>(L"TitleBarDrawChildMenus", &TkypMDIForm::TitleBarDrawChildMenus,
                                 &TkypMDIForm::SetTitleBarDrawChildMenus),
    OrdinalProperty<TkypMDIForm>(L"RoundCorner", &TkypMDIForm::RoundCorner, &TkypMDIForm::SetRoundCorner),
    OrdinalProperty<TkypMDIForm>(L"RoundCornerBottom", &TkypMDIForm::RoundCornerBottom, &TkypMDIForm::SetRoundCornerBottom),
}));
}  // namespace
