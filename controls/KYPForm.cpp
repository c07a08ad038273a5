#include "KYPForm.h"

#include <algorithm>
#include <utility>

#include "Dialogs.h"
#include "KYPFrameMetrics.h"
#include "KYPPublicControls.h"
#include "KYPThemes.h"
#include "Messages.h"
#include "TypInfo.h"

namespace {

bool IsOnlyChild(HWND window)
{
    HWND parent = GetParent(window);
    return parent && GetWindow(parent, GW_CHILD) == window && !GetWindow(window, GW_HWNDNEXT);
}

}  // namespace

TkypForm* FindFormFrame(const TWinControl& form)
{
    for (int i = 0; i < form.ControlCount(); ++i)
        if (auto* frame = dynamic_cast<TkypForm*>(form.Controls(i))) return frame;
    return nullptr;
}

TkypForm::TkypForm(TComponent* owner) : TCustomPanel(owner) {}

TkypForm::~TkypForm() = default;

void TkypForm::AfterConstruction()
{
    auto* form = dynamic_cast<TForm*>(Owner());
    if (form && FindFormFrame(*form)) throw Exception(L"Sorry, You can create only one TkypForm component in one form!");
    TCustomPanel::AfterConstruction();
    if (form) SetUp(form);
}

void TkypForm::SetUp(TForm* form)
{
    m_Form = form;
    SetParent(form);  // a frame always stands on its form
    m_FormInitRect = NormalBounds();
    MeasureOldBorders();
    m_Form->SetBorderWidth(0);
    m_FormInitMax = m_Form->WindowState() == TWindowState::wsMaximized;
    m_TitleBar = New<TkypTitleBar>(this);
    m_TitleBar->SetParent(this);
    m_MenuBar = New<TkypFormMenuBar>(this, *this);
    SetMenuBarColor(Color());
    SetMenuBarToColor(Color());
    SetMenuBarHeight(kMenuBarHeight);
    SetUIStyle(DeepBlue);
    m_UIStyleAutoUpdateSub = false;
    SetBevelOuter(TBevelCut::bvNone);
    SetBevelInner(TBevelCut::bvNone);
    SetBorderStyle(TBorderStyle::bsNone);
    SetAlign(TAlign::alClient);
    SetCaption(m_Form->Caption());
    SetTitleBarVisible(true);
    m_MDIChildFormTitleVisible = true;
    m_SelfChanging = false;
    SetText(L" ");
    m_Form->SetScaled(false);
    m_Form->SetAutoScroll(false);
    m_OldBorderStyle = TakeDialogBorder(*m_Form);
    SetFormIcon();
    m_Window.Attach(this, *m_Form);
    RecomputeFrame(m_Form->Handle());
    UpdateFormRegion();  // the window's size changed since the style set the first one
}

// The bounds the form has when it is not maximised: a window made
// maximised already knows them, a form without a window has only its own.
TRect TkypForm::NormalBounds() const
{
    if (!m_Form->HandleAllocated() || !IsZoomed(m_Form->Handle())) return m_Form->BoundsRect();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(m_Form->Handle(), &placement);
    TRect area;
    GetWorkAreaRect(area);  // the placement counts from the work area
    const RECT& normal = placement.rcNormalPosition;
    return TRect(normal.left + area.Left, normal.top + area.Top, normal.right + area.Left, normal.bottom + area.Top);
}

// The form's own frame, caption still on: what the system's frame around
// the client area measures at the left and at the bottom.
void TkypForm::MeasureOldBorders()
{
    if (MDIChild()) {
        // The frame window that holds the child's MDI client, main form or
        // not; a child without its window yet is asked once it has one.
        const HWND client = GetParent(m_Form->Handle());
        const HWND target = client ? GetParent(client) : nullptr;
        const auto ask = [target](UINT msg) { return target ? static_cast<int>(SendMessageW(target, msg, 0, 0)) : 0; };
        m_Window.SetOldBorders(ask(KYPM_MDILEFTBORDER), ask(KYPM_MDIBOTTOMBORDER));
    } else {
        m_Window.MeasureOldBorders(m_Form->Handle());
    }
}

void TkypForm::SetFormIcon()
{
    if (!Designing()) SetDialogFrameIcon(*m_Form);
}

void TkypForm::BeforeDestruction()
{
    m_Window.Detach();
    TCustomPanel::BeforeDestruction();
}

void TkypForm::Loaded()
{
    TCustomPanel::Loaded();
    if (MDIChild()) UpdateFormRegion();
}

void TkypForm::Resize()
{
    TCustomPanel::Resize();
    if (!m_Form) return;
    if (m_TitleBar) m_TitleBar->SetAlign(TAlign::alTop);
    ReAssign();
}

void TkypForm::Notification(TComponent* component, TOperation operation)
{
    TCustomPanel::Notification(component, operation);
    if (!component || operation != TOperation::opRemove) return;
    if (component == m_TitleBar) m_TitleBar = nullptr;
    if (component == m_MenuBar) m_MenuBar = nullptr;
    if (component == m_Panel) m_Panel = nullptr;
    TkypUIStyle fallback = DeepBlue;
    if (m_FileTheme.Removed(component, operation, fallback)) {
        if (m_Window.Destroyed() || !m_Form || m_Form->HasState(csDestroying)) return;
        ApplyThemeToChildren(this, DeepBlue, nullptr);
        SetUIStyle(fallback);
    }
}

// ---------------------------------------------------------------- style

void TkypForm::SetUIStyle(TkypUIStyle style)
{
    m_UIStyle = style;
    if (!m_Form || m_Window.Destroyed()) return;
    const TRect bounds = m_Form->BoundsRect();
    TkypUIStyle resolved = style;
    {
        // The setters below paint and cut once, at the end.
        const TkypFlagScope change = m_Window.StyleChange();
        if (UsesThemeFile(FileTheme(), style, resolved))
            ApplySkinFile(*FileTheme());
        else
            ApplyBuiltInStyle(resolved);
    }
    if (m_TitleBar) {
        // A new theme re-applies the bar's style by itself.
        if (m_TitleBar->FileTheme() != FileTheme()) m_TitleBar->SetFileTheme(FileTheme());
        m_TitleBar->SetUIStyle(m_UIStyle);
    }
    if (m_MenuBar) m_MenuBar->StyleChanged(m_UIStyle, FileTheme());
    if (m_UIStyleAutoUpdateSub) ApplyThemeToChildren(this, m_UIStyle, FileTheme());
    // Each sends a size notice, whose OnResize may free the frame.
    const TkypLifeToken::TWatch life = m_Window.Watch();
    if (MDIChild()) SetControlBoundsRect(m_Form, bounds);
    if (!life) return;
    if (m_Form->HandleAllocated()) {
        RecomputeFrame(m_Form->Handle());
        if (!life) return;
        Repaint();
        PaintFormBorder();
        UpdateFormRegion();
    }
    const int titleHeight = m_TitleBar ? m_TitleBar->Height() : 0;
    m_Form->Constraints().SetMinHeight(MenuBarHeight() + titleHeight + m_Window.Skin().BottomBorderWidth + 3);
}

void TkypForm::ApplySkinFile(TkypFileTheme& theme)
{
    SetColor(theme.GetColor(SKIN2_FORMCOLOR));  // the menu bar's colours follow with the holder
    m_Window.Skin().Read(theme, m_TitleBar);
}

void TkypForm::ApplyBuiltInStyle(TkypUIStyle resolved)
{
    SetRoundCornerBottom(0);
    m_Window.Skin().Clear();
    SetBorderColor(GetStyleColor(resolved, TkypStyleAttr::BorderColor));
    SetBorderWidth(GetStyleInt(resolved, TkypStyleAttr::BorderWidth));
    SetColor(GetStyleColor(resolved, TkypStyleAttr::FormColor));
    SetRoundCorner(GetStyleInt(resolved, TkypStyleAttr::RoundCorner));
}

void TkypForm::SetFileTheme(TkypFileTheme* theme)
{
    if (theme == FileTheme()) return;
    if (theme && m_Form && HasState(csLoading) && theme->Owner() != m_Form) {
        m_Form->SetClientHeight(m_Form->ClientHeight() + 3);
        m_Form->SetClientWidth(m_Form->ClientWidth() + 4);
    }
    m_FileTheme.Set(theme);
    SetUIStyle(m_UIStyle);
}

// ------------------------------------------------------------ properties

void TkypForm::SetBorderColor(TColor color)
{
    m_BorderColor = color;
    PaintFormBorder();
}

void TkypForm::SetBorderWidth(int width)
{
    m_BorderWidth = width;
    PaintFormBorder();
}

bool TkypForm::TitleBarVisible() const { return m_TitleBar && m_TitleBar->Visible(); }

void TkypForm::SetTitleBarVisible(bool visible)
{
    if (!m_TitleBar || visible == m_TitleBar->Visible()) return;
    if (!m_SelfChanging) m_MDIChildFormTitleVisible = visible;
    // The layout that follows runs the handlers of the controls on the frame.
    const TkypLifeToken::TWatch life = m_Window.Watch();
    m_TitleBar->SetVisible(visible);
    if (life && m_TitleBar) m_TitleBar->SetTop(0);
    if (life) PaintFormBorder();
}

String TkypForm::Caption() const { return m_TitleBar ? m_TitleBar->Caption() : String(); }

void TkypForm::SetCaption(const String& caption)
{
    if (m_TitleBar) m_TitleBar->SetCaption(caption);
    if (m_Form) m_Form->SetCaption(caption);
}

void TkypForm::SetFormPanel(TCustomPanel* panel)
{
    if (panel == this) {
        MessageDlg(L"Sorry, you can't select the Form assign to FormPanel property", TMsgDlgType::mtError, mbOK);
        return;
    }
    if (m_Panel) m_Panel->RemoveFreeNotification(this);
    m_Panel = panel;
    if (!m_Panel) return;
    m_Panel->FreeNotification(this);
    m_Panel->SetAlign(TAlign::alClient);
    if (dynamic_cast<TPanel*>(m_Panel)) {
        m_Panel->SetBevelOuter(TBevelCut::bvNone);
        m_Panel->SetBevelInner(TBevelCut::bvNone);
        m_Panel->SetBorderStyle(TBorderStyle::bsNone);
        m_Panel->SetCaption(String());
    }
}

TFont* TkypForm::TitleFont() const { return m_TitleBar ? &m_TitleBar->Font() : nullptr; }

void TkypForm::SetTitleFont(TFont& font)
{
    if (m_TitleBar) m_TitleBar->SetFont(font);
}

TMainMenu* TkypForm::Menu() const { return m_MenuBar ? m_MenuBar->Menu() : nullptr; }

void TkypForm::SetMenu(TMainMenu* menu)
{
    if (m_MenuBar) m_MenuBar->SetMenu(menu);
}

TColor TkypForm::MenuBarColor() const { return m_MenuBar ? m_MenuBar->MenuBarColor() : Color(); }

void TkypForm::SetMenuBarColor(TColor color)
{
    if (m_MenuBar) m_MenuBar->SetMenuBarColor(color);
}

TColor TkypForm::MenuBarToColor() const { return m_MenuBar ? m_MenuBar->MenuBarToColor() : Color(); }

void TkypForm::SetMenuBarToColor(TColor color)
{
    if (m_MenuBar) m_MenuBar->SetMenuBarToColor(color);
}

int TkypForm::MenuBarHeight() const { return m_MenuBar ? m_MenuBar->MenuBarHeight() : 0; }

void TkypForm::SetMenuBarHeight(int height)
{
    if (m_MenuBar) m_MenuBar->SetMenuBarHeight(height);
}

void TkypForm::UpdateMenu()
{
    if (m_MenuBar) m_MenuBar->UpdateMenu();
}

void TkypForm::UpdateTopMenu()
{
    if (m_MenuBar) m_MenuBar->UpdateTopMenu();
}

void TkypForm::RepaintMenuBar()
{
    if (m_MenuBar) m_MenuBar->RepaintMenuBar();
}

void TkypForm::MenuBarPlaced()
{
    if (m_TitleBar) m_TitleBar->SetTop(0);
    PaintFormBorder();
}

int TkypForm::RoundCorner() const { return TitleBarVisible() ? m_TitleBar->RoundCorner() : 0; }

void TkypForm::SetRoundCorner(int size)
{
    if (m_TitleBar) m_TitleBar->SetRoundCorner(size);
    UpdateFormRegion();
}

int TkypForm::RoundCornerBottom() const { return TitleBarVisible() ? m_TitleBar->RoundCornerBottom() : 0; }

void TkypForm::SetRoundCornerBottom(int size)
{
    if (m_TitleBar) m_TitleBar->SetRoundCornerBottom(size);
    UpdateFormRegion();
}

#define KYP_TITLE_EVENT(Name, Type, field)                                                                             \
    Type TkypForm::Name() const { return m_TitleBar ? m_TitleBar->field : Type(); }                                    \
    void TkypForm::Set##Name(Type event)                                                                               \
    {                                                                                                                  \
        if (m_TitleBar) m_TitleBar->field = std::move(event);                                                          \
    }
KYP_TITLE_EVENT(OnTitleBarCustomBtnsClick, TkypTitleBarButtonClickEvent, OnCustomBtnsClick)
KYP_TITLE_EVENT(OnTitleBarHelpBtnClick, TkypTitleBarButtonClickEvent, OnHelpBtnClick)
KYP_TITLE_EVENT(OnTitleBarMinBtnClick, TkypTitleBarButtonClickEvent2, OnMinClick)
KYP_TITLE_EVENT(OnTitleBarMaxBtnClick, TkypTitleBarButtonClickEvent2, OnMaxClick)
#undef KYP_TITLE_EVENT

bool TkypForm::MDIChild() const { return m_Form && m_Form->FormStyle() == TFormStyle::fsMDIChild; }

int TkypForm::TitleBarHeight() const { return TitleBarVisible() ? m_TitleBar->Height() + 3 : 0; }

void TkypForm::AddHelpButton()
{
    if (m_TitleBar) m_TitleBar->AddHelpBtn();
}

void TkypForm::ReAssign() { m_Window.StripCaption(); }

// ------------------------------------------------------------- painting

void TkypForm::PaintFormBorder()
{
    if (!m_Window.WindowAlive()) return;
    const TkypFrameLayout layout =
        m_Window.Layout(MenuBarHeight(), MenuBarColor(), MenuBarToColor(), MenuBar() ? MenuBar()->Color() : Color());
    m_Window.Paint(m_UIStyle, FileTheme(), layout,
                   {.BorderWidth = m_BorderWidth, .BorderColor = m_BorderColor, .Color = Color(),
                    .RoundCorner = RoundCorner(), .Designing = Designing()});
}

TBitmap* TkypForm::BackgroundPattern()
{
    const wchar_t* name = m_UIStyle == MacOS ? L"MACOS_FORM_BACKGROUND" : L"PROTEIN_FORM_BACKGROUND";
    if (!m_Pattern || m_PatternStyle != m_UIStyle) {
        m_Pattern = MakeOwned<TBitmap>();
        m_PatternStyle = m_UIStyle;
        try {
            m_Pattern->LoadFromResourceName(GetModuleHandleW(nullptr), name);
        } catch (const EResNotFound&) {
            m_Pattern->SetSize(0, 0);  // a program without the pictures fills plainly
        }
    }
    return m_Pattern->Empty() ? nullptr : m_Pattern.get();
}

void TkypForm::Paint()
{
    if (m_Window.Destroyed()) return;
    const TRect client = ClientRect();
    TBitmap* pattern = m_UIStyle == MacOS || m_UIStyle == Protein ? BackgroundPattern() : nullptr;
    if (pattern) {
        if (!m_Background) m_Background = MakeOwned<TBitmap>();
        m_Background->SetSize(Width(), Height());
        TCanvas& work = m_Background->Canvas();
        work.Brush().SetBitmap(pattern);
        work.FillRect(client);
        work.Brush().SetBitmap(nullptr);
        BitBlt(Canvas().Handle(), 0, 0, Width(), Height(), work.Handle(), 0, 0, SRCCOPY);
    } else {
        Canvas().Brush().SetStyle(TBrushStyle::bsSolid);
        Canvas().Brush().SetColor(Color());
        Canvas().FillRect(client);
    }
    PaintFormBorder();
}

void TkypForm::WndProc(TMessage& message)
{
    if (message.Msg == WM_ERASEBKGND) {
        message.Result = 1;  // Paint covers the whole panel
        return;
    }
    TCustomPanel::WndProc(message);
}

void TkypForm::UpdateFormRegion()
{
    if (!m_Window.WindowAlive()) return;
    const HWND window = m_Form->Handle();
    // A maximised or minimised MDI child keeps its plain rectangle.
    const bool normal = !IsIconic(window) && !IsZoomed(window);
    m_Window.UpdateRegion(m_UIStyle, FileTheme(), normal || !MDIChild(), RoundCorner(), RoundCornerBottom(),
                          Designing());
}

// -------------------------------------------------------- the form's messages

void TkypForm::AfterFormMessage(TMessage& message)
{
    const HWND window = m_Form->HandleAllocated() ? m_Form->Handle() : nullptr;
    switch (message.Msg) {
    case WM_MDIACTIVATE: {
        const bool activated = window && reinterpret_cast<HWND>(message.LParam) == window;
        // What the client runs for the refresh may free the frame.
        const TkypLifeToken::TWatch life = m_Window.Watch();
        if (activated) SendToMDIClient(WM_MDIREFRESHMENU, reinterpret_cast<WPARAM>(window));
        if (life && m_TitleBar) m_TitleBar->SetFormActive(activated);
        break;
    }
    case WM_SHOWWINDOW: m_Form->SetMenu(nullptr); break;
    case WM_DESTROY:
        if (!window || !MDIChild()) break;
        if (IsOnlyChild(window)) {
            const TkypLifeToken::TWatch life = m_Window.Watch();
            SendToMDIClient(WM_MDIREFRESHMENU, reinterpret_cast<WPARAM>(window));
            if (!life) break;
        }
        if (IsZoomed(window)) SendToMDIClient(WM_MDIRESTORE, reinterpret_cast<WPARAM>(window));
        break;
    case CM_RECREATEWND: {
        // The frame recomputed (a size notice) and the icon sent may free the frame.
        const TkypLifeToken::TWatch life = m_Window.Watch();
        m_Window.StripCaption();
        if (life) SetFormIcon();
        if (life) UpdateFormRegion();
        break;
    }
    case WM_STYLECHANGED: m_Window.StripCaption(); break;
    case WM_SIZE: SizeChanged(); break;
    case WM_NCHITTEST:
        if (MDIChild()) message.Result = FrameHitTest(static_cast<int>(message.Result),
                                                      m_OldBorderStyle == TFormBorderStyle::bsSingle);
        break;
    default: break;
    }
}

// The MDI client a child stands in is its own parent window, whichever
// form is the main one.
void TkypForm::SendToMDIClient(UINT msg, WPARAM wParam)
{
    if (!MDIChild() || !m_Form->HandleAllocated()) return;
    const HWND window = m_Form->Handle();
    if (!(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_MDICHILD)) return;
    if (HWND client = GetParent(window)) SendMessageW(client, msg, wParam, 0);
}

void TkypForm::SizeChanged()
{
    if (!m_Window.WindowAlive()) return;
    const HWND window = m_Form->Handle();
    const bool maximized = IsZoomed(window) != FALSE;
    if (maximized && Designing()) return;
    // Each sends a size notice of its own, whose OnResize may free the frame;
    // the MDI client's maximise or restore may send a nested one.
    const TkypLifeToken::TWatch life = m_Window.Watch();
    if (m_FormInitMax) FirstSizes(maximized);
    if (!life) return;
    if (maximized && !MDIChild()) FitToWorkArea(*m_Form);
    if (!life) return;
    if (m_TitleBar) {
        m_TitleBar->ProcessMaxBtn();
        m_TitleBar->Repaint();
    }
    PaintFormBorder();
    if (MDIChild()) MDIChildSized(maximized);
    if (life) UpdateFormRegion();
}

// A form made maximised: maximised again once the program has seen three
// such notices, put back to its first bounds at its first notice that is
// not maximised.
void TkypForm::FirstSizes(bool maximized)
{
    if (MDIChild()) {
        m_MaxFlag = true;
        m_FormInitMax = false;
        m_MaxFlag3 = true;
    } else if (maximized) {
        if (s_InitMaxSizeCount == 2)
            m_Form->SetWindowState(TWindowState::wsMaximized);
        else
            ++s_InitMaxSizeCount;
    } else {
        m_FormInitMax = false;
        // A copy: each step of the bounds sends a size notice that may free the frame.
        const TRect first = m_FormInitRect;
        SetControlBoundsRect(m_Form, first);
    }
}

// Not a choice from outside: an MDI child's restore brings back the last one.
void TkypForm::SetTitleBarVisibleItself(bool visible)
{
    const TkypFlagScope selfChanging(m_SelfChanging, true, m_Window.Watch());
    SetTitleBarVisible(visible);
}

void TkypForm::MDIChildSized(bool maximized)
{
    const HWND window = m_Form->Handle();
    const int titleHeight = m_TitleBar ? m_TitleBar->Height() : 0;
    const TkypLifeToken::TWatch life = m_Window.Watch();
    if (maximized) {
        SetTitleBarVisibleItself(false);
        if (!life) return;
        if (!m_MaxFlag) {
            ScrollBy(0, 3 - titleHeight);
            m_MaxFlag = true;
            SendToMDIClient(WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(window));
        }
        return;
    }
    if (m_MDIChildFormTitleVisible) SetTitleBarVisibleItself(true);
    if (!life) return;
    if (m_MaxFlag) {
        if ((m_MaxFlag3 && m_MaxFlag2) || !m_MaxFlag3) ScrollBy(0, titleHeight - 3);
        m_MaxFlag2 = true;
        m_MaxFlag = false;
        if (m_TitleBar) m_TitleBar->ProcessMaxBtn();
        SendToMDIClient(WM_MDIRESTORE, 0);
    }
}

// ------------------------------------------------- the application's messages

// Alt+Space in any window of the form opens the title bar's system menu.
bool TkypForm::ApplicationKey(MSG& msg, bool& handled)
{
    if (msg.message != WM_SYSCHAR || LOWORD(msg.wParam) != VK_SPACE) return false;
    if (!m_Window.Contains(msg.hwnd) || !m_TitleBar || !m_TitleBar->DefPopupMenu()) return true;
    TForm* anchor = Application && Application->MainForm() ? Application->MainForm() : m_Form;
    handled = true;
    m_TitleBar->DefPopupMenu()->Popup(anchor->Left(), anchor->Top() + m_TitleBar->Height());
    return true;
}

void TkypForm::IsMenuShortCut(TMessage& message)
{
    if (m_Window.Destroyed()) return;
    message.Result = IsFormActive(m_Form) && m_Form->Active() && Menu() && Menu()->IsShortCut(message) ? 1 : 0;
}

// ------------------------------------------------------------- properties

namespace {
const bool kypFormPropertiesRegistered = RegisterProperties<TkypForm, TControl>(WithTitleBarProperties<TkypForm>({
    ObjectProperty<TkypForm, TkypFileTheme>(L"FileTheme", &TkypForm::FileTheme, &TkypForm::SetFileTheme),
    OrdinalProperty<TkypForm>(L"UIStyle", &TkypForm::UIStyle, &TkypForm::SetUIStyle),
    OrdinalProperty<TkypForm>(L"UIStyleAutoUpdateSub", &TkypForm::UIStyleAutoUpdateSub, &TkypForm::SetUIStyleAutoUpdateSub),
    OrdinalProperty<TkypForm>(L"BorderColor", &TkypForm::BorderColor, &TkypForm::SetBorderColor),
    OrdinalProperty<TkypForm>(L"BorderWidth", &TkypForm::BorderWidth, &TkypForm::SetBorderWidth),
    OrdinalProperty<TkypForm>(L"TitleBarVisible", &TkypForm::TitleBarVisible, &TkypForm::SetTitleBarVisible),
    ObjectProperty<TkypForm, TCustomPanel>(L"FormPanel", &TkypForm::FormPanel, &TkypForm::SetFormPanel),
    // The panel's own font stays what the controls on it inherit.
    ObjectProperty<TkypForm, TFont>(
        L"Font", [](TkypForm* frame) { return frame->TitleFont(); },
        [](TkypForm* frame, TFont* font) {
            if (font) frame->SetTitleFont(*font);
        }),
    ObjectProperty<TkypForm, TMainMenu>(L"Menu", &TkypForm::Menu, &TkypForm::SetMenu),
    OrdinalProperty<TkypForm>(L"MenuBarColor", &TkypForm::MenuBarColor, &TkypForm::SetMenuBarColor),
    OrdinalProperty<TkypForm>(L"MenuBarToColor", &TkypForm::MenuBarToColor, &TkypForm::SetMenuBarToColor),
    OrdinalProperty<TkypForm>(L"MenuBarHeight", &TkypForm::MenuBarHeight, &TkypForm::SetMenuBarHeight),
    OrdinalProperty<TkypForm>(L"RoundCorner", &TkypForm::RoundCorner, &TkypForm::SetRoundCorner),
    OrdinalProperty<TkypForm>(L"RoundCornerBottom", &TkypForm::RoundCornerBottom, &TkypForm::SetRoundCornerBottom),
}));
}  // namespace
