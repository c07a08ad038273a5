// TkypCustomButton: the owner-drawn push button of the skin library. It
// shows one of four state pictures (normal, mouse over, pressed, disabled)
// with an optional caption and focus rectangle, repeats an event while the
// left button is held, clicks on Space and Enter, serves as its form's
// default (Enter) or cancel (Esc) button, answers its caption's
// accelerator and hands its modal result to its form.
#pragma once

#include <windows.h>

#include "Bitmap.h"
#include "Controls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "KYPMgr.h"
#include "KYPStyle.h"

// Every skinned push button answers 1: a bare accelerator letter works
// while one of them has the focus.
constexpr UINT KYPM_ISBUTTON = WM_APP + 3000;

class TkypCustomButton : public TCustomControl {
public:
    explicit TkypCustomButton(TComponent* owner);
    ~TkypCustomButton() override;
    void AfterConstruction() override;

    // Kept equal to the control's Text.
    const String& Caption() const { return m_Caption; }
    void SetCaption(const String& caption);
    bool AutoSize() const { return m_AutoSize; }
    void SetAutoSize(bool autoSize);
    bool Cancel() const { return m_Cancel; }
    void SetCancel(bool cancel) { m_Cancel = cancel; }
    bool Default() const { return m_Default; }
    void SetDefault(bool isDefault);
    TModalResult ModalResult() const { return m_ModalResult; }
    void SetModalResult(TModalResult result) { m_ModalResult = result; }
    virtual TkypUIStyle UIStyle() const { return m_UIStyle; }
    void SetUIStyle(TkypUIStyle style);
    // Not owned; watched, so a theme of another owner can go first.
    TkypFileTheme* FileTheme() const { return m_ThemeLink.Theme(); }
    void SetFileTheme(TkypFileTheme* theme);
    bool Transparent() const { return m_Transparent; }
    void SetTransparent(bool transparent);
    int FocusedRectMargin() const { return m_FocusedRectMargin; }
    void SetFocusedRectMargin(int margin);
    // Takes effect at the next press.
    int MouseContinuouslyDownInterval() const { return m_MouseContinuouslyDownInterval; }
    void SetMouseContinuouslyDownInterval(int interval) { m_MouseContinuouslyDownInterval = interval; }

    void SetEnabled(bool enabled) override;
    void Click() override;

    // The state the face shows.
    bool MouseInside() const { return m_MouseIn; }
    bool Pressed() const { return m_MouseDown; }
    bool Repeating() const { return m_Timer != nullptr; }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;
    TNotifyEvent OnMouseContinuouslyDown;

protected:
    virtual void ResizeToStyle();
    virtual void CaptionChanged() {}
    void FontChanged() override;
    virtual void TransparentChanged();
    virtual void EnabledChanged() {}
    virtual void UIStyleChanged() {}
    virtual void DrawPicture(TCanvas& canvas, TBitmap* bitmap);
    virtual void DrawCaption(TCanvas& canvas);
    virtual void PaintFocusRect(TCanvas& canvas);
    virtual void GetNormalPicture(TBitmap* bitmap);
    virtual void GetMouseOnPicture(TBitmap* bitmap);
    virtual void GetMouseDownPicture(TBitmap* bitmap);
    virtual void GetDisabledPicture(TBitmap* bitmap);

    void CreateWnd() override;
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void WndProc(TMessage& message) override;

    bool m_MouseIn = false;
    bool m_MouseDown = false;
    // A one-shot request of descendants: the next caption is drawn bold.
    bool m_BoldFont = false;

private:
    void GetButtonPicture(TkypStyleAttr attr, int spitCount, int spitIndex, TBitmap* bitmap);
    void FetchStatePicture(TBitmap& picture);
    void SetPicTransparent(bool transparent);
    void StartRepeat();
    void StopRepeat() { m_Timer.reset(); }
    void FireMouseContinuouslyDown();
    void EndHover();
    bool TakeDialogKey(const TMessage& message);
    bool TakeDialogChar(const TMessage& message);

    // Cancel mode took the hot look while the mouse stayed over the button.
    bool m_HoverCancelled = false;
    bool m_AutoSize = false;
    String m_Caption;
    bool m_Cancel = false;
    bool m_Default = false;
    bool m_Transparent = false;
    TModalResult m_ModalResult = mrNone;
    TkypUIStyle m_UIStyle = DeepBlue;
    TkypThemeLink m_ThemeLink{this};
    bool m_PicTransparent = false;
    // Owned; lives from a left press until its release (or the press is
    // cancelled), and always goes with the button.
    TOwned<TTimer> m_Timer;
    int m_MouseContinuouslyDownInterval = 100;
    int m_FocusedRectMargin = 2;
    bool m_Active = false;  // Enter in the dialog-key pass clicks this button
};
