#include "ToolBar.h"

#include <algorithm>

#include "Forms.h"
#include "Keyboard.h"
#include "Messages.h"
#include "SysLocale.h"

namespace {

constexpr int kCaptionPadding = 7;  // each side of an auto-sized caption
constexpr int kEmptyButtonWidth = 23;

// The one bar whose drop-down is open on this thread, for the menu filter.
thread_local TToolBar* trackingBar = nullptr;
thread_local HHOOK menuFilter = nullptr;

bool HasDropDown(const TToolButton* button)
{
    return button && button->MenuItem() && button->MenuItem()->Count() > 0;
}

bool Usable(const TToolButton* button) { return button && button->Visible() && button->Enabled(); }

// The visible menu windows of this thread; Last receives one of them.
int CountMenuWindows(HWND* last)
{
    struct Found {
        int count = 0;
        HWND window = nullptr;
    } found;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (IsWindowVisible(window) && std::wstring_view(name) == L"#32768") {
                auto* found = reinterpret_cast<Found*>(data);
                ++found->count;
                found->window = window;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    *last = found.window;
    return found.count;
}

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU

bool HighlightedHasSubMenu(HWND menuWindow)
{
    HMENU menu = menuWindow ? reinterpret_cast<HMENU>(SendMessageW(menuWindow, kGetMenuHandle, 0, 0)) : nullptr;
    if (!menu) return false;
    for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i)
        if ((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) && GetSubMenu(menu, i)) return true;
    return false;
}

// Posted to the bar: open the drop-down of button WParam outside the
// dispatch of the key that asked for it.
constexpr UINT kDropButton = WM_APP + 0x2F1;

}  // namespace

// ------------------------------------------------------------ TDropDownMenu

void TDropDownMenu::SetSource(TMenuItem* item)
{
    if (source_) source_->RemoveFreeNotification(this);
    source_ = item;
    if (source_) source_->FreeNotification(this);
}

bool TDropDownMenu::OwnerDraw() const
{
    TMenu* menu = source_ ? source_->GetParentMenu() : nullptr;
    return menu ? menu->IsOwnerDraw() : TPopupMenu::OwnerDraw();
}

TMenuItem* TDropDownMenu::ShownItems() const { return source_; }

void TDropDownMenu::Notification(TComponent* component, TOperation operation)
{
    TPopupMenu::Notification(component, operation);
    if (operation == TOperation::opRemove && component == source_) source_ = nullptr;
}

// ------------------------------------------------------------ TToolButton

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) { SetBoundsFields(0, 0, kEmptyButtonWidth, 22); }

TToolButton::~TToolButton()
{
    if (bar_) bar_->RemoveButton(this);
    SetMenuItem(nullptr);
}

void TToolButton::SetParent(TWinControl* parent)
{
    if (bar_) bar_->RemoveButton(this);
    TGraphicControl::SetParent(parent);
    if (auto* bar = dynamic_cast<TToolBar*>(parent)) bar->AddButton(this);
}

void TToolButton::Changed()
{
    if (bar_) bar_->ArrangeButtons();
}

void TToolButton::SetText(const String& text)
{
    TGraphicControl::SetText(text);
    Changed();
}

void TToolButton::SetVisible(bool visible)
{
    TGraphicControl::SetVisible(visible);
    Changed();
}

void TToolButton::SetEnabled(bool enabled)
{
    TGraphicControl::SetEnabled(enabled);
    if (bar_) bar_->Invalidate();
}

void TToolButton::SetBounds(int left, int top, int width, int height)
{
    TGraphicControl::SetBounds(left, top, width, height);
    if (bar_ && !bar_->arranging_) bar_->ArrangeButtons();
}

void TToolButton::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    Changed();
}

void TToolButton::SetDown(bool down)
{
    down_ = down;
    if (bar_) bar_->Invalidate();
}

int TToolButton::Index() const
{
    if (!bar_) return -1;
    auto it = std::find(bar_->buttons_.begin(), bar_->buttons_.end(), this);
    return static_cast<int>(it - bar_->buttons_.begin());
}

void TToolButton::SetMenuItem(TMenuItem* item)
{
    if (menuItem_) menuItem_->RemoveFreeNotification(this);
    menuItem_ = item;
    if (!item) return;
    item->FreeNotification(this);
    down_ = item->Checked();
    imageIndex_ = item->ImageIndex();
    SetHint(item->Caption());
    TGraphicControl::SetEnabled(item->Enabled());
    TGraphicControl::SetVisible(item->Visible());
    SetText(item->Caption());
}

void TToolButton::Click()
{
    if (menuItem_)
        menuItem_->Click();
    else
        TGraphicControl::Click();
}

void TToolButton::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == menuItem_) menuItem_ = nullptr;
}

// ------------------------------------------------------------ TToolBar

TToolBar::TToolBar(TComponent* owner) : TCustomControl(owner)
{
    SetBoundsFields(0, 0, 150, 29);
    SetAlign(TAlign::alTop);
}

TToolBar::~TToolBar()
{
    UnwatchForm();
    for (TToolButton* button : buttons_) button->bar_ = nullptr;
}

void TToolBar::SetFlat(bool flat)
{
    flat_ = flat;
    Invalidate();
}

void TToolBar::SetEdgeBorders(TEdgeBorders borders)
{
    edgeBorders_ = borders;
    Invalidate();
}

void TToolBar::SetShowCaptions(bool show)
{
    showCaptions_ = show;
    ArrangeButtons();
}

void TToolBar::SetWrapable(bool wrapable)
{
    wrapable_ = wrapable;
    ArrangeButtons();
}

void TToolBar::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    ArrangeButtons();
}

void TToolBar::SetButtonHeight(int height)
{
    buttonHeight_ = height;
    for (TToolButton* button : buttons_) button->SetBoundsFields(button->Left(), button->Top(), button->Width(), height);
    ArrangeButtons();
}

void TToolBar::SetBounds(int left, int top, int width, int height)
{
    const bool widthChanged = width != Width();
    TCustomControl::SetBounds(left, top, width, height);
    if (widthChanged && (wrapable_ || arrangedRightToLeft_)) ArrangeButtons();
}

// A new button goes before every button that does not stand left of
// (or above) it, so buttons made at (0, 0) line up in reverse.
void TToolBar::AddButton(TToolButton* button)
{
    button->bar_ = this;
    button->SetBoundsFields(button->Left(), button->Top(), button->Width(), buttonHeight_);
    auto at = std::find_if(buttons_.begin(), buttons_.end(), [button](TToolButton* other) {
        return other->Top() > button->Top() || (other->Top() == button->Top() && other->Left() >= button->Left());
    });
    buttons_.insert(at, button);
    ArrangeButtons();
}

void TToolBar::RemoveButton(TToolButton* button)
{
    button->bar_ = nullptr;
    buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), button), buttons_.end());
    if (hot_ == button) hot_ = nullptr;
    if (pressed_ == button) pressed_ = nullptr;
    if (dropped_ == button) dropped_ = nullptr;
    if (nextDrop_ == button) nextDrop_ = nullptr;
    ArrangeButtons();
}

int TToolBar::ButtonWidth(TToolButton* button)
{
    if (!button->AutoSize()) return button->Width();
    if (!showCaptions_ || button->Caption().empty()) return kEmptyButtonWidth;
    TCanvas& canvas = Canvas();
    const TClientDC screen(nullptr);
    const bool borrowed = !canvas.HandleAllocated();
    if (borrowed) canvas.SetHandle(screen.Handle());
    canvas.SetFont(Font());
    TRect text(0, 0, 0, 0);
    canvas.TextRect(text, button->Caption(), DT_SINGLELINE | DT_CALCRECT);
    if (borrowed) canvas.SetHandle(nullptr);
    return text.Width() + 2 * kCaptionPadding;
}

void TToolBar::ArrangeButtons()
{
    if (arranging_) return;
    arranging_ = true;
    arrangedRightToLeft_ = UseRightToLeftReading(BiDiMode());
    int x = 0, y = 0, rowHeight = 0;
    for (TToolButton* button : buttons_) {
        if (!button->Visible()) continue;
        const int width = ButtonWidth(button);
        if (wrapable_ && x > 0 && x + width > ClientWidth()) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        button->SetBounds(arrangedRightToLeft_ ? ClientWidth() - x - width : x, y, width, button->Height());
        x += width;
        rowHeight = std::max(rowHeight, button->Height());
    }
    arranging_ = false;
    if (autoSize_ && !buttons_.empty()) SetHeight(y + rowHeight);
    Invalidate();
}

TToolButton* TToolBar::ButtonAt(int x, int y) const
{
    for (TToolButton* button : buttons_)
        if (button->Visible() && PtInRect(&static_cast<const RECT&>(button->BoundsRect()), POINT{x, y})) return button;
    return nullptr;
}

TToolButton* TToolBar::Neighbour(TToolButton* from, int step) const
{
    const int count = ButtonCount();
    if (count == 0) return nullptr;
    int index = from ? from->Index() : (step > 0 ? -1 : 0);
    for (int tried = 0; tried < count; ++tried) {
        index = (index + step + count) % count;
        if (Usable(buttons_[static_cast<size_t>(index)])) return buttons_[static_cast<size_t>(index)];
    }
    return nullptr;
}

void TToolBar::SetHot(TToolButton* button)
{
    if (button == hot_) return;
    hot_ = button;
    if (HandleAllocated()) Repaint();
}

// ------------------------------------------------------------ painting

TCustomDrawState TToolBar::StateOf(TToolButton* button) const
{
    TCustomDrawState state = 0;
    if (button == hot_) state |= cdsHot;
    if (button == dropped_ || (button == pressed_ && button == hot_)) state |= cdsSelected;
    if (!button->Enabled()) state |= cdsDisabled;
    if (button->Down()) state |= cdsChecked;
    return state;
}

void TToolBar::Paint()
{
    // The reading order has no notice of its own: a changed one shows here.
    if (arrangedRightToLeft_ != UseRightToLeftReading(BiDiMode())) ArrangeButtons();
    const TRect client = ClientRect();
    Canvas().Brush().SetColor(Color());
    Canvas().Brush().SetStyle(TBrushStyle::bsSolid);
    Canvas().FillRect(client);
    bool defaultDraw = true;
    if (OnCustomDraw) OnCustomDraw(this, client, defaultDraw);
    if (!defaultDraw) return;
    for (TToolButton* button : buttons_) {
        if (!button->Visible()) continue;
        const TCustomDrawState state = StateOf(button);
        Canvas().SetFont(Font());
        Canvas().Brush().SetStyle(TBrushStyle::bsSolid);
        bool drawButton = true;
        if (OnCustomDrawButton) OnCustomDrawButton(this, button, state, drawButton);
        if (drawButton) DrawButtonDefault(button, state);
    }
}

void TToolBar::DrawButtonDefault(TToolButton* button, TCustomDrawState state)
{
    RECT bounds = button->BoundsRect();
    if (state & (cdsSelected | cdsChecked))
        DrawEdge(Canvas().Handle(), &bounds, BDR_SUNKENOUTER, BF_RECT);
    else if ((state & cdsHot) || !flat_)
        DrawEdge(Canvas().Handle(), &bounds, BDR_RAISEDINNER, BF_RECT);
    if (!showCaptions_) return;
    TRect text = button->BoundsRect();
    Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    Canvas().Font().SetColor((state & cdsDisabled) ? clGrayText : Font().Color());
    Canvas().TextRect(text, button->Caption(), DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

// ------------------------------------------------------------ mouse

void TToolBar::MouseMessage(TMessage& message)
{
    const int x = static_cast<short>(LOWORD(message.LParam)), y = static_cast<short>(HIWORD(message.LParam));
    TToolButton* under = ButtonAt(x, y);
    switch (message.Msg) {
    case WM_MOUSEMOVE:
        if (!menuMode_) SetHot(Usable(under) ? under : nullptr);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!Usable(under)) break;
        if (HasDropDown(under)) {
            TrackMenu(under);
            break;
        }
        pressed_ = under;
        SetCapture(Handle());
        Repaint();
        break;
    case WM_LBUTTONUP: {
        TToolButton* pressed = std::exchange(pressed_, nullptr);
        if (GetCapture() == Handle()) ReleaseCapture();
        Repaint();
        if (pressed && pressed == under) pressed->Click();
        break;
    }
    default: break;
    }
}

// ------------------------------------------------------------ drop-downs

bool TToolBar::TrackMenu(TToolButton* button)
{
    if (!HasDropDown(button) || dropped_ || trackingBar) return false;
    const bool wasMenuMode = menuMode_;
    TToolButton* next = button;
    while (HasDropDown(next)) {
        nextDrop_ = nullptr;
        DropOnce(next);
        next = nextDrop_;
        nextDrop_ = nullptr;
    }
    if (!wasMenuMode) SetHot(nullptr);
    if (menuMode_) LeaveMenuMode();
    auto actions = std::move(deferred_);
    deferred_.clear();
    for (auto& action : actions) action();
    return true;
}

LRESULT CALLBACK ToolBarMenuFilter(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_MENU && trackingBar && trackingBar->FilterMenuMessage(*reinterpret_cast<const MSG*>(lParam)))
        return 1;
    return CallNextHookEx(menuFilter, code, wParam, lParam);
}

void TToolBar::DropOnce(TToolButton* button)
{
    dropped_ = button;
    hot_ = button;
    TOwned<TDropDownMenu> popup(New<TDropDownMenu>(this));
    dropDown_ = popup.get();
    popup->SetSource(button->MenuItem());
    if (TMenu* source = button->MenuItem()->GetParentMenu()) {
        popup->SetAutoHotkeys(source->AutoHotkeys());
        popup->SetBiDiMode(source->BiDiMode());
    }
    Repaint();
    const TRect bounds = button->BoundsRect();
    const TPoint at = ClientToScreen(TPoint(popup->IsRightToLeft() ? bounds.Right : bounds.Left, bounds.Bottom));
    // Undone also when the popup's handler throws.
    struct Tracking {
        TToolBar* bar;
        explicit Tracking(TToolBar* tracked) : bar(tracked)
        {
            trackingBar = bar;
            menuFilter = SetWindowsHookExW(WH_MSGFILTER, ToolBarMenuFilter, nullptr, GetCurrentThreadId());
        }
        ~Tracking()
        {
            if (menuFilter) UnhookWindowsHookEx(menuFilter);
            menuFilter = nullptr;
            trackingBar = nullptr;
            bar->dropDown_ = nullptr;
            bar->dropped_ = nullptr;
        }
    } tracking(this);
    GetCursorPos(&dropCursor_);
    popup->Popup(at.X, at.Y);
    popup.reset();
    if (HandleAllocated()) Repaint();
}

// Inside the system's menu loop: the mouse over another button, or an
// arrow key past the end of the drop-down, moves to that button.
bool TToolBar::FilterMenuMessage(const MSG& msg)
{
    TToolButton* target = nullptr;
    if (msg.message == WM_MOUSEMOVE) {
        // The message's own position, or where the cursor is now. A mouse
        // resting where it was when the drop-down opened chose nothing: the
        // system also sends moves for windows that appear under it, and a
        // drop-down opened from the keyboard must stay where the key put it.
        POINT now{};
        GetCursorPos(&now);
        const auto rests = [this](POINT at) { return at.x == dropCursor_.x && at.y == dropCursor_.y; };
        if (rests(msg.pt) && rests(now)) return false;
        TToolButton* under = nullptr;
        for (POINT screen : {msg.pt, now}) {
            const TPoint client = ScreenToClient(TPoint(screen.x, screen.y));
            if ((under = ButtonAt(client.X, client.Y))) break;
        }
        if (under != dropped_ && HasDropDown(under) && Usable(under)) target = under;
    } else if (msg.message == WM_KEYDOWN && (msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT)) {
        const bool forward = (msg.wParam == VK_RIGHT) != UseRightToLeftReading(BiDiMode());
        // Left closes an open sub-menu first; right opens the chosen item's.
        HWND menuWindow = nullptr;
        if (CountMenuWindows(&menuWindow) > 1) return false;
        if (forward && HighlightedHasSubMenu(menuWindow)) return false;
        // The next button that has something to drop down.
        target = dropped_;
        for (int i = 0; i < ButtonCount(); ++i)
            if (HasDropDown(target = Neighbour(target, forward ? 1 : -1))) break;
        if (target == dropped_ || !HasDropDown(target)) target = nullptr;
    }
    if (!target) return false;
    nextDrop_ = target;
    EndMenu();
    return true;
}

void TToolBar::AfterDropDown(std::function<void()> action)
{
    if (dropped_ || trackingBar == this)
        deferred_.push_back(std::move(action));
    else
        action();
}

// ------------------------------------------------------------ keyboard

bool TToolBar::DialogChar(TMessage& message)
{
    for (TToolButton* button : buttons_) {
        if (!Usable(button) || !IsAccel(static_cast<UINT>(message.WParam), button->Caption())) continue;
        message.Result = 1;
        if (HasDropDown(button)) {
            // The menu loop must not run inside the key's dispatch.
            PostMessageW(Handle(), kDropButton, static_cast<WPARAM>(button->Index()), 0);
        } else {
            button->Click();
        }
        return true;
    }
    return false;
}

void TToolBar::EnterMenuMode()
{
    TToolButton* first = Neighbour(nullptr, 1);
    if (!first) return;
    menuMode_ = true;
    focusBefore_ = GetFocus();
    ::SetFocus(Handle());
    SetHot(first);
}

void TToolBar::LeaveMenuMode()
{
    if (!menuMode_) return;
    menuMode_ = false;
    SetHot(nullptr);
    HWND back = std::exchange(focusBefore_, nullptr);
    if (GetFocus() == Handle() && back && IsWindow(back)) ::SetFocus(back);
}

bool TToolBar::KeyInMenuMode(WORD key)
{
    switch (key) {
    case VK_LEFT: SetHot(Neighbour(hot_, UseRightToLeftReading(BiDiMode()) ? 1 : -1)); return true;
    case VK_RIGHT: SetHot(Neighbour(hot_, UseRightToLeftReading(BiDiMode()) ? -1 : 1)); return true;
    case VK_DOWN:
    case VK_UP:
    case VK_RETURN:
        if (HasDropDown(hot_)) {
            PostMessageW(Handle(), kDropButton, static_cast<WPARAM>(hot_->Index()), 0);
        } else if (hot_) {
            TToolButton* button = hot_;
            LeaveMenuMode();
            button->Click();
        }
        return true;
    case VK_ESCAPE:
    case VK_MENU:
    case VK_F10: LeaveMenuMode(); return true;
    default: return false;
    }
}

// ------------------------------------------------------------ the form's menu key

// Alt or F10 alone: the bar takes the keyboard instead of the system menu.
void TToolBar::FormMessage(TMessage& message, const TSubclassNext& next)
{
    if (message.Msg == WM_SYSCOMMAND && (message.WParam & 0xFFF0) == SC_KEYMENU && message.LParam == 0 &&
        Visible() && HandleAllocated() && IsWindowVisible(Handle())) {
        EnterMenuMode();
        return;
    }
    next(message);
}

void TToolBar::WatchForm()
{
    HWND root = GetAncestor(Handle(), GA_ROOT);
    if (formWatch_ && formWatch_->Window() == root) return;
    UnwatchForm();
    if (root && root != Handle())
        formWatch_ = std::make_unique<TWindowSubclass>(
            root, [this](TMessage& message, const TSubclassNext& next) { FormMessage(message, next); });
}

void TToolBar::UnwatchForm() { formWatch_.reset(); }

void TToolBar::CreateWnd()
{
    TCustomControl::CreateWnd();
    WatchForm();
}

void TToolBar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND: message.Result = 1; break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP: MouseMessage(message); break;
    case CM_MOUSELEAVE:
        TCustomControl::WndProc(message);
        if (!menuMode_ && !dropped_) SetHot(nullptr);
        break;
    case CM_DIALOGCHAR:
        if (!DialogChar(message)) TCustomControl::WndProc(message);
        break;
    case WM_GETDLGCODE: message.Result = menuMode_ ? DLGC_WANTALLKEYS : 0; break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!(menuMode_ && KeyInMenuMode(static_cast<WORD>(message.WParam)))) TCustomControl::WndProc(message);
        break;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (menuMode_) {
            DialogChar(message);
            if (!message.Result) MessageBeep(0);
            break;
        }
        TCustomControl::WndProc(message);
        break;
    case WM_KILLFOCUS:
        TCustomControl::WndProc(message);
        if (!dropped_) {
            focusBefore_ = nullptr;
            if (menuMode_) LeaveMenuMode();
        }
        break;
    default:
        if (message.Msg == kDropButton) {
            if (message.WParam < buttons_.size()) TrackMenu(buttons_[message.WParam]);
            break;
        }
        TCustomControl::WndProc(message);
        break;
    }
}
