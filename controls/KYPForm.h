// TkypForm: the panel that skins the form it is dropped on. It fills the
// form, takes away the form's caption, puts a skinned title bar at its own
// top, paints a border of its own outside the client area on the form's
// window, cuts the window's outline and watches the form's messages through
// a window hook (the non-client size, activation, sizing and maximising).
// One per form.
#pragma once

#include <windows.h>

#include <memory>

#include "AppEvnts.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "KYPFormBorder.h"
#include "KYPFormGeometry.h"
#include "KYPFrameTitleBar.h"
#include "KYPFrameWindow.h"
#include "KYPMenuBar.h"
#include "KYPMgr.h"
#include "KYPTitleBar.h"

// Sent by the frame of an MDI child to the main form at creation; a
// skinned MDI frame answers its form's unskinned bottom and left frame.
constexpr UINT KYPM_MDIBOTTOMBORDER = 0x87D0;
constexpr UINT KYPM_MDILEFTBORDER = 0x87D1;

class TkypForm;

// The skinned frame among a form's controls (the first; one per form), or null.
TkypForm* FindFormFrame(const TWinControl& form);

class TkypForm : public TCustomPanel,
                 public IkypTitleBarFrame,
                 public IkypFormFrame,
                 public IkypStyleSource,
                 public IkypMenuBarHost,
                 public TkypTitleBarProperties<TkypForm>,
                 private IkypFrameSide {
public:
    explicit TkypForm(TComponent* owner);
    ~TkypForm() override;
    // Owned by a form: skins it (refused with an exception when the form
    // already has a frame, before anything of the form changes). Owned by
    // anything else it stays a plain panel.
    void AfterConstruction() override;
    // Gives the form its caption and window procedure back while both are
    // whole; a form that is itself going is left as it is.
    void BeforeDestruction() override;

    // Not owned; watched whoever owns it.
    TkypFileTheme* FileTheme() const { return m_FileTheme.Theme(); }
    void SetFileTheme(TkypFileTheme* theme);
    TkypUIStyle UIStyle() const { return m_UIStyle; }
    void SetUIStyle(TkypUIStyle style);
    bool UIStyleAutoUpdateSub() const { return m_UIStyleAutoUpdateSub; }
    void SetUIStyleAutoUpdateSub(bool update) { m_UIStyleAutoUpdateSub = update; }
    TColor BorderColor() const { return m_BorderColor; }
    void SetBorderColor(TColor color);
    // The outer line of a built-in style (not the panel's own margin).
    int BorderWidth() const { return m_BorderWidth; }
    void SetBorderWidth(int width);
    bool TitleBarVisible() const;
    void SetTitleBarVisible(bool visible);
    // The title bar's caption; setting it also names the form.
    String Caption() const;
    void SetCaption(const String& caption);
    TCustomPanel* FormPanel() const { return m_Panel; }
    void SetFormPanel(TCustomPanel* panel);
    // The title bar's font; null without a title bar.
    TFont* TitleFont() const;
    void SetTitleFont(TFont& font);
    // Not owned; dropped when the menu goes. Shown as a menu bar below the
    // title bar; its shortcuts work from every window of the form.
    TMainMenu* Menu() const;
    void SetMenu(TMainMenu* menu);
    TColor MenuBarColor() const;
    void SetMenuBarColor(TColor color);
    TColor MenuBarToColor() const;
    void SetMenuBarToColor(TColor color);
    // The menu bar's height while it shows, else 0.
    int MenuBarHeight() const;
    void SetMenuBarHeight(int height);
    // Null while there is no menu.
    TkypMenuBar* MenuBar() const { return m_MenuBar ? m_MenuBar->Bar() : nullptr; }
    int RoundCorner() const;
    void SetRoundCorner(int size);
    int RoundCornerBottom() const;
    void SetRoundCornerBottom(int size);
    TkypTitleBarButtonClickEvent OnTitleBarCustomBtnsClick() const;
    void SetOnTitleBarCustomBtnsClick(TkypTitleBarButtonClickEvent event);
    TkypTitleBarButtonClickEvent OnTitleBarHelpBtnClick() const;
    void SetOnTitleBarHelpBtnClick(TkypTitleBarButtonClickEvent event);
    TkypTitleBarButtonClickEvent2 OnTitleBarMinBtnClick() const;
    void SetOnTitleBarMinBtnClick(TkypTitleBarButtonClickEvent2 event);
    TkypTitleBarButtonClickEvent2 OnTitleBarMaxBtnClick() const;
    void SetOnTitleBarMaxBtnClick(TkypTitleBarButtonClickEvent2 event);
    String About() const { return L"https://quorvell.invalid/skins"; }
    String Version() const { return L"1.0"; }

    bool MDIChild() const;
    // The title bar's height and the three rows above it, while it shows.
    int TitleBarHeight() const;
    TkypTitleBar* TitleBar() const { return m_TitleBar; }
    TForm* Form() const { return m_Form; }

    void UpdateMenu();
    void UpdateTopMenu();
    void RepaintMenuBar();
    void PaintFormBorder() override;
    void AddHelpButton();
    // Takes the caption off the form's window again when it came back.
    void ReAssign();
    // Cuts the form's window to the frame's outline.
    void UpdateFormRegion();

    // IkypTitleBarFrame
    bool IsMDIFrame() const override { return false; }
    // IkypFormFrame
    TForm* FramedForm() const override { return m_Window.FramedForm(); }
    // IkypStyleSource
    TkypUIStyle StyleForChildren() const override { return m_UIStyle; }
    // IkypMenuBarHost
    TWinControl* MenuBarParent() override { return this; }
    TkypUIStyle MenuBarStyle() const override { return m_UIStyle; }
    TkypFileTheme* MenuBarTheme() const override { return FileTheme(); }
    bool MenuBarAllowed() const override { return !MDIChild(); }
    bool MenuBarDesigning() const override { return Designing(); }
    void MenuBarPlaced() override;

protected:
    void Paint() override;
    void Resize() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void WndProc(TMessage& message) override;

private:
    // IkypFrameSide
    TkypTitleBar* FrameTitleBar() const override { return m_TitleBar; }
    int FrameBorderWidth() const override { return m_BorderWidth; }
    void IsMenuShortCut(TMessage& message) override;
    void AfterFormMessage(TMessage& message) override;
    bool ApplicationKey(MSG& msg, bool& handled) override;
    // The frame's menu asks whether its form is active.
    bool JudgesKeysOf(HWND) const override { return true; }

    void SetUp(TForm* form);
    TRect NormalBounds() const;
    void MeasureOldBorders();
    void SetFormIcon();
    void ApplySkinFile(TkypFileTheme& theme);
    void ApplyBuiltInStyle(TkypUIStyle resolved);
    bool Designing() const { return HasState(csDesigning); }
    void SizeChanged();
    void FirstSizes(bool maximized);
    void MDIChildSized(bool maximized);
    void SetTitleBarVisibleItself(bool visible);
    void SendToMDIClient(UINT msg, WPARAM wParam);
    TBitmap* BackgroundPattern();

    TkypTitleBar* m_TitleBar = nullptr;       // owned as a component of this frame
    TkypFormMenuBar* m_MenuBar = nullptr;     // owned as a component of this frame; holds Menu and the bar
    TkypFrameWindow m_Window{*this};
    // An MDI child's maximise bookkeeping: MaxFlag, the child shows
    // maximised (its rows scrolled up under the frame's title bar);
    // MaxFlag2, it has been restored from that once; MaxFlag3, it was made
    // maximised (its first restore scrolls back only after a second one).
    bool m_MaxFlag = false, m_MaxFlag2 = false, m_MaxFlag3 = false;
    TFormBorderStyle m_OldBorderStyle = TFormBorderStyle::bsSizeable;
    TForm* m_Form = nullptr;  // not owned: the owner
    TColor m_BorderColor = clBlack;
    TCustomPanel* m_Panel = nullptr;  // not owned; watched
    int m_BorderWidth = 1;
    TkypUIStyle m_UIStyle = DeepBlue;
    TkypThemeLink m_FileTheme{this};
    bool m_UIStyleAutoUpdateSub = false;
    TRect m_FormInitRect;  // the form's bounds when framed
    // The form was made maximised and has not yet been put back to its
    // first bounds (at its first size notice that is not maximised).
    bool m_FormInitMax = false;
    // Maximised size notices of forms made maximised, one count for every
    // frame of the program: from the third on each asks for the maximised
    // state again, which leaves a window already maximised as it is.
    static inline int s_InitMaxSizeCount = 0;
    // The title bar's visibility last chosen from outside: an MDI child
    // gets it back when it leaves the maximised state.
    bool m_MDIChildFormTitleVisible = true;
    bool m_SelfChanging = false;  // the frame itself hides or shows the bar
    TOwned<TBitmap> m_Background;  // reused by every paint
    TOwned<TBitmap> m_Pattern;
    TkypUIStyle m_PatternStyle = DeepBlue;
};
