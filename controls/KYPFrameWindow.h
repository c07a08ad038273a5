// What the skinned form frame and the skinned MDI frame both do to the
// form window they skin: the caption bits, the measured unskinned frame,
// the skin file's border settings, the painted border and the region.
#pragma once

#include <windows.h>

#include <functional>

#include "AppEvnts.h"
#include "Forms.h"
#include "GdiHandles.h"
#include "KYPFlagScope.h"
#include "KYPFormBorder.h"
#include "KYPFormGeometry.h"
#include "KYPLifeToken.h"
#include "KYPMgr.h"
#include "Messages.h"

class TkypTitleBar;

// Recomputes the window's frame in place (no size, move, z-order or activation).
void RecomputeFrame(HWND window);
// Takes WS_CAPTION off and recomputes the frame; false when it was off already.
bool StripCaptionBits(HWND window);
void RestoreCaptionBits(HWND window);
// The left and bottom thickness of the window's own frame as the system
// lays it out now, each sane (SaneFrameThickness).
void MeasureWindowFrame(HWND window, int& left, int& bottom);
// A frame shows no system frame of a single line: such forms (and none or
// tool windows) become dialogs; the style the form had is returned.
TFormBorderStyle TakeDialogBorder(TForm& form);
// A dialog frame shows the form's icon, else the application's, else the system's.
void SetDialogFrameIcon(TForm& form);
// The window's size as a rectangle at (0, 0).
TRect WindowExtent(HWND window);
// A maximised frame covers the work area, its own edges just outside.
void FitToWorkArea(TForm& form);

// WM_NCCALCSIZE of a move (wParam set): the new window rectangle, rgrc[0],
// becomes the one the frame hands on to the form's own procedure
// (FrameClientRect). The WINDOWPOS beside it holds what the move was
// given, which a frame recomputed in place gives without a position.
void FrameCalcSize(TMessage& message, const TkypFrameBorders& borders);
// WM_NCPAINT / WM_NCACTIVATE: the frame paints the whole non-client area
// (title bar, then PaintFrame), except for an iconic form, whose own
// procedure draws it (PassOn).
void FrameNonClientPaint(TMessage& message, TForm& form, TkypTitleBar* titleBar,
    const std::function<void()>& paintFrame, const std::function<void()>& passOn);
// Where the client area starts in the window, as the system laid it out:
// the title bar lines its picture up with the border's copy of it. The
// arithmetic alone assumes the system's frame of a sizeable window.
int MeasuredBorderWidthAnswer(HWND window, const TkypFrameBorders& borders);

// The skin file's side of a frame's borders; all zero in a built-in style.
struct TkypFrameSkin {
    int LeftBorderWidth = 0;
    int RightBorderWidth = 0;
    int BottomBorderWidth = 0;
    TColor TransparentColor = clFuchsia;
    bool TitleNeedRegion = false;
    bool BottomNeedRegion = false;
    int TitleRegionMin = -1, TitleRegionMax = -1;
    int BottomRegionMin = -1, BottomRegionMax = -1;

    // A picture the skin file lacks counts as no border at all. The title
    // bar's image learns the transparent colour.
    void Read(const TkypFileTheme& theme, TkypTitleBar* titleBar);
    void Clear();
    TkypFrameBorders Borders(int borderWidth, int oldLeft, int oldBottom) const;
};

// The frame painted on the window's DC: from the skin file when Theme is
// given, else the built-in Look (its title sections filled in here).
void PaintFrameOnWindow(HWND window, TkypFrameBorder& border, const TkypFrameLayout& layout,
                        const TkypFileTheme* theme, TkypTitleBar* titleBar, TkypStyleFrameLook look);
// The outline a skin file cuts (the plain rectangle unless it asks for a
// cut), composing the bottom border first when its width is stale.
TRegionHandle SkinFrameRegion(const TRect& extent, TkypFrameBorder& border, const TkypFrameSkin& skin,
                              const TkypFileTheme& theme, TkypTitleBar* titleBar, bool cut);
// Hands Region to the window, which owns it once set.
void SetFrameRegion(HWND window, TRegionHandle region);

// What a skinned frame puts into the form window they share: its title
// bar, its outer line, its painting and its own messages.
class IkypFrameSide {
public:
    virtual TkypTitleBar* FrameTitleBar() const = 0;
    // The outer line of a built-in style.
    virtual int FrameBorderWidth() const = 0;
    virtual void PaintFormBorder() = 0;
    // Sets the message's result to 1 when a shortcut of the frame's menu
    // took the key.
    virtual void IsMenuShortCut(TMessage& message) = 0;
    // Before the form's own procedure; true: answered, not handed on.
    virtual bool AnswerFormMessage(TMessage&) { return false; }
    // After the form's own procedure, the frame still alive.
    virtual void AfterFormMessage(TMessage& message) = 0;
    // An application message of the frame's own before the key filter;
    // true: dealt with.
    virtual bool ApplicationKey(MSG&, bool&) { return false; }
    // Whose key presses the key filter judges.
    virtual bool JudgesKeysOf(HWND window) const = 0;

protected:
    ~IkypFrameSide() = default;
};

// The half that the form frame and the MDI frame share: the form window
// hooked and given back, the caption bits, the unskinned borders measured,
// the non-client size and paint, the border answer, the frame painted on
// the window and its outline, the application's key filter. Each frame
// holds one and keeps its own look and messages (IkypFrameSide).
class TkypFrameWindow {
public:
    explicit TkypFrameWindow(IkypFrameSide& side) : m_Side(side) {}
    TkypFrameWindow(const TkypFrameWindow&) = delete;
    TkypFrameWindow& operator=(const TkypFrameWindow&) = delete;

    // Takes the caption bits off the form's window, hooks the window (the
    // hook held by Holder) and the application's messages.
    void Attach(TComponent* holder, TForm& form);
    // Teardown begins: the hooks go, nothing more is done for the form,
    // whose caption and plain outline come back unless it goes too.
    void Detach();
    // The form while hooked, else null.
    TForm* FramedForm() const { return m_Hooked ? m_Form : nullptr; }
    bool Destroyed() const { return m_Destroyed; }
    // Not torn down, and the form has a window that is not going.
    bool WindowAlive() const;
    // The window or one inside it.
    bool Contains(HWND window) const;
    // Lets code after a message handed on know whether the frame lives.
    TkypLifeToken::TWatch Watch() const { return m_Life.Watch(); }
    void StripCaption();

    // The form's own frame, caption still on (each sane).
    void MeasureOldBorders(HWND window) { MeasureWindowFrame(window, m_OldLeftBorderWidth, m_OldBottomBorderWidth); }
    void SetOldBorders(int left, int bottom);
    int OldLeftBorderWidth() const { return m_OldLeftBorderWidth; }
    int OldBottomBorderWidth() const { return m_OldBottomBorderWidth; }
    TkypFrameBorders Borders() const;
    int BorderWidthAnswer() const;

    TkypFrameSkin& Skin() { return m_Skin; }
    const TkypFrameSkin& Skin() const { return m_Skin; }
    // While true (a style being applied) nothing is painted or cut.
    bool StyleChanging() const { return m_StyleChanging; }
    // Holds StyleChanging true while it lives, an exception notwithstanding.
    [[nodiscard]] TkypFlagScope StyleChange() { return TkypFlagScope(m_StyleChanging, true, m_Life.Watch()); }

    // The window's size and the title bar's; the menu bar's numbers given.
    TkypFrameLayout Layout(int menuBarHeight, TColor menuBarColor, TColor menuBarToColor, TColor menuBarFill) const;
    // The frame on the window: from the skin file when Style and Theme use
    // it, else the built-in Look (its old border and dialog flag filled here).
    // Nothing on a window gone or minimised (Designing excepted).
    void Paint(TkypUIStyle style, TkypFileTheme* theme, const TkypFrameLayout& layout, TkypStyleFrameLook look);
    // The outline: the skin file's (cut only when Cut), else the built-in
    // rounded corners (none at design time).
    void UpdateRegion(TkypUIStyle style, TkypFileTheme* theme, bool cut, int roundCorner, int roundCornerBottom,
                      bool designing);

private:
    void FormWindowProc(TMessage& message, const TWindowHookNext& next);
    void AfterFormMessage(TMessage& message);
    void ApplicationMessage(MSG& msg, bool& handled);

    IkypFrameSide& m_Side;
    TForm* m_Form = nullptr;  // not owned: the frame's owner
    bool m_Hooked = false;
    int m_HookId = 0;
    bool m_Destroyed = false;
    bool m_StyleChanging = false;
    TOwned<TApplicationEvents> m_AppEvent;
    TkypFrameSkin m_Skin;
    int m_OldBottomBorderWidth = 4;
    int m_OldLeftBorderWidth = 4;
    TkypFrameBorder m_Border;  // also keeps the composed bottom border
    // Ended when teardown begins, for a message on its way through the hook.
    TkypLifeToken m_Life;
};
