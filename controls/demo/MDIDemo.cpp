// A skinned MDI main form with three skinned children, in one built-in
// style or from a skin file.
//
//   --style NAME   MacOS, WinXP, DeepBlue (default), Protein or BlueGlass
//   --skin FILE    a skin file (the style is then the file's)
//   --cascade      children cascaded
//   --tile         children tiled
//   --maximized    the active child maximised
//   --windowmenu   the Window menu opened
//   --seconds N    closes by itself after N seconds
//   --capture FILE saves what the whole screen shows as a BMP and closes
#include <windows.h>

#include "DemoSupport.h"
#include "Forms.h"
#include "KYPForm.h"
#include "KYPMDIForm.h"
#include "KYPMainMenu.h"
#include "KYPMgr.h"
#include "StdCtrls.h"

namespace {

TkypFileTheme* theme = nullptr;  // owned by the main form

// Every frame takes the options' look.
template <class Frame>
void Style(Frame& frame)
{
    ApplyDemoLook(frame, theme, DemoCommandLine().Style());
}

class TDocument : public TForm {
public:
    TDocument(TComponent* owner, int number) : TForm(owner)
    {
        SetFormStyle(TFormStyle::fsMDIChild);
        SetBounds(20 + 30 * number, 20 + 30 * number, 300, 180);
        SetCaption(L"Recording " + std::to_wstring(number + 1));
        auto* frame = New<TkypForm>(this);
        Style(*frame);
        auto* note = New<TLabel>(this);
        note->SetParent(frame);
        note->SetBounds(16, 40, 260, 20);
        note->SetTransparent(true);
        note->SetCaption(L"Take " + std::to_wstring(number + 1) + L": 00:0" + std::to_wstring(number + 3) + L".0");
    }
};

class TMainDemo : public TForm {
public:
    explicit TMainDemo(TComponent* owner) : TForm(owner)
    {
        SetFormStyle(TFormStyle::fsMDIForm);
        SetBounds(60, 50, 720, 500);
        SetCaption(L"Quorvell recordings");
        theme = DemoTheme(this);
        frame_ = New<TkypMDIForm>(this);
        frame_->SetMenu(BuildMenu());
        Style(*frame_);
    }
    void OpenChildren()
    {
        const TDemoCommandLine& line = DemoCommandLine();
        for (int i = 0; i < 3; ++i) New<TDocument>(this, i)->Show();
        if (line.Has(L"--cascade")) Cascade();
        if (line.Has(L"--tile")) Tile();
        if (line.Has(L"--maximized") && ActiveMDIChild())
            ActiveMDIChild()->SetWindowState(TWindowState::wsMaximized);
    }
    // A click on the bar's Window button, as a user would give it.
    void OpenWindowMenu()
    {
        TkypMenuBar* bar = frame_->MenuBar();
        if (!bar || bar->ButtonCount() < 2) return;
        TToolButton* button = bar->Buttons(1);
        const TRect r = button->BoundsRect();
        PostMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.Left + 4, r.Top + 4));
        PostMessageW(bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(r.Left + 4, r.Top + 4));
    }

private:
    TMainMenu* BuildMenu()
    {
        auto* menu = New<TkypMainMenu>(this);
        TMenuItem* file = AddMenuItem(this, menu->Items(), L"&File");
        AddMenuItem(this, file, L"&New recording", ShortCut('N', scCtrl))->OnClick = [this](TObject*) {
            New<TDocument>(this, MDIChildCount())->Show();
        };
        AddMenuItem(this, file, L"-");
        AddMenuItem(this, file, L"E&xit")->OnClick = [](TObject*) { Application->Terminate(); };
        window_ = AddMenuItem(this, menu->Items(), L"&Window");
        AddMenuItem(this, window_, L"&Cascade")->OnClick = [this](TObject*) { Cascade(); };
        AddMenuItem(this, window_, L"&Tile")->OnClick = [this](TObject*) { Tile(); };
        AddMenuItem(this, window_, L"&Arrange icons")->OnClick = [this](TObject*) { ArrangeIcons(); };
        SetWindowMenu(window_);
        AddMenuItem(this, menu->Items(), L"&Help");
        return menu;
    }

    TkypMDIForm* frame_ = nullptr;  // owned by the form
    TMenuItem* window_ = nullptr;   // owned by the form
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    Application->Initialize();
    Application->SetTitle(L"Quorvell MDI demo");
    TMainDemo* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    form->OpenChildren();
    // The whole screen: a drop-down menu lies outside the main window.
    const unsigned end = EndAsAsked(form, 1500, [](const String& file) { SaveScreen(ScreenArea(), file); });
    if (DemoCommandLine().Has(L"--windowmenu")) RunOnce(form, end ? end / 2 : 750, [form] { form->OpenWindowMenu(); });
    Application->Run();
    return 0;
}
