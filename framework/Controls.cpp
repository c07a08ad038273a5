#include "Controls.h"

#include <algorithm>
#include <set>

#include "Forms.h"
#include "Keyboard.h"
#include "Menus.h"
#include "TypInfo.h"

namespace {

TExceptionHandler& ExceptionHandler()
{
    static TExceptionHandler handler;
    return handler;
}

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST; }

TPoint MessagePoint(LPARAM lParam)
{
    return TPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

LPARAM PointParam(TPoint point)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(point.X)), static_cast<WORD>(static_cast<short>(point.Y)));
}

bool Contains(const TRect& rect, TPoint point)
{
    return point.X >= rect.Left && point.X < rect.Right && point.Y >= rect.Top && point.Y < rect.Bottom;
}

// Whether A is laid out nearer the edge than B.
bool AlignsBefore(const TControl& a, const TControl& b, TAlign align)
{
    switch (align) {
    case TAlign::alTop: return a.Top() < b.Top();
    case TAlign::alBottom: return a.Top() + a.Height() > b.Top() + b.Height();
    case TAlign::alLeft: return a.Left() < b.Left();
    case TAlign::alRight: return a.Left() + a.Width() > b.Left() + b.Width();
    default: return false;
    }
}

// Classes are registered once per name, for the life of the process.
void RegisterWindowClass(const TCreateParams& params)
{
    static std::set<String> registered;
    if (registered.count(params.ClassName)) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = params.ClassStyle;
    windowClass.lpfnWndProc = FrameworkWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = params.Cursor ? params.Cursor : LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = params.Background;
    windowClass.lpszClassName = params.ClassName.c_str();
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw Exception(L"Cannot register the window class " + params.ClassName);
    registered.insert(params.ClassName);
}

// Hands the DC to a child with its origin at the child's corner and its
// clip cut to the child, and puts the DC back afterwards.
class TChildPaintScope {
public:
    TChildPaintScope(HDC dc, const TRect& bounds) : saved_(dc)
    {
        POINT origin{};
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x + bounds.Left, origin.y + bounds.Top, nullptr);
        IntersectClipRect(dc, 0, 0, bounds.Width(), bounds.Height());
    }

private:
    TSavedDC saved_;
};

// The canvas draws on a DC only for one scope.
class TCanvasScope {
public:
    TCanvasScope(TCanvas& canvas, HDC dc) : canvas_(canvas) { canvas_.SetHandle(dc); }
    TCanvasScope(const TCanvasScope&) = delete;
    TCanvasScope& operator=(const TCanvasScope&) = delete;
    ~TCanvasScope() { canvas_.SetHandle(nullptr); }

private:
    TCanvas& canvas_;
};

}  // namespace

void SetControlExceptionHandler(TExceptionHandler handler) { ExceptionHandler() = std::move(handler); }

void HandleControlException(TObject* sender)
{
    if (ExceptionHandler()) {
        ExceptionHandler()(sender);
        return;
    }
    const String message = CurrentExceptionMessage();
    MessageBoxW(nullptr, message.c_str(), L"Error", MB_OK | MB_ICONERROR);
}

TShiftState MouseShiftState(WPARAM keyFlags)
{
    TShiftState shift = 0;
    if (keyFlags & MK_SHIFT) shift |= ssShift;
    if (keyFlags & MK_CONTROL) shift |= ssCtrl;
    if (keyFlags & MK_LBUTTON) shift |= ssLeft;
    if (keyFlags & MK_RBUTTON) shift |= ssRight;
    if (keyFlags & MK_MBUTTON) shift |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

TShiftState KeyboardShiftState()
{
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

// -------------------------------------------------------- TSizeConstraints

int TSizeConstraints::Constrain(int value, int least, int most)
{
    if (most > 0) value = std::min(value, most);
    return least > 0 ? std::max(value, least) : value;
}

void TSizeConstraints::SetLimits(int minWidth, int maxWidth, int minHeight, int maxHeight, bool minimumWins)
{
    const auto settle = [minimumWins](int& least, int& most) {
        least = std::max(least, 0);
        most = std::max(most, 0);
        if (most == 0 || least <= most) return;
        if (minimumWins)
            most = least;
        else
            least = most;
    };
    settle(minWidth, maxWidth);
    settle(minHeight, maxHeight);
    if (minWidth == minWidth_ && maxWidth == maxWidth_ && minHeight == minHeight_ && maxHeight == maxHeight_) return;
    minWidth_ = minWidth;
    maxWidth_ = maxWidth;
    minHeight_ = minHeight;
    maxHeight_ = maxHeight;
    if (OnChange) OnChange(this);
}

void TSizeConstraints::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TSizeConstraints*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    SetLimits(other->minWidth_, other->maxWidth_, other->minHeight_, other->maxHeight_, true);
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* owner)
    : TComponent(owner), font_(MakeOwned<TFont>()), constraints_(MakeOwned<TSizeConstraints>())
{
    constraints_->OnChange = [this](TObject*) { SetBounds(left_, top_, width_, height_); };
    WindowProc = [this](TMessage& message) { WndProc(message); };
    font_->OnChange = [this](TObject*) {
        if (!inheritingFont_) parentFont_ = false;
        Perform(CM_FONTCHANGED);
    };
}

TControl::~TControl()
{
    for (TAliveCheck* check = aliveChecks_; check; check = check->next_) check->control_ = nullptr;
    if (windowHooks_) windowHooks_->ControlGone();
    if (parent_) parent_->RemoveControl(this);
}

// Owned components go while this object is still whole, so that their
// notifications and unsubscriptions find a complete owner.
void TControl::BeforeDestruction()
{
    TComponent::BeforeDestruction();
    DestroyComponents();
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_) return;
    if (parent == this) throw Exception(L"A control cannot be its own parent");
    if (parent_) parent_->RemoveControl(this);
    parent_ = parent;
    if (parent_) {
        parent_->InsertControl(this);
        InheritFromParent();
    }
    Invalidate();
}

void TControl::InheritFromParent()
{
    if (!parent_) return;
    if (parentFont_) {
        inheritingFont_ = true;
        font_->Assign(&parent_->Font());
        inheritingFont_ = false;
    }
    if (parentColor_) color_ = parent_->Color();
    if (parentBiDiMode_) biDiMode_ = parent_->BiDiMode();
}

void TControl::SetBiDiMode(TBiDiMode mode)
{
    parentBiDiMode_ = false;
    ApplyBiDiMode(mode);
}

// Children that take their reading order from their parent follow it, down
// the whole tree, as they would take it when parented afresh.
void TControl::ApplyBiDiMode(TBiDiMode mode)
{
    if (mode == biDiMode_) return;
    biDiMode_ = mode;
    Invalidate();
    if (auto* container = dynamic_cast<TWinControl*>(this))
        for (int i = 0; i < container->ControlCount(); ++i)
            if (TControl* child = container->Controls(i); child->ParentBiDiMode()) child->ApplyBiDiMode(mode);
}

void TControl::SetParentBiDiMode(bool parentBiDiMode)
{
    parentBiDiMode_ = parentBiDiMode;
    InheritFromParent();
    Invalidate();
}

void TControl::SetBoundsFields(int left, int top, int width, int height)
{
    left_ = left;
    top_ = top;
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    width = constraints_->ConstrainWidth(width);
    height = constraints_->ConstrainHeight(height);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    const bool resized = width != width_ || height != height_;
    Invalidate();
    SetBoundsFields(left, top, width, height);
    BoundsChanged();
    if (resized) Resize();
    if (align_ != TAlign::alNone) RequestAlign();
}

void TControl::SetAlign(TAlign align)
{
    if (align == align_) return;
    align_ = align;
    RequestAlign();
}

void TControl::RequestAlign()
{
    if (parent_) parent_->Realign(this);
}

TPoint TControl::ClientOrigin() const
{
    const TPoint origin(left_, top_);
    return parent_ ? parent_->ClientToScreen(origin) : origin;
}

TPoint TControl::ClientToScreen(TPoint point) const
{
    const TPoint origin = ClientOrigin();
    return TPoint(origin.X + point.X, origin.Y + point.Y);
}

TPoint TControl::ScreenToClient(TPoint point) const
{
    const TPoint origin = ClientOrigin();
    return TPoint(point.X - origin.X, point.Y - origin.Y);
}

void TControl::SetVisible(bool visible)
{
    if (visible == visible_) return;
    visible_ = visible;
    if (parent_) parent_->Invalidate();
    if (align_ != TAlign::alNone) RequestAlign();
}

void TControl::SetEnabled(bool enabled)
{
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

void TControl::SetColor(TColor color)
{
    parentColor_ = false;
    if (color == color_) return;
    color_ = color;
    Perform(CM_COLORCHANGED);
    Invalidate();
}

void TControl::SetParentColor(bool parentColor)
{
    parentColor_ = parentColor;
    InheritFromParent();
    Invalidate();
}

void TControl::SetParentFont(bool parentFont)
{
    parentFont_ = parentFont;
    InheritFromParent();
    Invalidate();
}

void TControl::SetText(const String& text)
{
    if (text == text_) return;
    text_ = text;
    Perform(CM_TEXTCHANGED);
    Invalidate();
}

void TControl::SetShowHint(bool showHint)
{
    showHint_ = showHint;
    parentShowHint_ = false;
}

void TControl::SetParentShowHint(bool parentShowHint)
{
    parentShowHint_ = parentShowHint;
    if (parentShowHint_ && parent_) showHint_ = parent_->ShowHint();
}

void TControl::AttachPopupMenu(TPopupMenu* menu, TComponent* component)
{
    if (popupMenuComponent_) RemoveFreeNotification(popupMenuComponent_);
    popupMenu_ = menu;
    popupMenuComponent_ = component;
    if (component) component->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && windowHooks_) windowHooks_->RemoveHeldBy(component);
    if (operation == TOperation::opRemove && component == popupMenuComponent_) {
        popupMenu_ = nullptr;
        popupMenuComponent_ = nullptr;
    }
}

void TControl::Loaded()
{
    TComponent::Loaded();
    InheritFromParent();
}

void TControl::SetControlState(TControlStateFlag flag, bool on)
{
    if (on)
        controlState_ |= flag;
    else
        controlState_ &= ~static_cast<unsigned>(flag);
}

void TControl::Invalidate() {}
void TControl::Update() {}

void TControl::BringToFront()
{
    if (parent_) parent_->BringControlToFront(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{msg, wParam, lParam, 0};
    DispatchToWindowProc(message);
    return message.Result;
}

void TControl::DispatchToWindowProc(TMessage& message)
{
    if (windowHooks_) {
        windowHooks_->Dispatch(message);
        return;
    }
    // The call holds on to the procedure: it may free the control or
    // replace its WindowProc.
    WindowProc(message);
}

int TControl::AddWindowHook(TComponent* holder, TWindowHook hook)
{
    if (!windowHooks_) windowHooks_ = std::make_shared<TWindowHookList>(*this);
    if (holder && holder != this) holder->FreeNotification(this);
    return windowHooks_->Add(holder, std::move(hook));
}

void TControl::RemoveWindowHook(int id)
{
    if (windowHooks_) windowHooks_->Remove(id);
}

void TControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_LBUTTONDOWN: MouseMessage(message, TMouseButton::mbLeft, true, false); break;
    case WM_LBUTTONDBLCLK: MouseMessage(message, TMouseButton::mbLeft, true, true); break;
    case WM_LBUTTONUP: MouseMessage(message, TMouseButton::mbLeft, false, false); break;
    case WM_RBUTTONDOWN: MouseMessage(message, TMouseButton::mbRight, true, false); break;
    case WM_RBUTTONDBLCLK: MouseMessage(message, TMouseButton::mbRight, true, true); break;
    case WM_RBUTTONUP: MouseMessage(message, TMouseButton::mbRight, false, false); break;
    case WM_MBUTTONDOWN: MouseMessage(message, TMouseButton::mbMiddle, true, false); break;
    case WM_MBUTTONDBLCLK: MouseMessage(message, TMouseButton::mbMiddle, true, true); break;
    case WM_MBUTTONUP: MouseMessage(message, TMouseButton::mbMiddle, false, false); break;
    case WM_MOUSEMOVE: {
        const TPoint point = MessagePoint(message.LParam);
        MouseMove(MouseShiftState(message.WParam), point.X, point.Y);
        break;
    }
    case CM_FONTCHANGED: FontChanged(); break;
    default: DefaultHandler(message); break;
    }
}

void TControl::MouseMessage(TMessage& message, TMouseButton button, bool down, bool doubleClick)
{
    const TPoint point = MessagePoint(message.LParam);
    TShiftState shift = MouseShiftState(message.WParam);
    if (!down) {
        MouseReleased(button, shift, point.X, point.Y);
        return;
    }
    if (!(controlStyle_ & csDoubleClicks)) doubleClick = false;
    if (doubleClick) shift |= ssDouble;
    if (button == TMouseButton::mbLeft) {
        SetControlState(csLButtonDown, true);
        SetControlState(csClicked, !doubleClick);
    }
    const TAliveCheck alive(*this);  // each handler may free the control
    if (doubleClick && button == TMouseButton::mbLeft) DblClick();
    if (alive.Alive()) MouseDown(button, shift, point.X, point.Y);
}

// A left release inside the control after a press on it is a click.
void TControl::MouseReleased(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::mbLeft) {
        const bool clicked = HasControlState(csClicked);
        SetControlState(csLButtonDown, false);
        SetControlState(csClicked, false);
        if (clicked && Contains(ClientRect(), TPoint(x, y))) Click();
    }
    MouseUp(button, shift, x, y);
}

void TControl::Click()
{
    if (OnClick) OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::Resize()
{
    if (OnResize) OnResize(this);
}

// --------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(MakeOwned<TCanvas>()) {}

void TGraphicControl::Invalidate()
{
    if (!Parent() || !Parent()->HandleAllocated() || !Visible()) return;
    const RECT bounds = BoundsRect();
    InvalidateRect(Parent()->Handle(), &bounds, TRUE);
}

void TGraphicControl::Update()
{
    if (Parent()) Parent()->Update();
}

void TGraphicControl::WndProc(TMessage& message)
{
    if (message.Msg == WM_PAINT && message.WParam) {
        TCanvasScope scope(*canvas_, reinterpret_cast<HDC>(message.WParam));
        SetControlState(csPainting, true);
        try {
            Paint();
        } catch (...) {
            SetControlState(csPainting, false);
            throw;
        }
        SetControlState(csPainting, false);
        return;
    }
    TControl::WndProc(message);
}

// ------------------------------------------------------------- TWinControl

namespace {

// The object a window is made for: the creation parameter, which the
// system wraps in an MDICREATESTRUCT for an MDI child.
TWinControl* CreatingControl(const CREATESTRUCTW& create)
{
    if (!(create.dwExStyle & WS_EX_MDICHILD)) return static_cast<TWinControl*>(create.lpCreateParams);
    const auto* mdi = static_cast<const MDICREATESTRUCTW*>(create.lpCreateParams);
    return mdi ? reinterpret_cast<TWinControl*>(mdi->lParam) : nullptr;
}

}  // namespace

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWinControl* control = nullptr;
    if (msg == WM_NCCREATE) {
        control = CreatingControl(*reinterpret_cast<CREATESTRUCTW*>(lParam));
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
        if (control) control->handle_ = window;
    } else {
        control = FindControl(window);
    }
    if (!control) return DefWindowProcW(window, msg, wParam, lParam);

    TMessage message{msg, wParam, lParam, 0};
    try {
        control->DispatchToWindowProc(message);
    } catch (...) {
        HandleControlException(control);
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        control->handle_ = nullptr;
        control->mouseControl_ = nullptr;
    }
    return message.Result;
}

TWinControl* FindControl(HWND window)
{
    if (!window) return nullptr;
    WNDPROC procedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC));
    if (procedure != FrameworkWindowProc) return nullptr;
    return reinterpret_cast<TWinControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    DestroyComponents();
    for (TControl* child : controls_) child->parent_ = nullptr;
    controls_.clear();
    tabList_.clear();
    if (handle_) {
        // Unbound first: the window's last messages must not reach an
        // object that is half destroyed.
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        DestroyWindow(std::exchange(handle_, nullptr));
    }
}

void TWinControl::InsertControl(TControl* control)
{
    controls_.push_back(control);
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        tabList_.push_back(windowed);
        // A window made while the control had no parent is a top-level one:
        // it must be made again as a child.
        if (windowed->HandleAllocated())
            windowed->RecreateWnd();
        else if (HandleAllocated())
            windowed->HandleNeeded();
    }
    if (control->Align() != TAlign::alNone) Realign(control);
}

void TWinControl::RemoveControl(TControl* control)
{
    if (mouseControl_ == control) mouseControl_ = nullptr;
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
    if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && !HasState(csDestroying))
        windowed->DestroyHandle();
    if (HandleAllocated() && control->Visible()) {
        const RECT bounds = control->BoundsRect();
        InvalidateRect(handle_, &bounds, TRUE);
    }
    if (control->Align() != TAlign::alNone && control->Visible() && !HasState(csDestroying)) Realign();
}

void TWinControl::BringControlToFront(TControl* control)
{
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end()) return;
    controls_.erase(it);
    controls_.push_back(control);
    if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && windowed->HandleAllocated())
        SetWindowPos(windowed->handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    control->Invalidate();
}

TControl* TWinControl::ControlAtPos(TPoint point) const
{
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        if ((*it)->Visible() && (*it)->Enabled() && Contains((*it)->BoundsRect(), point)) return *it;
    return nullptr;
}

int TWinControl::TabOrder() const
{
    if (!Parent()) return -1;
    const auto& list = Parent()->tabList_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order)
{
    if (!Parent()) return;
    auto& list = Parent()->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

HWND TWinControl::Handle()
{
    if (!handle_) CreateHandle();
    return handle_;
}

void TWinControl::CreateHandle()
{
    CreateWnd();
    // Copy: a handler may unsubscribe.
    const auto handlers = handleCreated_;
    for (const auto& entry : handlers) entry.second(this);
}

HWND TWinControl::ParentWindow() const
{
    return Parent() ? Parent()->Handle() : nullptr;
}

void TWinControl::CreateParams(TCreateParams& params)
{
    params.ClassName = L"Quorvell." + ClassName();
    params.WndParent = ParentWindow();
    params.Style = (Parent() ? WS_CHILD : WS_POPUP) | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (Visible()) params.Style |= WS_VISIBLE;
    if (!Enabled()) params.Style |= WS_DISABLED;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    RegisterWindowClass(params);
    SetControlState(csCreating, true);
    HWND window = CreateWindowExW(params.ExStyle, params.ClassName.c_str(), Text().c_str(), params.Style, params.X,
        params.Y, params.Width, params.Height, params.WndParent, nullptr, GetModuleHandleW(nullptr), this);
    SetControlState(csCreating, false);
    if (!window) throw Exception(L"Cannot create a window for " + ClassName());
    for (TWinControl* child : tabList_) child->HandleNeeded();
}

void TWinControl::DestroyHandle()
{
    if (handle_) DestroyWnd();  // WM_NCDESTROY clears handle_
}

void TWinControl::DestroyWnd() { DestroyWindow(handle_); }

void TWinControl::RecreateWnd()
{
    if (handle_) Perform(CM_RECREATEWND);
}

void TWinControl::RecreateNow()
{
    if (!handle_) return;
    SetControlState(csRecreating, true);
    DestroyHandle();
    try {
        CreateHandle();
    } catch (...) {
        SetControlState(csRecreating, false);
        throw;
    }
    SetControlState(csRecreating, false);
}

void TWinControl::Restyle()
{
    if (!handle_) return;
    TCreateParams params;
    CreateParams(params);
    constexpr DWORD kState = WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE;
    const DWORD style = (params.Style & ~kState) | (static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_STYLE)) & kState);
    SetWindowLongPtrW(handle_, GWL_STYLE, static_cast<LONG_PTR>(style));
    constexpr DWORD kFrameEx = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;
    const DWORD exStyle = params.ExStyle | (static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_EXSTYLE)) & ~kFrameEx);
    SetWindowLongPtrW(handle_, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle));
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
        SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinControl::SetBorderWidth(int width)
{
    width = std::max(width, 0);
    if (width == borderWidth_) return;
    borderWidth_ = width;
    if (handle_)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
            SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Realign();
}

// Both forms of WM_NCCALCSIZE point at the client rectangle first.
void TWinControl::InsetClientByBorderWidth(TMessage& message)
{
    DefaultHandler(message);
    if (borderWidth_ <= 0) return;
    RECT& client = *reinterpret_cast<RECT*>(message.LParam);
    client.left = std::min(client.left + borderWidth_, client.right);
    client.top = std::min(client.top + borderWidth_, client.bottom);
    client.right = std::max(client.right - borderWidth_, client.left);
    client.bottom = std::max(client.bottom - borderWidth_, client.top);
}

void TWinControl::PaintBorderWidth()
{
    if (borderWidth_ <= 0 || !handle_) return;
    RECT window{}, client{};
    GetWindowRect(handle_, &window);
    GetClientRect(handle_, &client);
    POINT origin{0, 0};
    ::ClientToScreen(handle_, &origin);
    OffsetRect(&client, origin.x - window.left, origin.y - window.top);
    RECT margin = client;
    InflateRect(&margin, borderWidth_, borderWidth_);
    TWindowDC dc(handle_);
    ExcludeClipRect(dc.Handle(), client.left, client.top, client.right, client.bottom);
    TBrushHandle brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color()))));
    FillRect(dc.Handle(), &margin, brush.get());
}

void TWinControl::ScrollBy(int dx, int dy)
{
    if (dx == 0 && dy == 0) return;
    for (TControl* child : std::vector<TControl*>(controls_))
        child->SetBounds(child->Left() + dx, child->Top() + dy, child->Width(), child->Height());
    Invalidate();
}

int TWinControl::AddHandleCreatedHandler(THandleCreated handler)
{
    const int id = nextHandlerId_++;
    handleCreated_.emplace_back(id, std::move(handler));
    return id;
}

void TWinControl::RemoveHandleCreatedHandler(int id)
{
    std::erase_if(handleCreated_, [id](const auto& entry) { return entry.first == id; });
}

TPoint TWinControl::ClientOrigin() const
{
    if (!handle_) return TControl::ClientOrigin();
    POINT origin{0, 0};
    ::ClientToScreen(handle_, &origin);
    return origin;
}

TRect TWinControl::ClientRect() const
{
    if (!handle_) return TControl::ClientRect();
    RECT client{};
    GetClientRect(handle_, &client);
    return client;
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    width = Constraints().ConstrainWidth(width);
    height = Constraints().ConstrainHeight(height);
    if (left == Left() && top == Top() && width == Width() && height == Height()) return;
    SetBoundsFields(left, top, width, height);
    const TAliveCheck alive(*this);
    BoundsChanged();  // the size notice runs OnResize, which may free the control
    if (alive.Alive() && Align() != TAlign::alNone) RequestAlign();
}

void TWinControl::BoundsChanged()
{
    if (handle_) {
        SetWindowPos(handle_, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    Realign();
    Resize();
}

// The window is the truth once it exists: the user and the system move it.
void TWinControl::SyncBoundsFromWindow()
{
    RECT bounds{};
    GetWindowRect(handle_, &bounds);
    if (HWND parent = GetParent(handle_); parent && (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&bounds), 2);
    SetBoundsFields(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
}

void TWinControl::SetVisible(bool visible)
{
    if (visible == Visible()) return;
    const TAliveCheck alive(*this);
    TControl::SetVisible(visible);  // the parent's layout runs its children's handlers
    if (!alive.Alive()) return;
    if (visible && !Parent()) HandleNeeded();
    if (handle_) ShowWindow(handle_, visible ? ShowCommand() : SW_HIDE);
}

void TWinControl::SetEnabled(bool enabled)
{
    TControl::SetEnabled(enabled);
    if (handle_) EnableWindow(handle_, enabled);
}

void TWinControl::SetText(const String& text)
{
    if (text == Text()) return;
    TControl::SetText(text);
    if (handle_) SetWindowTextW(handle_, text.c_str());
}

void TWinControl::Invalidate()
{
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Update()
{
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::SetFocus()
{
    TForm* form = GetParentForm(this);
    if (!CanFocus() || !form->Visible()) throw Exception(L"Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const
{
    const TControl* control = this;
    for (; control->Parent(); control = control->Parent())
        if (!control->Visible() || !control->Enabled()) return false;
    return dynamic_cast<const TForm*>(control) && control->Enabled();
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const
{
    for (TWinControl* child : tabList_) {
        list.push_back(child);
        child->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    const int count = static_cast<int>(list.size());
    if (count == 0) return nullptr;
    int index = static_cast<int>(std::find(list.begin(), list.end(), current) - list.begin());
    if (index == count) index = forward ? -1 : count;
    for (int step = 0; step < count; ++step) {
        index = (index + (forward ? 1 : count - 1)) % count;
        TWinControl* candidate = list[static_cast<size_t>(index)];
        if (candidate != current && candidate->CanFocus() && (!checkTabStop || candidate->TabStop())) return candidate;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop)
{
    if (TWinControl* next = FindNextControl(current, forward, checkTabStop)) next->SetFocus();
}

void TWinControl::PaintControls(HDC dc)
{
    for (TControl* child : controls_) {
        if (dynamic_cast<TWinControl*>(child) || !child->Visible() || child->Width() == 0 || child->Height() == 0)
            continue;
        // A child that asks its parent for its background while it paints
        // (DrawParentBackground) must not be painted into it again.
        if (child->HasControlState(csPainting)) continue;
        const RECT bounds = child->BoundsRect();
        if (!RectVisible(dc, &bounds)) continue;
        TChildPaintScope scope(dc, child->BoundsRect());
        child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

void TWinControl::PaintWindow(HDC dc) { PaintControls(dc); }

void TWinControl::PaintMessage(TMessage& message)
{
    if (message.WParam) {
        PaintWindow(reinterpret_cast<HDC>(message.WParam));
    } else if (handle_) {
        TPaintDC paint(handle_);
        PaintWindow(paint.Handle());
    }
    message.Result = 0;
}

void TWinControl::Realign(TControl* changed)
{
    if (aligning_ || (handle_ && IsIconic(handle_))) return;
    // A child's handler, run by its new bounds, may free this control.
    const TAliveCheck alive(*this);
    aligning_ = true;
    try {
        TRect rect = ClientRect();
        AdjustClientRect(rect);
        for (TAlign align : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
            AlignChildren(changed, align, rect);
            if (!alive.Alive()) return;
        }
        RestAligned(rect);
    } catch (...) {
        if (alive.Alive()) aligning_ = false;
        throw;
    }
    if (alive.Alive()) aligning_ = false;
}

void TWinControl::AlignChildren(TControl* changed, TAlign align, TRect& rect)
{
    std::vector<TControl*> list;
    if (changed && changed->parent_ == this && changed->align_ == align && changed->Visible()) list.push_back(changed);
    for (TControl* child : controls_) {
        if (child == changed || child->align_ != align || !child->Visible()) continue;
        list.insert(std::find_if(list.begin(), list.end(),
                        [child, align](const TControl* other) { return AlignsBefore(*child, *other, align); }),
            child);
    }
    const TAliveCheck alive(*this);
    for (TControl* child : list) {
        const int width = std::max(rect.Width(), 0), height = std::max(rect.Height(), 0);
        switch (align) {
        case TAlign::alTop: child->SetBounds(rect.Left, rect.Top, width, child->Height()); break;
        case TAlign::alBottom: child->SetBounds(rect.Left, rect.Bottom - child->Height(), width, child->Height()); break;
        case TAlign::alLeft: child->SetBounds(rect.Left, rect.Top, child->Width(), height); break;
        case TAlign::alRight: child->SetBounds(rect.Right - child->Width(), rect.Top, child->Width(), height); break;
        case TAlign::alClient: child->SetBounds(rect.Left, rect.Top, width, height); break;
        case TAlign::alNone: break;
        }
        if (!alive.Alive()) return;  // a handler its new bounds ran freed this control
        switch (align) {
        case TAlign::alTop: rect.Top += child->Height(); break;
        case TAlign::alBottom: rect.Bottom -= child->Height(); break;
        case TAlign::alLeft: rect.Left += child->Width(); break;
        case TAlign::alRight: rect.Right -= child->Width(); break;
        default: break;
        }
    }
}

// Mouse messages on a graphic child go to it; while a button is held the
// child that took the press keeps getting them.
void TWinControl::DispatchMouseToChild(TMessage& message)
{
    const TPoint point = MessagePoint(message.LParam);
    TControl* target = mouseControl_;
    if (!target) {
        TControl* hit = ControlAtPos(point);
        if (hit && !dynamic_cast<TWinControl*>(hit)) target = hit;
    }
    const bool press = message.Msg == WM_LBUTTONDOWN || message.Msg == WM_RBUTTONDOWN ||
                       message.Msg == WM_MBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK ||
                       message.Msg == WM_RBUTTONDBLCLK || message.Msg == WM_MBUTTONDBLCLK;
    const bool release = message.Msg == WM_LBUTTONUP || message.Msg == WM_RBUTTONUP || message.Msg == WM_MBUTTONUP;
    if (!target) {
        CaptureOwnPress(message);
        TControl::WndProc(message);
        return;
    }
    if (press) {
        mouseControl_ = target;
        if (handle_) SetCapture(handle_);
    }
    const TPoint local(point.X - target->Left(), point.Y - target->Top());
    target->Perform(message.Msg, message.WParam, PointParam(local));
    if (release && mouseControl_) {
        mouseControl_ = nullptr;
        if (handle_ && GetCapture() == handle_) ReleaseCapture();
    }
}

// Taken before the control's handlers run: a click on release may free it.
void TWinControl::CaptureOwnPress(const TMessage& message)
{
    if (!(ControlStyle() & csCaptureMouse) || !handle_) return;
    if (message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK)
        SetCapture(handle_);
    else if (message.Msg == WM_LBUTTONUP && GetCapture() == handle_)
        ReleaseCapture();
}

void TWinControl::TrackMouse()
{
    if (mouseInside_ || !handle_) return;
    mouseInside_ = true;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
    TrackMouseEvent(&track);
    Perform(CM_MOUSEENTER);
}

bool TWinControl::FormTakesDialogKey(const TMessage& message)
{
    if (TForm* form = GetParentForm(this); form && form->IsShortCut(message)) return true;
    const WORD key = static_cast<WORD>(message.WParam);
    if (!IsDialogKey(key)) return false;
    const LRESULT wanted = key == VK_TAB ? DLGC_WANTTAB : DLGC_WANTALLKEYS;
    if (Perform(WM_GETDLGCODE) & wanted) return false;
    TForm* form = GetParentForm(this);
    return form && form->Perform(CM_DIALOGKEY, key, message.LParam) != 0;
}

bool TWinControl::FormTakesDialogChar(const TMessage& message)
{
    if (Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) return false;
    TForm* form = GetParentForm(this);
    return form && form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0;
}

void TWinControl::Broadcast(TMessage& message)
{
    // A copy: a handler may add or remove controls.
    const std::vector<TControl*> children = controls_;
    for (TControl* child : children) {
        child->DispatchToWindowProc(message);
        if (message.Result != 0) return;
    }
}

bool TWinControl::ShowContextMenu(TMessage& message)
{
    POINT screen = MessagePoint(message.LParam);
    const bool fromKeyboard = screen.x == -1 && screen.y == -1;
    if (fromKeyboard) {
        screen = POINT{0, 0};
        if (handle_) ::ClientToScreen(handle_, &screen);
    }
    TControl* target = this;
    if (!fromKeyboard && handle_) {
        POINT client = screen;
        ::ScreenToClient(handle_, &client);
        TControl* hit = ControlAtPos(client);
        if (hit && !dynamic_cast<TWinControl*>(hit) && hit->PopupMenu()) target = hit;
    }
    TPopupMenu* menu = target->PopupMenu();
    if (!menu || !menu->AutoPopup()) return false;
    menu->SetPopupComponent(target);
    menu->Popup(screen.x, screen.y);
    message.Result = 1;
    return true;
}

bool TWinControl::PreviewKey(UINT msg, WORD& key, TShiftState shift)
{
    TWinControl* top = this;
    while (top->Parent()) top = top->Parent();
    if (top == this || !top->PreviewsKeys()) return false;
    if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN)
        top->KeyDown(key, shift);
    else
        top->KeyUp(key, shift);
    return key == 0;
}

void TWinControl::KeyDown(WORD& key, TShiftState shift)
{
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift)
{
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::WndProc(TMessage& message)
{
    if (IsMouseMessage(message.Msg) && message.Msg != WM_MOUSEWHEEL) {
        if (message.Msg == WM_MOUSEMOVE) TrackMouse();
        const TAliveCheck alive(*this);  // a click may free the control
        DispatchMouseToChild(message);
        if (alive.Alive()) DefaultHandler(message);
        return;
    }
    switch (message.Msg) {
    case WM_PAINT: PaintMessage(message); break;
    case WM_ERASEBKGND: {
        const RECT client = ClientRect();
        TBrushHandle brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color()))));
        FillRect(reinterpret_cast<HDC>(message.WParam), &client, brush.get());
        message.Result = 1;
        break;
    }
    case WM_WINDOWPOSCHANGED:
        SyncBoundsFromWindow();
        DefaultHandler(message);
        break;
    case WM_SIZE: {
        // A child's OnResize or its own may free the control.
        const TAliveCheck alive(*this);
        Realign();
        if (alive.Alive()) Resize();
        if (alive.Alive()) DefaultHandler(message);
        break;
    }
    case WM_GETMINMAXINFO: AnswerMinMaxInfo(message); break;
    case WM_NCCALCSIZE: InsetClientByBorderWidth(message); break;
    case WM_NCPAINT:
        DefaultHandler(message);
        PaintBorderWidth();
        break;
    case CM_RECREATEWND: RecreateNow(); break;
    case WM_CAPTURECHANGED:
        mouseControl_ = nullptr;
        DefaultHandler(message);
        break;
    case WM_MOUSELEAVE:
        if (!std::exchange(mouseInside_, false)) break;
        Perform(CM_MOUSELEAVE);
        break;
    case WM_SETFOCUS:
        if (TForm* form = GetParentForm(this)) form->SetFocusedControl(this);
        DefaultHandler(message);
        break;
    case WM_CANCELMODE:
        Perform(CM_CANCELMODE);
        DefaultHandler(message);
        break;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED: Broadcast(message); break;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (!FormTakesDialogChar(message)) DefaultHandler(message);
        break;
    case WM_CONTEXTMENU:
        // Unanswered, the system hands the message on to the parent window.
        if (!ShowContextMenu(message)) DefaultHandler(message);
        break;
    case WM_KEYDOWN:
        if (FormTakesDialogKey(message)) break;
        [[fallthrough]];
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        WORD key = static_cast<WORD>(message.WParam);
        const TShiftState shift = KeyboardShiftState();
        if (PreviewKey(message.Msg, key, shift)) break;
        if (message.Msg == WM_KEYDOWN || message.Msg == WM_SYSKEYDOWN)
            KeyDown(key, shift);
        else
            KeyUp(key, shift);
        if (key != 0) DefaultHandler(message);
        break;
    }
    default: TControl::WndProc(message); break;
    }
}

void TWinControl::AnswerMinMaxInfo(TMessage& message)
{
    DefaultHandler(message);
    auto& info = *reinterpret_cast<MINMAXINFO*>(message.LParam);
    const TSizeConstraints& limits = Constraints();
    if (limits.MinWidth() > 0) info.ptMinTrackSize.x = limits.MinWidth();
    if (limits.MinHeight() > 0) info.ptMinTrackSize.y = limits.MinHeight();
    if (limits.MaxWidth() > 0) info.ptMaxTrackSize.x = limits.MaxWidth();
    if (limits.MaxHeight() > 0) info.ptMaxTrackSize.y = limits.MaxHeight();
    message.Result = 0;
}

void TWinControl::DefaultHandler(TMessage& message)
{
    if (handle_) message.Result = DefWindowProcW(handle_, message.Msg, message.WParam, message.LParam);
}

// ---------------------------------------------------------- TCustomControl

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(MakeOwned<TCanvas>()) {}

void TCustomControl::Paint() {}

void TCustomControl::PaintWindow(HDC dc)
{
    {
        TCanvasScope scope(*canvas_, dc);
        Paint();
    }
    PaintControls(dc);
}

// ------------------------------------------------------------ TCustomPanel

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner)
{
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelOuter(TBevelCut bevel)
{
    bevelOuter_ = bevel;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut bevel)
{
    bevelInner_ = bevel;
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle style)
{
    if (style == borderStyle_) return;
    borderStyle_ = style;
    Restyle();
}

void TCustomPanel::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    if (borderStyle_ == TBorderStyle::bsSingle) params.Style |= WS_BORDER;
}

void TCustomPanel::Paint()
{
    TRect client = ClientRect();
    Canvas().Brush().SetColor(Color());
    Canvas().FillRect(client);
    RECT edge = client;
    for (TBevelCut bevel : {bevelOuter_, bevelInner_})
        if (bevel != TBevelCut::bvNone)
            DrawEdge(Canvas().Handle(), &edge, bevel == TBevelCut::bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER,
                BF_RECT | BF_ADJUST);
    if (!Caption().empty()) {
        Canvas().SetFont(Font());
        Canvas().Brush().SetStyle(TBrushStyle::bsClear);
        const TSize extent = Canvas().TextExtent(Caption());
        Canvas().TextOut((client.Width() - extent.cx) / 2, (client.Height() - extent.cy) / 2, Caption());
    }
}

// ------------------------------------------------------------- properties

namespace {
const bool controlPropertiesRegistered = RegisterProperties<TControl, TComponent>({
    OrdinalProperty<TControl>(L"Left", &TControl::Left, &TControl::SetLeft),
    OrdinalProperty<TControl>(L"Top", &TControl::Top, &TControl::SetTop),
    OrdinalProperty<TControl>(L"Width", &TControl::Width, &TControl::SetWidth),
    OrdinalProperty<TControl>(L"Height", &TControl::Height, &TControl::SetHeight),
    OrdinalProperty<TControl>(L"Align", &TControl::Align, &TControl::SetAlign),
    OrdinalProperty<TControl>(L"Visible", &TControl::Visible, &TControl::SetVisible),
    OrdinalProperty<TControl>(L"Enabled", &TControl::Enabled, &TControl::SetEnabled),
    OrdinalProperty<TControl>(L"Color", &TControl::Color, &TControl::SetColor),
    ObjectProperty<TControl, TFont>(
        L"Font", [](TControl* control) { return &control->Font(); },
        [](TControl* control, TFont* font) {
            if (font) control->SetFont(*font);
        }),
});
}  // namespace
