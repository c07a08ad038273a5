#include "Menus.h"

#include <algorithm>
#include <cwctype>
#include <map>

#include "Controls.h"
#include "ImageList.h"
#include "WindowHandles.h"

namespace {

// Command numbers of live items. The system reports a chosen item by the
// low word of WM_COMMAND; numbers stay within 1 .. FirstMDIChildId - 1. Never freed:
// items of forms that live to the program's end go after static objects.
std::map<UINT, TMenuItem*>& Commands()
{
    static auto* commands = new std::map<UINT, TMenuItem*>;
    return *commands;
}

UINT AllocateCommand(TMenuItem* item)
{
    static UINT next = 1;
    auto& commands = Commands();
    for (UINT tries = 1; tries < FirstMDIChildId; ++tries) {
        const UINT command = next;
        next = next + 1 == FirstMDIChildId ? 1 : next + 1;
        if (commands.emplace(command, item).second) return command;
    }
    throw Exception(L"Too many menu items");
}

std::vector<TMenu*>& LiveMenus()
{
    static auto* menus = new std::vector<TMenu*>;
    return *menus;
}

String KeyName(WORD key)
{
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return String(1, static_cast<wchar_t>(key));
    if (key >= VK_F1 && key <= VK_F24) return L"F" + IntToStr(key - VK_F1 + 1);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return L"Num " + IntToStr(key - VK_NUMPAD0);
    static const std::map<WORD, const wchar_t*> names = {
        {VK_BACK, L"BkSp"}, {VK_TAB, L"Tab"}, {VK_ESCAPE, L"Esc"}, {VK_RETURN, L"Enter"}, {VK_SPACE, L"Space"},
        {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"}, {VK_END, L"End"}, {VK_HOME, L"Home"}, {VK_LEFT, L"Left"},
        {VK_UP, L"Up"}, {VK_RIGHT, L"Right"}, {VK_DOWN, L"Down"}, {VK_INSERT, L"Ins"}, {VK_DELETE, L"Del"},
    };
    if (auto it = names.find(key); it != names.end()) return it->second;
    wchar_t name[64] = {};
    const UINT scanCode = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    if (scanCode && GetKeyNameTextW(static_cast<LONG>(scanCode << 16), name, 64) > 0) return name;
    return String();
}

// The accelerator of a caption: the character after a single "&".
wchar_t AcceleratorOf(const String& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] != L'&') return caption[i + 1];
        ++i;  // "&&" is a plain ampersand
    }
    return 0;
}

wchar_t FirstLetterOf(const String& caption)
{
    for (wchar_t c : caption)
        if (c != L'&') return c;
    return 0;
}

bool SameKey(wchar_t a, wchar_t b) { return a && std::towupper(a) == std::towupper(b); }

void ApplyLogFont(TFont& font, const LOGFONTW& logFont)
{
    font.SetName(logFont.lfFaceName);
    font.SetHeight(logFont.lfHeight);
    font.SetCharset(logFont.lfCharSet);
    TFontStyles style = 0;
    if (logFont.lfWeight >= FW_BOLD) style |= fsBold;
    if (logFont.lfItalic) style |= fsItalic;
    if (logFont.lfUnderline) style |= fsUnderline;
    if (logFont.lfStrikeOut) style |= fsStrikeOut;
    font.SetStyle(style);
}

// The canvas the owner-draw handlers get: on the DC the system gives, with
// the menu font, given back when the message is done.
class TMenuCanvas {
public:
    explicit TMenuCanvas(HDC dc) : canvas_(MakeOwned<TCanvas>())
    {
        GetSystemMenuFont(canvas_->Font());
        canvas_->SetHandle(dc);
    }
    ~TMenuCanvas() { canvas_->SetHandle(nullptr); }
    TCanvas& Canvas() { return *canvas_; }

private:
    TOwned<TCanvas> canvas_;
};

void MeasureMenuItem(HWND window, MEASUREITEMSTRUCT& measure)
{
    TMenuItem* item = TMenu::FindItemByCommand(static_cast<UINT>(measure.itemData));
    if (!item) return;
    TClientDC dc(window);
    TMenuCanvas canvas(dc.Handle());
    int width = 0, height = 0;
    item->MeasureItem(canvas.Canvas(), width, height);
    measure.itemWidth = static_cast<UINT>(std::max(width, 0));
    measure.itemHeight = static_cast<UINT>(std::max(height, 0));
}

void DrawMenuItem(const DRAWITEMSTRUCT& draw)
{
    TMenuItem* item = TMenu::FindItemByCommand(static_cast<UINT>(draw.itemData));
    if (!item) return;
    TSavedDC saved(draw.hDC);
    TMenuCanvas canvas(draw.hDC);
    item->DrawItem(canvas.Canvas(), draw.rcItem, (draw.itemState & ODS_SELECTED) != 0);
}

LRESULT MenuChar(HMENU menu, wchar_t key)
{
    for (TMenu* owner : LiveMenus()) {
        const int index = owner->MenuCharIndex(menu, key);
        if (index >= 0) return MAKELRESULT(index, MNC_EXECUTE);
    }
    return MAKELRESULT(0, MNC_IGNORE);
}

// Answers Message when it is a menu's; Window is the one it came to.
bool AnswerMenuMessage(HWND window, TMessage& message)
{
    switch (message.Msg) {
    case WM_MEASUREITEM: {
        auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (measure.CtlType != ODT_MENU) return false;
        MeasureMenuItem(window, measure);
        message.Result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
        if (draw.CtlType != ODT_MENU) return false;
        DrawMenuItem(draw);
        message.Result = TRUE;
        return true;
    }
    case WM_COMMAND: {
        if (HIWORD(message.WParam) != 0 || message.LParam != 0) return false;
        TMenuItem* item = TMenu::FindItemByCommand(LOWORD(message.WParam));
        if (!item) return false;
        item->Click();
        message.Result = 0;
        return true;
    }
    case WM_MENUCHAR: {
        const LRESULT answer = MenuChar(reinterpret_cast<HMENU>(message.LParam), static_cast<wchar_t>(LOWORD(message.WParam)));
        if (HIWORD(answer) == MNC_IGNORE) return false;
        message.Result = answer;
        return true;
    }
    default: return false;
    }
}

LRESULT CALLBACK PopupListProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    try {
        TMessage message{msg, wParam, lParam, 0};
        if (AnswerMenuMessage(window, message)) return message.Result;
        if (msg == WM_MENUCHAR) return MAKELRESULT(0, MNC_IGNORE);
    } catch (...) {
        // The system's menu loop must not be unwound.
        HandleControlException(nullptr);
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

String ShortCutToText(TShortCut shortCut)
{
    const String key = KeyName(static_cast<WORD>(shortCut & 0xFF));
    if (key.empty()) return String();
    String text;
    if (shortCut & scCtrl) text += L"Ctrl+";
    if (shortCut & scShift) text += L"Shift+";
    if (shortCut & scAlt) text += L"Alt+";
    return text + key;
}

bool GetSystemMenuFont(TFont& font)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    bool answered = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    if (!answered) {
        // Systems older than the padded-border field know only the
        // shorter layout, which fits in the same structure.
        metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
        answered = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    }
    if (!answered) return false;
    ApplyLogFont(font, metrics.lfMenuFont);
    return true;
}

HWND PopupListWindow()
{
    static TWindowHandle window = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = PopupListProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"Quorvell.PopupList";
        if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            throw Exception(L"Cannot register the popup menu window class");
        HWND handle = CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0,
            nullptr, nullptr, windowClass.hInstance, nullptr);
        if (!handle) throw Exception(L"Cannot create the popup menu window");
        return TWindowHandle(handle);
    }();
    return window.get();
}

// ---------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner)
{
    command_ = AllocateCommand(this);
}

TMenuItem::~TMenuItem()
{
    Commands().erase(command_);
    if (parent_) parent_->Remove(this);
    while (!items_.empty()) {
        TMenuItem* child = items_.back();
        items_.pop_back();
        child->parent_ = nullptr;
        FreeObject(child);
    }
}

void TMenuItem::Changed(bool rebuild)
{
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this, rebuild);
}

void TMenuItem::SetCaption(const String& caption) { Update(caption_, caption, true); }
void TMenuItem::SetShortCut(TShortCut shortCut) { Update(shortCut_, shortCut, true); }
void TMenuItem::SetChecked(bool checked) { Update(checked_, checked, false); }
void TMenuItem::SetEnabled(bool enabled) { Update(enabled_, enabled, false); }
void TMenuItem::SetDefault(bool value) { Update(default_, value, false); }
void TMenuItem::SetVisible(bool visible) { Update(visible_, visible, true); }
void TMenuItem::SetImageIndex(int index) { Update(imageIndex_, index, false); }

TMenuItem* TMenuItem::FindShortCut(TShortCut shortCut)
{
    for (TMenuItem* child : items_) {
        if (!child->visible_ || !child->enabled_) continue;
        if (child->shortCut_ == shortCut) return child;
        if (TMenuItem* found = child->FindShortCut(shortCut)) return found;
    }
    return nullptr;
}

MENUITEMINFOW TMenuItem::StateInfo() const
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    info.fState = (enabled_ ? 0 : MFS_DISABLED) | (checked_ ? MFS_CHECKED : 0) | (default_ ? MFS_DEFAULT : 0);
    return info;
}

bool TMenuItem::Holds(const TMenuItem* item) const
{
    for (const TMenuItem* at = item; at; at = at->parent_)
        if (at == this) return true;
    return false;
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item) throw Exception(L"Cannot insert a nil menu item");
    if (item->Holds(this)) throw Exception(L"A menu item cannot hold itself");
    if (item->parent_) item->parent_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    Changed(true);
}

void TMenuItem::Remove(TMenuItem* item)
{
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
    Changed(true);
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Clear()
{
    while (!items_.empty()) FreeObject(items_.back());  // each leaves the list as it goes
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* root = this;
    while (root->parent_) root = root->parent_;
    return root->menu_;
}

void TMenuItem::Click()
{
    if (OnClick) OnClick(this);
}

String TMenuItem::MenuText() const
{
    const String shortCut = ShortCutToText(shortCut_);
    return shortCut.empty() ? caption_ : caption_ + L"\t" + shortCut;
}

void TMenuItem::BuildInto(HMENU menu, bool ownerDraw)
{
    builtHandle_ = menu;
    UINT position = 0;
    for (TMenuItem* child : items_) {
        child->builtHandle_ = nullptr;
        if (!child->visible_) continue;
        const String text = child->MenuText();
        MENUITEMINFOW info = child->StateInfo();
        info.fMask |= MIIM_FTYPE | MIIM_ID | MIIM_DATA;
        // Separators keep their type when owner-drawn, so that the keyboard
        // still passes over them.
        info.fType = (child->IsLine() ? MFT_SEPARATOR : 0) | (ownerDraw ? MFT_OWNERDRAW : 0);
        if (!ownerDraw && !child->IsLine()) {
            info.fMask |= MIIM_STRING;
            info.dwTypeData = const_cast<wchar_t*>(text.c_str());
        }
        info.wID = child->command_;
        info.dwItemData = child->command_;
        TMenuHandle subMenu;
        if (!child->items_.empty()) {
            subMenu.reset(CreatePopupMenu());
            if (!subMenu.get()) throw Exception(L"Cannot create a menu");
            child->BuildInto(subMenu.get(), ownerDraw);
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = subMenu.get();
        }
        if (!InsertMenuItemW(menu, position, TRUE, &info)) throw Exception(L"Cannot add a menu item");
        subMenu.release();  // the parent menu destroys it now
        ++position;
    }
}

TMenuItem* TMenuItem::FindByMenuHandle(HMENU menu)
{
    if (builtHandle_ == menu) return this;
    for (TMenuItem* child : items_)
        if (TMenuItem* found = child->FindByMenuHandle(menu)) return found;
    return nullptr;
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height)
{
    if (OnMeasureItem) {
        OnMeasureItem(this, canvas, width, height);
        return;
    }
    if (IsLine()) {
        height = 8;
        return;
    }
    const String shortCut = ShortCutToText(shortCut_);
    width = canvas.TextWidth(caption_) + (shortCut.empty() ? 0 : canvas.TextWidth(shortCut) + 16) + 24;
    height = std::max(canvas.TextHeight(caption_) + 4, 18);
}

void TMenuItem::DrawItem(TCanvas& canvas, const TRect& rect, bool selected)
{
    if (OnDrawItem)
        OnDrawItem(this, canvas, rect, selected);
    else
        DefaultDraw(canvas, rect, selected);
}

void TMenuItem::DefaultDraw(TCanvas& canvas, const TRect& rect, bool selected)
{
    const bool highlighted = selected && enabled_;
    canvas.Brush().SetColor(highlighted ? clHighlight : clMenu);
    canvas.FillRect(rect);
    if (IsLine()) {
        canvas.Pen().SetColor(clBtnShadow);
        const int y = rect.Top + rect.Height() / 2;
        canvas.MoveTo(rect.Left + 2, y);
        canvas.LineTo(rect.Right - 2, y);
        return;
    }
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetColor(!enabled_ ? clGrayText : highlighted ? clHighlightText : clMenuText);
    TRect text(rect.Left + 20, rect.Top, rect.Right - 8, rect.Bottom);
    canvas.TextRect(text, caption_, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    canvas.TextRect(text, ShortCutToText(shortCut_), DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
}

// -------------------------------------------------------------------- TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(MakeOwned<TMenuItem>(nullptr))
{
    items_->menu_ = this;
    LiveMenus().push_back(this);
}

TMenu::~TMenu()
{
    std::erase(LiveMenus(), this);
    // The items go first: their removal notices must find a whole menu.
    items_.reset();
}

void TMenu::SetImages(TImageList* images)
{
    if (images == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = images;
    if (images_) images_->FreeNotification(this);
    MenuChanged(nullptr, true);
}

void TMenu::SetOwnerDraw(bool ownerDraw)
{
    ownerDraw_ = ownerDraw;
    MenuChanged(nullptr, true);
}

void TMenu::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

void TMenu::MenuChanged(TMenuItem* source, bool rebuild)
{
    // Items leaving a menu that is being freed change nothing anyone sees.
    if (OnChange && !HasState(csDestroying)) OnChange(this, source, rebuild);
}

HMENU TMenu::Handle() { return BuildHandle(); }

HMENU TMenu::BuildHandle()
{
    TMenuHandle fresh(NewMenuHandle());
    if (!fresh.get()) throw Exception(L"Cannot create a menu");
    if (TMenuItem* shown = ShownItems()) shown->BuildInto(fresh.get(), IsOwnerDraw());
    handle_.reset(fresh.release());
    return handle_.get();
}

bool TMenu::IsShortCut(const TMessage& message)
{
    if (message.Msg != WM_KEYDOWN && message.Msg != WM_SYSKEYDOWN) return false;
    TShortCut shortCut = static_cast<TShortCut>(message.WParam & 0xFF);
    if (GetKeyState(VK_SHIFT) < 0) shortCut |= scShift;
    if (GetKeyState(VK_CONTROL) < 0) shortCut |= scCtrl;
    if (GetKeyState(VK_MENU) < 0 || (message.LParam & (1 << 29))) shortCut |= scAlt;
    TMenuItem* item = items_->FindShortCut(shortCut);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchCommand(UINT command)
{
    TMenuItem* item = FindItemByCommand(command);
    if (!item || item->GetParentMenu() != this) return false;
    item->Click();
    return true;
}

TMenuItem* TMenu::FindItemByCommand(UINT command)
{
    auto it = Commands().find(command);
    return it == Commands().end() ? nullptr : it->second;
}

TMenuItem* TMenu::FindItemByMenuHandle(HMENU menu)
{
    return menu && handle_.get() && ShownItems() ? ShownItems()->FindByMenuHandle(menu) : nullptr;
}

int TMenu::MenuCharIndex(HMENU menu, wchar_t key)
{
    TMenuItem* list = FindItemByMenuHandle(menu);
    if (!list) return -1;
    std::vector<TMenuItem*> shown;
    for (int i = 0; i < list->Count(); ++i)
        if (list->Items(i)->Visible()) shown.push_back(list->Items(i));
    auto choosable = [](const TMenuItem* item) { return item->Enabled() && !item->IsLine(); };
    for (size_t i = 0; i < shown.size(); ++i)
        if (choosable(shown[i]) && SameKey(AcceleratorOf(shown[i]->Caption()), key)) return static_cast<int>(i);
    if (autoHotkeys_ != TMenuAutoFlag::maAutomatic) return -1;
    for (size_t i = 0; i < shown.size(); ++i)
        if (choosable(shown[i]) && !AcceleratorOf(shown[i]->Caption()) &&
            SameKey(FirstLetterOf(shown[i]->Caption()), key))
            return static_cast<int>(i);
    return -1;
}

// ---------------------------------------------------------------- TMainMenu

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

// The window would destroy a menu it still shows; the bar is this menu's.
TMainMenu::~TMainMenu() { AttachTo(nullptr); }

HMENU TMainMenu::Handle() { return CurrentHandle() ? CurrentHandle() : BuildHandle(); }

void TMainMenu::AttachTo(HWND window)
{
    if (window_ && IsWindow(window_) && GetMenu(window_) == CurrentHandle()) ::SetMenu(window_, nullptr);
    window_ = window;
    if (window_) ::SetMenu(window_, Handle());
}

void TMainMenu::MenuChanged(TMenuItem* source, bool rebuild)
{
    if (CurrentHandle() && !HasState(csDestroying)) {
        if (rebuild || !source) {
            const HMENU old = CurrentHandle();
            // Built beside the old one, which goes only once off the window.
            TMenuHandle fresh(NewMenuHandle());
            if (!fresh.get()) throw Exception(L"Cannot create a menu");
            Items()->BuildInto(fresh.get(), IsOwnerDraw());
            if (window_ && GetMenu(window_) == old) ::SetMenu(window_, fresh.get());
            ReplaceHandle(fresh.release());
            if (window_) SendMessageW(window_, CM_MENUCHANGED, 0, 0);
        } else {
            MENUITEMINFOW info = source->StateInfo();
            SetMenuItemInfoW(CurrentHandle(), source->Command(), FALSE, &info);
        }
        if (window_) DrawMenuBar(window_);
    }
    TMenu::MenuChanged(source, rebuild);
}

bool DispatchMenuMessage(HWND window, TMessage& message) { return AnswerMenuMessage(window, message); }

// --------------------------------------------------------------- TPopupMenu

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() { SetPopupComponent(nullptr); }

void TPopupMenu::SetPopupComponent(TComponent* component)
{
    if (component == popupComponent_) return;
    if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
    popupComponent_ = component;
    if (popupComponent_) popupComponent_->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation)
{
    TMenu::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int x, int y)
{
    // The system menu in use must not be rebuilt under the menu loop.
    if (tracking_) return;
    popupPoint_ = TPoint(x, y);
    if (OnPopup) OnPopup(this);
    HMENU menu = Handle();
    HWND owner = PopupListWindow();
    const UINT align = IsRightToLeft() ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    tracking_ = true;
    TrackPopupMenuEx(menu, align | TPM_RIGHTBUTTON, x, y, owner, nullptr);
    tracking_ = false;
    // Lets the system finish closing the menu before the next one opens.
    PostMessageW(owner, WM_NULL, 0, 0);
}
