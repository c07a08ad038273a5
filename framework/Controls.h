// Controls: the windowless TControl and TGraphicControl, the windowed
// TWinControl, and TCustomControl/TCustomPanel that paint themselves.
//
// Every message a control handles goes through one path: the window
// procedure (or Perform, for windowless controls and direct dispatch)
// builds a TMessage and calls the control's WindowProc, which is WndProc
// unless someone replaced it; WndProc is one switch that turns messages
// into the typed virtual handlers below (Paint, MouseDown, KeyDown, ...)
// and hands the rest to DefaultHandler.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

#include "SysLocale.h"
#include "Classes.h"
#include "Graphics.h"
#include "Messages.h"
#include "Types.h"
#include "WindowHandles.h"
#include "WindowHooks.h"

class TWinControl;
class TPopupMenu;  // a component of the menu layer; only its pointer is kept here

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftStateFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = unsigned;

// The shift state of a mouse message's key flags, and of the keyboard now.
TShiftState MouseShiftState(WPARAM keyFlags);
TShiftState KeyboardShiftState();

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;

// A control's message entry: any callable that takes a TMessage&. Copies
// share the callable, so holding one for the length of a message costs no
// allocation, and a call keeps it alive until it returns even when the
// control's WindowProc is replaced or the control freed meanwhile.
class TWndMethod {
public:
    TWndMethod() = default;
    TWndMethod(std::nullptr_t) {}
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, TWndMethod> &&
                                                std::is_invocable_v<F&, TMessage&>>>
    TWndMethod(F function) : function_(std::make_shared<const std::function<void(TMessage&)>>(std::move(function)))
    {
    }
    void operator()(TMessage& message) const
    {
        const auto running = function_;
        if (!running) throw std::bad_function_call();
        (*running)(message);
    }
    explicit operator bool() const { return function_ != nullptr; }

private:
    std::shared_ptr<const std::function<void(TMessage&)>> function_;
};


enum TControlStateFlag : unsigned {
    csLButtonDown = 1u << 0,
    csClicked = 1u << 1,
    csPainting = 1u << 2,
    csCreating = 1u << 3,
    csRecreating = 1u << 4,
    csFocusing = 1u << 5,
};
using TControlState = unsigned;

// What a control asks of the framework. Without csDoubleClicks a double
// click arrives as a second press; with csCaptureMouse a windowed control
// keeps the mouse from a left press until the release.
enum TControlStyleFlag : unsigned {
    csAcceptsControls = 1u << 0,
    csCaptureMouse = 1u << 1,
    csDoubleClicks = 1u << 2,
};
using TControlStyle = unsigned;

// Where a control stands in its parent: glued to an edge at its own
// height or width, or filling what the edges leave.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Least and greatest width and height of a control; 0 sets no limit. A
// minimum above the maximum raises the maximum, and a maximum below the
// minimum lowers the minimum; negative values count as 0.
class TSizeConstraints : public TPersistent {
public:
    int MinWidth() const { return minWidth_; }
    int MinHeight() const { return minHeight_; }
    int MaxWidth() const { return maxWidth_; }
    int MaxHeight() const { return maxHeight_; }
    void SetMinWidth(int value) { SetLimits(value, maxWidth_, minHeight_, maxHeight_, true); }
    void SetMinHeight(int value) { SetLimits(minWidth_, maxWidth_, value, maxHeight_, true); }
    void SetMaxWidth(int value) { SetLimits(minWidth_, value, minHeight_, maxHeight_, false); }
    void SetMaxHeight(int value) { SetLimits(minWidth_, maxWidth_, minHeight_, value, false); }
    int ConstrainWidth(int width) const { return Constrain(width, minWidth_, maxWidth_); }
    int ConstrainHeight(int height) const { return Constrain(height, minHeight_, maxHeight_); }
    void Assign(TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    static int Constrain(int value, int least, int most);
    void SetLimits(int minWidth, int maxWidth, int minHeight, int maxHeight, bool minimumWins);

    int minWidth_ = 0, minHeight_ = 0, maxWidth_ = 0, maxHeight_ = 0;
};

using TCursor = int;
constexpr TCursor crDefault = 0;

// Every message that escapes as an exception from a handler ends here
// (the window procedure must not let it unwind into the system). The
// application installs its error handling; until then the default shows
// the message in an error box.
using TExceptionHandler = std::function<void(TObject* sender)>;
void SetControlExceptionHandler(TExceptionHandler handler);
// Call inside a catch block.
void HandleControlException(TObject* sender);

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    void BeforeDestruction() override;

    // Kept on the stack by code that goes on after a call which may free
    // the control (a child's handler run by a layout): the control's end
    // clears it. Nothing is allocated, so layouts stay cheap; scopes nest.
    class TAliveCheck {
    public:
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdangling-pointer"  // unlinked by the destructor below
        explicit TAliveCheck(TControl& control) : control_(&control), next_(control.aliveChecks_)
        {
            control.aliveChecks_ = this;
        }
#pragma GCC diagnostic pop
        ~TAliveCheck()
        {
            if (control_) control_->aliveChecks_ = next_;
        }
        TAliveCheck(const TAliveCheck&) = delete;
        TAliveCheck& operator=(const TAliveCheck&) = delete;
        bool Alive() const { return control_ != nullptr; }

    private:
        friend class TControl;
        TControl* control_;
        TAliveCheck* next_;
    };

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
    void SetTop(int top) { SetBounds(left_, top, width_, height_); }
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    // SetBounds keeps the size within them; a window also answers
    // WM_GETMINMAXINFO with them, so the user's sizing keeps them too.
    TSizeConstraints& Constraints() { return *constraints_; }
    void SetConstraints(TSizeConstraints& constraints) { constraints_->Assign(&constraints); }
    void SetBoundsRect(const TRect& rect) { SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height()); }

    virtual TRect ClientRect() const { return TRect(0, 0, width_, height_); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    virtual void SetClientWidth(int width) { SetWidth(width); }
    virtual void SetClientHeight(int height) { SetHeight(height); }
    TPoint ClientToScreen(TPoint point) const;
    TPoint ScreenToClient(TPoint point) const;
    // The screen position of the client area's top-left corner; the system
    // answers for a control whose window exists.
    virtual TPoint ClientOrigin() const;

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);
    TFont& Font() { return *font_; }
    void SetFont(TFont& font) { font_->Assign(&font); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);

    // Caption and Text are one string.
    const String& Caption() const { return text_; }
    void SetCaption(const String& caption) { SetText(caption); }
    const String& Text() const { return text_; }
    virtual void SetText(const String& text);

    const String& Hint() const { return hint_; }
    void SetHint(const String& hint) { hint_ = hint; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool showHint);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool parentShowHint);

    // Not owned; cleared when the menu is freed.
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    // A template so that only callers, who know the menu class, convert it
    // to its component.
    template <class Menu>
    void SetPopupMenu(Menu* menu)
    {
        static_assert(std::is_base_of_v<TPopupMenu, Menu>);
        AttachPopupMenu(menu, menu);
    }
    void SetPopupMenu(std::nullptr_t) { AttachPopupMenu(nullptr, nullptr); }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle style) { controlStyle_ = style; }

    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode mode);
    bool ParentBiDiMode() const { return parentBiDiMode_; }
    void SetParentBiDiMode(bool parentBiDiMode);

    TControlState ControlState() const { return controlState_; }
    bool HasControlState(TControlStateFlag flag) const { return (controlState_ & flag) != 0; }

    virtual void Invalidate();
    // Paints now what is invalid.
    virtual void Update();
    void Repaint()
    {
        Invalidate();
        Update();
    }
    // Above its siblings; a form over the other windows (an MDI child:
    // made the client's active one).
    virtual void BringToFront();

    // Direct dispatch through the hooks and WindowProc; no window is needed.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // The message entry. Replace it to watch or take over a control's
    // messages; keep the old value to hand on what you do not handle.
    TWndMethod WindowProc;
    // Hooks in front of WindowProc (WindowHooks.h), newest first, any
    // number of holders in any order. A hook goes with RemoveWindowHook or
    // when its holder is freed; the control may go first.
    int AddWindowHook(TComponent* holder, TWindowHook hook);
    void RemoveWindowHook(int id);
    // Every message for this control enters here: the hooks, then WindowProc.
    void DispatchToWindowProc(TMessage& message);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;

    virtual void Click();
    virtual void DblClick();

protected:
    // The one switch from messages to handlers.
    virtual void WndProc(TMessage& message);
    // What WndProc does not handle; windowed controls call the system's.
    virtual void DefaultHandler(TMessage& message) { (void)message; }

    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Resize();
    virtual void FontChanged() { Invalidate(); }
    virtual void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // Called by SetBounds once the values are stored.
    virtual void BoundsChanged() {}
    void SetBoundsFields(int left, int top, int width, int height);
    void SetControlState(TControlStateFlag flag, bool on);
    // Asks the parent to lay out its aligned children again.
    void RequestAlign();
    // The parent's font and colour when ParentFont / ParentColor ask for them.
    void InheritFromParent();
    void ApplyBiDiMode(TBiDiMode mode);

private:
    friend class TWinControl;  // detaches its children when it goes
    void AttachPopupMenu(TPopupMenu* menu, TComponent* component);
    void MouseMessage(TMessage& message, TMouseButton button, bool down, bool doubleClick);
    void MouseReleased(TMouseButton button, TShiftState shift, int x, int y);

    TWinControl* parent_ = nullptr;  // not owned: the parent holds this in its control list
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = TAlign::alNone;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    TOwned<TFont> font_;
    TOwned<TSizeConstraints> constraints_;
    bool parentFont_ = true;
    String text_;
    String hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TPopupMenu* popupMenu_ = nullptr;  // not owned
    TComponent* popupMenuComponent_ = nullptr;  // the same object as a component
    std::shared_ptr<TWindowHookList> windowHooks_;  // null until the first hook
    TAliveCheck* aliveChecks_ = nullptr;  // not owned: the innermost scope's, linked outwards
    bool inheritingFont_ = false;
    TCursor cursor_ = crDefault;
    TControlState controlState_ = 0;
    TControlStyle controlStyle_ = csDoubleClicks;
    TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
    bool parentBiDiMode_ = true;
};

// A windowless control. Its parent paints it inside its own WM_PAINT (the
// canvas then draws on the parent's DC, origin moved to the control and
// clipped to it) and hands it the mouse messages that fall on it.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);

    // Valid only while painting.
    TCanvas& Canvas() { return *canvas_; }
    void Invalidate() override;
    void Update() override;

protected:
    virtual void Paint() {}
    void WndProc(TMessage& message) override;
    void BoundsChanged() override { Invalidate(); }

private:
    TOwned<TCanvas> canvas_;
};

// The parameters CreateWnd hands to CreateWindowExW.
struct TCreateParams {
    String ClassName;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    UINT ClassStyle = CS_DBLCLKS;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    HCURSOR Cursor = nullptr;
    HBRUSH Background = nullptr;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
    // The topmost visible and enabled child under a client point, or null.
    TControl* ControlAtPos(TPoint point) const;

    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop) { tabStop_ = tabStop; }

    // The window is made on first need.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys the window and makes a new one with the current parameters.
    // Announced as CM_RECREATEWND, whose handling does the work, so that
    // whoever watches the window procedure sees it.
    void RecreateWnd();
    void DestroyHandle();

    // Runs after every creation of the window, first and recreated: for
    // helpers (shapers) that keep something in the window, such as a region.
    using THandleCreated = std::function<void(TWinControl* control)>;
    int AddHandleCreatedHandler(THandleCreated handler);
    void RemoveHandleCreatedHandler(int id);

    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void SetText(const String& text) override;
    void Invalidate() override;
    void Update() override;
    // Throws when the control cannot take the focus (hidden or disabled on
    // the way up, or its form hidden).
    void SetFocus();
    bool Focused() const;
    // Visible and enabled up to a form that holds it.
    bool CanFocus() const;

    // The windowed controls below this one in tab order, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // The control after (or before) Current in tab order that can take
    // the focus (with CheckTabStop: and has TabStop); wraps around.
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);
    // Hands Message to each child until one answers non-zero.
    void Broadcast(TMessage& message);

    // Graphic children paint on this DC, each with its origin and clip.
    void PaintControls(HDC dc);

    // Lays out the visible aligned children: top ones by their Top, then
    // bottom, left and right ones from the edges inwards, then the client
    // ones over what is left. Changed, when given, goes first among
    // children at the same place. Nothing happens while minimised.
    void Realign(TControl* changed = nullptr);

    // A margin inside the window's frame, painted in Color, that the client
    // area leaves out.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    // Moves every child by (DX, DY) and repaints.
    void ScrollBy(int dx, int dy);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;

protected:
    // The mouse is over the window: between CM_MOUSEENTER and CM_MOUSELEAVE.
    bool HasMouse() const { return mouseInside_; }
    virtual void CreateParams(TCreateParams& params);
    // Gives a live window the frame styles CreateParams now names (its
    // visible, enabled and minimised/maximised state kept) and has the
    // system recompute the frame: the window, its hooks, region and icon
    // stay. The system tells the window with WM_STYLECHANGED.
    void Restyle();
    // Makes the window; overriders call this first and then add what they
    // keep in the window.
    virtual void CreateWnd();
    // Destroys the window (an MDI child asks its client to).
    virtual void DestroyWnd();
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // Paints the window's client area on a DC of BeginPaint (or the DC a
    // parent hands in); the default paints the graphic children.
    virtual void PaintWindow(HDC dc);
    // The part of the client area that aligned children share.
    virtual void AdjustClientRect(TRect& rect) { (void)rect; }
    // What the aligned children left of it, after each layout.
    virtual void RestAligned(const TRect& rest) { (void)rest; }
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    // A form with KeyPreview says yes; key messages of its controls then
    // reach it first.
    virtual bool PreviewsKeys() const { return false; }
    // How SetVisible shows the window.
    virtual int ShowCommand() const { return SW_SHOW; }
    // The window that this control's window belongs to as a child, or the
    // top-level owner.
    virtual HWND ParentWindow() const;
    void BoundsChanged() override;
    void SyncBoundsFromWindow();

private:
    friend class TControl;
    friend LRESULT CALLBACK FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void BringControlToFront(TControl* control);
    void DispatchMouseToChild(TMessage& message);
    void AlignChildren(TControl* changed, TAlign align, TRect& rect);
    void AnswerMinMaxInfo(TMessage& message);
    bool PreviewKey(UINT msg, WORD& key, TShiftState shift);
    bool FormTakesDialogKey(const TMessage& message);
    bool FormTakesDialogChar(const TMessage& message);
    void TrackMouse();
    void CaptureOwnPress(const TMessage& message);
    void CreateHandle();
    void RecreateNow();
    void PaintMessage(TMessage& message);
    void InsetClientByBorderWidth(TMessage& message);
    void PaintBorderWidth();
    // Shows the PopupMenu of the graphic child under the point, or this
    // control's own; false when neither has one that pops up.
    bool ShowContextMenu(TMessage& message);

    HWND handle_ = nullptr;  // owned: destroyed with DestroyHandle
    int borderWidth_ = 0;
    std::vector<TControl*> controls_;  // not owned: children are owned by their Owner; Z order, last on top
    std::vector<TWinControl*> tabList_;  // not owned: the windowed children in tab order
    TControl* mouseControl_ = nullptr;  // not owned: the graphic child that got the last press
    std::vector<std::pair<int, THandleCreated>> handleCreated_;
    int nextHandlerId_ = 1;
    bool tabStop_ = false;
    bool mouseInside_ = false;  // between CM_MOUSEENTER and CM_MOUSELEAVE
    bool aligning_ = false;
};

// A windowed control that paints itself on its canvas.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    // Valid only while painting.
    TCanvas& Canvas() { return *canvas_; }

protected:
    virtual void Paint();
    void PaintWindow(HDC dc) override;

private:
    TOwned<TCanvas> canvas_;
};

enum class TBevelCut { bvNone, bvLowered, bvRaised };
// A control's own border: none, or a single line (WS_BORDER).
enum class TBorderStyle { bsNone, bsSingle };

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* owner);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut bevel);
    // Drawn inside the outer bevel.
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut bevel);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;

private:
    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    TBorderStyle borderStyle_ = TBorderStyle::bsNone;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
};

// The window procedure of every framework window.
LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// The control bound to a framework window, or null.
TWinControl* FindControl(HWND window);
