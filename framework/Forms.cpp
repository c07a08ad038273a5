#include "Forms.h"

#include <algorithm>
#include <iterator>

#include "AppEvnts.h"
#include "ApplicationHook.h"
#include "Keyboard.h"

namespace {

TApplication* MakeApplication()
{
    static TOwned<TApplication> application(New<TApplication>(nullptr));
    return application.get();
}

TScreen* MakeScreen()
{
    static TOwned<TScreen> screen(New<TScreen>(nullptr));
    return screen.get();
}

TRect PrimaryWorkArea()
{
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

}  // namespace

TApplication* Application = MakeApplication();
TScreen* Screen = MakeScreen();

// ------------------------------------------------------------------ TForm

TForm::TForm(TComponent* owner) : TWinControl(owner), icon_(MakeOwned<TIcon>())
{
    icon_->OnChange = [this](TObject*) { UpdateWindowIcon(); };
    TControl::SetVisible(false);
    SetBoundsFields(0, 0, 320, 240);
}

TForm::~TForm()
{
    DestroyComponents();
}

void TForm::AfterConstruction()
{
    TWinControl::AfterConstruction();
    if (OnCreate) OnCreate(this);
}

void TForm::BeforeDestruction()
{
    if (OnDestroy) OnDestroy(this);
    // While whole: the client tells its frame's window menu and activates the next child.
    if (IsMDIChildWindow()) DestroyHandle();
    if (HandleAllocated()) LeaveScreenUnhidden();
    TWinControl::BeforeDestruction();
}

// A top-level form that goes is not hidden first: Wine's X11 driver, hiding
// one, waits up to 2 s for a window manager to confirm it (every close on a
// display without one). Marked invisible, it is destroyed without that, its
// controls go without repainting it, and what lies under it is painted
// anew (without desktop composition nothing else would).
void TForm::LeaveScreenUnhidden()
{
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    if ((style & WS_CHILD) || !(style & WS_VISIBLE)) return;
    RECT area{};
    GetWindowRect(Handle(), &area);
    SetWindowLongPtrW(Handle(), GWL_STYLE, style & ~WS_VISIBLE);
    RedrawWindow(nullptr, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TForm::FrameStyle(DWORD& style, DWORD& exStyle) const
{
    exStyle = 0;
    switch (borderStyle_) {
    case TFormBorderStyle::bsNone: style = WS_POPUP; break;
    case TFormBorderStyle::bsSingle: style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX; break;
    case TFormBorderStyle::bsSizeable: style = WS_OVERLAPPEDWINDOW; break;
    case TFormBorderStyle::bsDialog:
        style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        exStyle = WS_EX_DLGMODALFRAME;
        break;
    case TFormBorderStyle::bsToolWindow:
        style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        exStyle = WS_EX_TOOLWINDOW;
        break;
    case TFormBorderStyle::bsSizeToolWin:
        style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
        exStyle = WS_EX_TOOLWINDOW;
        break;
    }
}

void TForm::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    DWORD style = 0, exStyle = 0;
    FrameStyle(style, exStyle);
    params.Style = style | WS_CLIPCHILDREN | (params.Style & (WS_VISIBLE | WS_DISABLED));
    params.ExStyle = exStyle;
    // Made in its state: a window shown normal and maximised after gets its
    // first size from the display server late, which restores it.
    if (windowState_ == TWindowState::wsMaximized) params.Style |= WS_MAXIMIZE;
    if (windowState_ == TWindowState::wsMinimized) params.Style |= WS_MINIMIZE;
    if (formStyle_ == TFormStyle::fsMDIChild && !Parent()) {
        params.Style = (params.Style & ~WS_POPUP) | WS_CHILD | WS_CLIPSIBLINGS;
        params.ExStyle |= WS_EX_MDICHILD;
    }
}

void TForm::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdateWindowIcon();
    if (menu_) menu_->AttachTo(Handle());
    if (formStyle_ == TFormStyle::fsMDIForm) {
        client_ = std::make_unique<TMDIClient>(Handle(), WindowMenuHandle());
        Realign();
    }
}

void TForm::SetMenu(TMainMenu* menu)
{
    if (menu == menu_) return;
    // The client area keeps its size as the bar comes or goes.
    const TRect client = ClientRect();
    if (menu_) {
        if (HandleAllocated()) menu_->AttachTo(nullptr);
        menu_->RemoveFreeNotification(this);
    }
    menu_ = menu;
    if (!menu_) {
        if (HandleAllocated()) SetClientHeight(client.Height());
        return;
    }
    menu_->FreeNotification(this);
    if (HandleAllocated()) {
        menu_->AttachTo(Handle());
        SetClientHeight(client.Height());
    }
    UpdateClientMenus();
}

bool TForm::IsShortCut(const TMessage& message)
{
    if (menu_ && menu_->IsShortCut(message)) return true;
    // The keys of a child reach its frame's menu too.
    TForm* frame = Application->MainForm();
    return frame && frame != this && IsMDIChildWindow() && frame->IsShortCut(message);
}

void TForm::UpdateWindowIcon()
{
    if (!HandleAllocated()) return;
    HICON icon = icon_->Empty() ? Application->Icon().Handle() : icon_->Handle();
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

HWND TForm::ParentWindow() const
{
    if (Parent()) return TWinControl::ParentWindow();
    if (formStyle_ != TFormStyle::fsMDIChild) return Application->Handle();
    TForm* frame = Application->MainForm();
    if (!frame || frame == this || frame->FormStyle() != TFormStyle::fsMDIForm)
        throw Exception(L"Cannot create an MDI child: the main form is not an MDI form");
    frame->HandleNeeded();
    return frame->ClientHandle();
}

TSize TForm::FrameSize() const
{
    if (HandleAllocated()) {
        const TRect client = ClientRect();
        return TSize{Width() - client.Width(), Height() - client.Height()};
    }
    DWORD style = 0, exStyle = 0;
    FrameStyle(style, exStyle);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return TSize{frame.right - frame.left, frame.bottom - frame.top};
}

TRect TForm::ClientRect() const
{
    if (HandleAllocated()) return TWinControl::ClientRect();
    const TSize frame = FrameSize();
    return TRect(0, 0, std::max(Width() - frame.cx, 0), std::max(Height() - frame.cy, 0));
}

void TForm::SetClientWidth(int width) { SetWidth(width + FrameSize().cx); }

void TForm::SetClientHeight(int height) { SetHeight(height + FrameSize().cy); }

void TForm::SetBorderStyle(TFormBorderStyle style)
{
    if (style == borderStyle_) return;
    // The client area keeps its size; the frame around it changes.
    const TRect client = ClientRect();
    borderStyle_ = style;
    Restyle();
    SetClientWidth(client.Width());
    SetClientHeight(client.Height());
}

int TForm::ShowCommand() const
{
    switch (windowState_) {
    case TWindowState::wsMinimized: return SW_SHOWMINIMIZED;
    case TWindowState::wsMaximized: return SW_SHOWMAXIMIZED;
    default: return SW_SHOW;
    }
}

void TForm::SetWindowState(TWindowState state)
{
    windowState_ = state;
    if (!HandleAllocated() || !Visible()) return;
    if (IsMDIChildWindow()) {
        SetMDIChildState(state);
        return;
    }
    switch (state) {
    case TWindowState::wsNormal: {
        // From minimised the system first restores a maximised form to
        // maximised. Its size notice runs OnResize, which may free the form.
        const TAliveCheck alive(*this);
        ShowWindow(Handle(), SW_SHOWNORMAL);
        if (alive.Alive() && IsZoomed(Handle())) ShowWindow(Handle(), SW_SHOWNORMAL);
        break;
    }
    case TWindowState::wsMinimized: ShowWindow(Handle(), SW_MINIMIZE); break;
    case TWindowState::wsMaximized: ShowWindow(Handle(), SW_MAXIMIZE); break;
    }
}

// The system, the keyboard or the user changed the window's state.
void TForm::TrackWindowState(WPARAM sizeType)
{
    if (HasControlState(csCreating) || !IsWindowVisible(Handle())) return;
    switch (sizeType) {
    case SIZE_RESTORED: windowState_ = TWindowState::wsNormal; break;
    case SIZE_MINIMIZED: windowState_ = TWindowState::wsMinimized; break;
    case SIZE_MAXIMIZED: windowState_ = TWindowState::wsMaximized; break;
    default: break;
    }
}

void TForm::PlaceOnFirstShow()
{
    if (shownOnce_) return;
    shownOnce_ = true;
    if (position_ != TPosition::poScreenCenter) return;
    const TRect area = PrimaryWorkArea();
    SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(), Height());
}

void TForm::SetVisible(bool visible)
{
    if (visible == Visible()) return;
    if (visible) {
        PlaceOnFirstShow();
        if (OnShow) OnShow(this);
        TWinControl::SetVisible(true);
        BringToFront();
    } else {
        if (OnHide) OnHide(this);
        TWinControl::SetVisible(false);
    }
}

void TForm::BringToFront()
{
    if (Parent()) {
        TWinControl::BringToFront();
        return;
    }
    if (!HandleAllocated()) return;
    if (IsMDIChildWindow())
        TMDIClient::Activate(Handle());
    else
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TForm::Close()
{
    // An MDI child cannot well be hidden: by default it goes to an icon.
    TCloseAction action = formStyle_ == TFormStyle::fsMDIChild ? TCloseAction::caMinimize : TCloseAction::caHide;
    if (OnClose) OnClose(this, action);
    if (action == TCloseAction::caNone) return;
    if (Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case TCloseAction::caHide: Hide(); break;
    case TCloseAction::caMinimize: SetWindowState(TWindowState::wsMinimized); break;
    case TCloseAction::caFree:
        // Freed from the message loop, after the handler that closed it.
        PostMessageW(Handle(), CM_RELEASE, 0, 0);
        break;
    case TCloseAction::caNone: break;
    }
}

void TForm::WatchActiveControl(TWinControl* control)
{
    if (control == activeControl_) return;
    if (activeControl_) activeControl_->RemoveFreeNotification(this);
    activeControl_ = control;
    if (activeControl_) activeControl_->FreeNotification(this);
}

void TForm::SetActiveControl(TWinControl* control)
{
    WatchActiveControl(control);
    if (control && Visible() && control->CanFocus()) control->SetFocus();
}

void TForm::SetFocusedControl(TWinControl* control)
{
    if (control != this) WatchActiveControl(control);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TForm::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == activeControl_) activeControl_ = nullptr;
    if (operation == TOperation::opRemove && component == menu_) menu_ = nullptr;
    if (operation == TOperation::opRemove && component == windowMenu_) windowMenu_ = nullptr;
    if (operation == TOperation::opRemove && recreatedChildren_)
        std::replace_if(recreatedChildren_->begin(), recreatedChildren_->end(),
            [component](const TForm* child) { return child == component; }, nullptr);
}

// Tab and Shift+Tab move the focus in tab order; every other dialog key
// goes round the controls.
bool TForm::TakeDialogKey(const TMessage& message)
{
    const TShiftState shift = KeyDataToShiftState(message.LParam);
    if (message.WParam != VK_TAB || (shift & (ssCtrl | ssAlt))) return false;
    SelectNext(activeControl_, !(shift & ssShift), true);
    return true;
}

void TForm::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_CLOSE: Close(); break;
    case WM_SIZE:
        TrackWindowState(message.WParam);
        TWinControl::WndProc(message);
        break;
    case WM_ACTIVATE:
        active_ = LOWORD(message.WParam) != WA_INACTIVE;
        // A press or hover in progress ends with the activation.
        if (!active_ && activeControl_) activeControl_->Perform(CM_CANCELMODE);
        TWinControl::WndProc(message);
        break;
    case CM_DIALOGKEY:
        if (TakeDialogKey(message))
            message.Result = 1;
        else
            TWinControl::WndProc(message);
        break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_COMMAND:
    case WM_MENUCHAR:
        if (!DispatchMenuMessage(Handle(), message)) TWinControl::WndProc(message);
        break;
    case WM_DESTROY:
        // The window would destroy the bar with it; the bar is the menu's.
        if (menu_) ::SetMenu(Handle(), nullptr);
        TWinControl::WndProc(message);
        break;
    case CM_MENUCHANGED: UpdateClientMenus(); break;
    case CM_RECREATEWND: RecreateWithChildren(message); break;
    case WM_NCDESTROY:
        // The client went with the window's children.
        if (client_) client_->FrameGone();
        client_.reset();
        TWinControl::WndProc(message);
        break;
    case CM_RELEASE: FreeObject(this); break;  // nothing of this object is touched after
    default: TWinControl::WndProc(message); break;
    }
}

TForm* GetParentForm(TControl* control)
{
    while (control && control->Parent()) control = control->Parent();
    return dynamic_cast<TForm*>(control);
}

// ----------------------------------------------------------- TApplication

TApplication::TApplication(TComponent* owner) : TComponent(owner), icon_(MakeOwned<TIcon>())
{
    HINSTANCE program = GetModuleHandleW(nullptr);
    if (FindResourceW(program, L"MAINICON", RT_GROUP_ICON))
        icon_->LoadFromResourceName(program, L"MAINICON");
    icon_->OnChange = [this](TObject*) { IconChanged(); };
}

// The application window and every form without an icon of its own.
void TApplication::IconChanged()
{
    if (handle_) SendMessageW(handle_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_->Handle()));
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* form = dynamic_cast<TForm*>(Components(i)); form && form->Icon().Empty()) form->UpdateWindowIcon();
}

TApplication::~TApplication()
{
    DestroyComponents();
}

void TApplication::Initialize()
{
    SetProcessMessagesHook([this] { ProcessMessages(); });
    SetControlExceptionHandler([this](TObject* sender) { HandleException(sender); });
}

void TApplication::SetTitle(const String& title)
{
    title_ = title;
    if (handle_) SetWindowTextW(handle_.get(), title_.c_str());
}

String TApplication::ExeName() const
{
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    return String(path, length);
}

HWND TApplication::Handle()
{
    if (handle_) return handle_.get();
    static const wchar_t* const className = L"Quorvell.TApplication";
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = ApplicationWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassExW(&windowClass);
        registered = true;
    }
    HWND window = CreateWindowExW(0, className, title_.c_str(),
        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr, nullptr,
        GetModuleHandleW(nullptr), nullptr);
    if (!window) throw Exception(L"Cannot create the application window");
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    handle_.reset(window);
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_->Handle()));
    return window;
}

LRESULT CALLBACK TApplication::ApplicationWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* application = reinterpret_cast<TApplication*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (application && msg == WM_SYSCOMMAND) {
        try {
            switch (wParam & 0xFFF0) {
            case SC_MINIMIZE: application->Minimize(); return 0;
            case SC_RESTORE: application->Restore(); return 0;
            default: break;
            }
        } catch (...) {
            application->HandleException(application);
            return 0;
        }
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

void TApplication::Minimize()
{
    if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_MINIMIZE);
}

void TApplication::Restore()
{
    if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_RESTORE);
}

bool TApplication::Active() const
{
    HWND foreground = GetForegroundWindow();
    if (!foreground) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(foreground, &process);
    return process == GetCurrentProcessId();
}

void TApplication::Run()
{
    if (mainForm_) mainForm_->Show();
    while (!terminated_) HandleMessage();
    DestroyComponents();
}

void TApplication::Terminate()
{
    if (terminated_) return;
    terminated_ = true;
    PostQuitMessage(0);
}

// False for WM_QUIT, which ends the loop.
bool TApplication::ProcessMessage(MSG& msg)
{
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    try {
        if (TApplicationEvents::RunHooks(msg)) return true;
        if (IsMDIMessage(msg)) return true;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    } catch (...) {
        HandleException(this);
    }
    return true;
}

void TApplication::ProcessMessages()
{
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!ProcessMessage(msg)) break;
}

void TApplication::HandleMessage()
{
    MSG msg{};
    const BOOL result = GetMessageW(&msg, nullptr, 0, 0);
    if (result == 0 || result == -1) {
        terminated_ = true;
        return;
    }
    ProcessMessage(msg);
}

void TApplication::HandleException(TObject* sender)
{
    try {
        throw;
    } catch (const Exception& error) {
        ShowException(sender, error);
    } catch (...) {
        ShowException(sender, Exception(CurrentExceptionMessage()));
    }
}

void TApplication::ShowException(TObject* sender, const Exception& error)
{
    if (OnException) {
        OnException(sender, error);
        return;
    }
    HWND owner = mainForm_ && mainForm_->HandleAllocated() ? mainForm_->Handle() : nullptr;
    ::MessageBoxW(owner, error.Message().c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const String& text, const String& caption, UINT flags)
{
    HWND owner = mainForm_ && mainForm_->HandleAllocated() ? mainForm_->Handle() : Handle();
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void TApplication::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == mainForm_) mainForm_ = nullptr;
}

// ---------------------------------------------------------------- TScreen

namespace {
MONITORINFO MonitorInfo(HMONITOR monitor)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    return info;
}
}  // namespace

TRect TMonitor::BoundsRect() const { return MonitorInfo(handle_).rcMonitor; }
TRect TMonitor::WorkareaRect() const { return MonitorInfo(handle_).rcWork; }
bool TMonitor::Primary() const { return (MonitorInfo(handle_).dwFlags & MONITORINFOF_PRIMARY) != 0; }

TMonitor* TScreen::MonitorOf(HMONITOR handle)
{
    if (!handle) return nullptr;
    auto& monitor = monitors_[handle];
    if (!monitor) monitor = MakeOwned<TMonitor>(handle);
    return monitor.get();
}

TMonitor* TScreen::MonitorFromWindow(HWND window, TMonitorDefaultTo defaultTo)
{
    const DWORD flags = defaultTo == TMonitorDefaultTo::mdNearest ? MONITOR_DEFAULTTONEAREST
                        : defaultTo == TMonitorDefaultTo::mdPrimary ? MONITOR_DEFAULTTOPRIMARY
                                                                    : MONITOR_DEFAULTTONULL;
    return MonitorOf(::MonitorFromWindow(window, flags));
}

TMonitor* TScreen::PrimaryMonitor() { return MonitorOf(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)); }
