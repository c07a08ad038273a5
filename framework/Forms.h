// Forms, the application object with its message loop, and the screen
// with its monitors. Application and Screen are made when the program
// starts and live until it ends.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "Controls.h"
#include "Icon.h"
#include "MDIClient.h"
#include "Menus.h"

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition { poDesigned, poScreenCenter };
enum class TFormStyle { fsNormal, fsMDIForm, fsMDIChild };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;
    void AfterConstruction() override;
    void BeforeDestruction() override;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    // A live window is restyled, not remade: what others keep in it (window
    // procedure hooks, region, icon) stays. The client area keeps its size.
    void SetBorderStyle(TFormBorderStyle style);
    // Kept for form descriptions: the framework neither scales forms to
    // the screen's resolution nor shows scroll bars for a form's contents.
    bool Scaled() const { return scaled_; }
    void SetScaled(bool scaled) { scaled_ = scaled; }
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool autoScroll) { autoScroll_ = autoScroll; }
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    // fsMDIForm: the form is an MDI frame, its client window holding the
    // children. fsMDIChild: the form lives in the main form's client (which
    // must exist when its window is made). A live window is made anew.
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);
    // An MDI frame's client window; null for other forms and before the
    // frame's window exists.
    HWND ClientHandle() const;

    // An MDI frame's children, topmost first.
    int MDIChildCount() const;
    TForm* MDIChildren(int index) const;
    // The child the client holds active, or null.
    TForm* ActiveMDIChild() const;
    TTileMode TileMode() const { return tileMode_; }
    void SetTileMode(TTileMode mode) { tileMode_ = mode; }
    void Tile();
    void Cascade();
    void ArrangeIcons();
    // The item of Menu whose sub-menu lists the children; not owned.
    TMenuItem* WindowMenu() const { return windowMenu_; }
    void SetWindowMenu(TMenuItem* item);
    // Follows the window (the system menu, keys, the user); set while the
    // form is hidden, it applies when the form shows.
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool keyPreview) { keyPreview_ = keyPreview; }
    // Whether the form's window is the active one.
    bool Active() const { return active_; }
    // The window's icon; while empty, the application's.
    TIcon& Icon() { return *icon_; }
    void SetIcon(TIcon& icon) { icon_->Assign(&icon); }
    // The menu bar; not owned (dropped when the menu is freed). Its
    // shortcuts work from every control of the form.
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    // A WM_KEYDOWN the menu bar (an MDI child's: or its frame's) takes as
    // a shortcut (its item clicked).
    bool IsShortCut(const TMessage& message);

    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }

    // The control that has (or, while the form is hidden, will get) the
    // focus; null when none. Not owned: cleared when the control goes.
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    // Told by a control of this form that it got the focus; every control
    // of the form then hears CM_FOCUSCHANGED.
    void SetFocusedControl(TWinControl* control);

    // Before the window exists the client size follows from the frame the
    // border style gives.
    TRect ClientRect() const override;
    void SetClientWidth(int width) override;
    void SetClientHeight(int height) override;
    void SetVisible(bool visible) override;
    void BringToFront() override;

    // Asks OnClose; hides the form, frees it later, or ends the
    // application when it is the main form.
    void Close();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnDestroy;
    TCloseEvent OnClose;

    // Gives the window the icon it should show now.
    void UpdateWindowIcon();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void RestAligned(const TRect& rest) override;
    bool PreviewsKeys() const override { return keyPreview_; }
    int ShowCommand() const override;
    HWND ParentWindow() const override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void WatchActiveControl(TWinControl* control);
    bool TakeDialogKey(const TMessage& message);

    void TrackWindowState(WPARAM sizeType);
    void FrameStyle(DWORD& style, DWORD& exStyle) const;
    void LeaveScreenUnhidden();
    TSize FrameSize() const;
    void PlaceOnFirstShow();
    // Whether the window was made as an MDI child.
    bool IsMDIChildWindow();
    void SetMDIChildState(TWindowState state);
    TMDIClient* ParentClient() const;
    HMENU WindowMenuHandle() const;
    void UpdateClientMenus();
    void RecreateWithChildren(TMessage& message);

    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TPosition position_ = TPosition::poDesigned;
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    TWindowState windowState_ = TWindowState::wsNormal;
    bool keyPreview_ = false;
    bool scaled_ = true;
    bool autoScroll_ = true;
    bool active_ = false;
    bool shownOnce_ = false;
    TModalResult modalResult_ = mrNone;
    TWinControl* activeControl_ = nullptr;  // not owned
    TOwned<TIcon> icon_;
    TMainMenu* menu_ = nullptr;  // not owned
    TMenuItem* windowMenu_ = nullptr;  // not owned
    TTileMode tileMode_ = TTileMode::tbHorizontal;
    std::unique_ptr<TMDIClient> client_;  // while an MDI frame's window lives
    std::vector<TForm*>* recreatedChildren_ = nullptr;  // not owned: while the frame's window is remade
};

// The form that holds Control at the top of its parent chain, or null.
TForm* GetParentForm(TControl* control);

using TExceptionEvent = std::function<void(TObject* sender, const Exception& error)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // Puts this application in charge of the core's message pump and of
    // exceptions that escape event handlers.
    void Initialize();

    const String& Title() const { return title_; }
    void SetTitle(const String& title);
    // Loaded from the program's icon MAINICON when it has one; the forms
    // without an icon of their own show it.
    TIcon& Icon() { return *icon_; }
    void SetIcon(TIcon& icon) { icon_->Assign(&icon); }
    String ExeName() const;

    // The hidden top-level window that owns every form; minimising it
    // minimises the application.
    HWND Handle();

    // The first form created becomes the main form.
    template <class T>
    void CreateForm(T*& reference)
    {
        reference = New<T>(this);
        if (!mainForm_) mainForm_ = reference;
    }
    template <class T>
    T* CreateForm()
    {
        T* form = nullptr;
        CreateForm(form);
        return form;
    }
    TForm* MainForm() const { return mainForm_; }

    // Shows the main form and runs the message loop until Terminate (or the
    // main form closes); then frees the forms.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    void ProcessMessages();
    // Waits for one message and handles it.
    void HandleMessage();
    // Whether a window of this process is the foreground one.
    bool Active() const;
    void Minimize();
    void Restore();

    // A modal system message box over the main form; the button pressed.
    int MessageBox(const String& text, const String& caption, UINT flags = MB_OK);

    // Call inside a catch block: OnException when set, else an error box.
    // OnException is handed the error itself, of its own kind.
    void HandleException(TObject* sender);
    // The same for an error at hand, outside its catch block.
    void ShowException(TObject* sender, const Exception& error);
    TExceptionEvent OnException;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    static LRESULT CALLBACK ApplicationWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void IconChanged();
    bool ProcessMessage(MSG& msg);
    // The child keys of the main MDI frame, when the main form is one.
    bool IsMDIMessage(MSG& msg);

    String title_;
    TOwned<TIcon> icon_;
    TWindowHandle handle_;
    TForm* mainForm_ = nullptr;  // owned as a component of this application
    bool terminated_ = false;
};

extern TApplication* Application;

enum class TMonitorDefaultTo { mdNearest, mdNull, mdPrimary };

class TMonitor : public TObject {
public:
    explicit TMonitor(HMONITOR handle) : handle_(handle) {}
    HMONITOR Handle() const { return handle_; }
    TRect BoundsRect() const;
    TRect WorkareaRect() const;
    bool Primary() const;

private:
    HMONITOR handle_;  // not owned: monitors are the system's
};

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* owner) : TComponent(owner) {}
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    // Owned by the screen; null only for mdNull when no monitor matches.
    TMonitor* MonitorFromWindow(HWND window, TMonitorDefaultTo defaultTo = TMonitorDefaultTo::mdNearest);
    TMonitor* PrimaryMonitor();

private:
    TMonitor* MonitorOf(HMONITOR handle);
    std::map<HMONITOR, TOwned<TMonitor>> monitors_;
};

extern TScreen* Screen;
