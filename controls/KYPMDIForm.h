// TkypMDIForm: the component that skins the MDI main form it is dropped
// on. It takes away the form's caption, paints a frame of its own on the
// form's window, puts a skinned title bar and, below it, a top panel with
// the menu bar above the MDI client, and watches the form's window (a
// window hook), the MDI client's (a subclass, undone when the frame goes)
// and the application's key messages (the menu's shortcuts).
#pragma once

#include <windows.h>

#include <memory>

#include "AppEvnts.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "KYPForm.h"
#include "KYPMDIChildButtons.h"
#include "KYPMDIMenuSource.h"
#include "KYPMDIWindowMenu.h"
#include "KYPFrameTitleBar.h"
#include "KYPFrameWindow.h"
#include "KYPMenuBar.h"
#include "KYPMgr.h"
#include "KYPTitleBar.h"
#include "WindowSubclass.h"

class TkypMDIForm : public TComponent,
                    public IkypTitleBarFrame,
                    public IkypFormFrame,
                    public IkypMenuBarHost,
                    public TkypTitleBarProperties<TkypMDIForm>,
                    private IkypFrameSide {
public:
    // Refused with an exception unless the owner is a form; the form is
    // then left as it was.
    explicit TkypMDIForm(TComponent* owner);
    ~TkypMDIForm() override;
    void AfterConstruction() override;
    // Gives the form its caption, window procedure and client back while
    // they are whole; a form that is itself going is left alone.
    void BeforeDestruction() override;

    TkypUIStyle UIStyle() const { return m_UIStyle; }
    void SetUIStyle(TkypUIStyle style);
    // Not owned; watched.
    TkypFileTheme* FileTheme() const { return m_FileTheme.Theme(); }
    void SetFileTheme(TkypFileTheme* theme);
    // Not owned; shown by the menu bar while no child's menu takes it, its
    // shortcuts taken from every window of the program (a modeless tool
    // window too) while the form is enabled: none behind a modal box.
    TMainMenu* Menu() const;
    void SetMenu(TMainMenu* menu);
    // The bar's gradient ends; also the inner line of a built-in style and
    // the child control buttons' faces.
    TColor MenuBarColor() const;
    void SetMenuBarColor(TColor color);
    TColor MenuBarToColor() const;
    void SetMenuBarToColor(TColor color);
    TColor BorderColor() const { return m_BorderColor; }
    void SetBorderColor(TColor color);
    String Caption() const;
    void SetCaption(const String& caption);
    bool TitleBarVisible() const;
    void SetTitleBarVisible(bool visible);
    bool TitleBarDrawChildCaptions() const { return m_DrawChildCaptions; }
    void SetTitleBarDrawChildCaptions(bool draw) { m_DrawChildCaptions = draw; }
    bool TitleBarDrawChildMenus() const;
    void SetTitleBarDrawChildMenus(bool draw);
    int RoundCorner() const { return m_RoundCorner; }
    void SetRoundCorner(int size);
    int RoundCornerBottom() const { return m_RoundCornerBottom; }
    void SetRoundCornerBottom(int size);

    TForm* Form() const { return m_Form; }
    TkypTitleBar* TitleBar() const { return m_TitleBar; }
    TPanel* TopPanel() const { return m_TopPanel; }
    TkypMDIChildButtons* ControlButtons() const { return m_ControlBtns; }
    TkypMDIWindowMenu* WindowMenuEntries() const { return m_WindowMenu; }
    // Null while there is no menu to show.
    TkypMenuBar* MenuBar() const { return m_MenuShown && m_MenuBar ? m_MenuBar->Bar() : nullptr; }
    TkypMDIMenuSource* MenuSource() const { return m_MenuSource; }
    // The title bar's and the top panel's heights, each while it shows.
    int GetTitleBarHeight() const;
    // The skinned frame of the active MDI child, or null.
    TkypForm* FindActiveChildFrame() const;
    // Shows the menu that the source picks now (the active child's or the
    // frame's own); the window menu gets entries only with the frame's.
    void UpdateMenu();
    // Only while the frame's own menu shows and the form has a window
    // menu; otherwise the entries of the last rebuild stay.
    void UpdateWindowMenu();
    // The frame's own arrangement of the children that are not minimised;
    // the client's cascade and tile end in them too.
    void Cascade();
    void Tile();
    void PaintFormBorder() override;
    void UpdateFormRegion();

    // IkypTitleBarFrame
    bool IsMDIFrame() const override { return true; }
    // IkypFormFrame
    TForm* FramedForm() const override { return m_Window.FramedForm(); }
    // IkypMenuBarHost
    TWinControl* MenuBarParent() override { return m_TopPanel; }
    TkypUIStyle MenuBarStyle() const override { return m_UIStyle; }
    TkypFileTheme* MenuBarTheme() const override { return FileTheme(); }
    bool MenuBarAllowed() const override { return m_TopPanel != nullptr; }
    bool MenuBarDesigning() const override { return HasState(csDesigning); }
    void MenuBarPlaced() override;
    TMainMenu* MenuBarOwnMenu() const override { return Menu(); }

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    // IkypFrameSide
    TkypTitleBar* FrameTitleBar() const override { return m_TitleBar; }
    int FrameBorderWidth() const override { return m_BorderWidth; }
    // The shortcuts of the menu the bar shows: a child's while its menu takes the bar.
    void IsMenuShortCut(TMessage& message) override;
    bool AnswerFormMessage(TMessage& message) override;
    void AfterFormMessage(TMessage& message) override;
    // Whatever the window; a modal box of the program disables the form,
    // and no command runs behind it.
    bool JudgesKeysOf(HWND window) const override;

    void SetUp();
    void CreateMenuBar();
    void FreeMenuBar();
    void ApplySkinFile(const TkypFileTheme& theme);
    void ApplyBuiltInStyle(TkypUIStyle resolved);
    void ApplyMinWidth(const TkypFileTheme& theme);
    void ClientWindowProc(TMessage& message, const TSubclassNext& next);
    void AttachClient();
    void ShowControlButtons();
    void HideControlButtons();
    void ShowTopPanel();
    void ColorMenuRow();

    TForm* m_Form = nullptr;              // not owned: the owner
    TkypTitleBar* m_TitleBar = nullptr;   // owned as a component; forgotten at its removal
    TPanel* m_TopPanel = nullptr;         // likewise
    TkypFormMenuBar* m_MenuBar = nullptr; // likewise; holds Menu and the bar
    TkypMDIChildButtons* m_ControlBtns = nullptr;  // likewise; on the top panel
    TkypMDIWindowMenu* m_WindowMenu = nullptr;     // likewise; entries in the form's WindowMenu
    TkypMDIMenuSource* m_MenuSource = nullptr;     // likewise; holds Menu, fills the bar
    bool m_MenuShown = false;
    bool m_DrawChildCaptions = true;
    TkypFrameWindow m_Window{*this};
    std::unique_ptr<TWindowSubclass> m_Client;
    int m_HandleHook = 0;  // follows the client of a window made anew
    TkypUIStyle m_UIStyle = DeepBlue;
    TkypThemeLink m_FileTheme{this};
    TColor m_BorderColor = clBlack;
    int m_BorderWidth = 1;
    int m_RoundCorner = 0;
    int m_RoundCornerBottom = 0;
};
