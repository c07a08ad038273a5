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
//   --capture FILE saves what the screen shows of the main window as a BMP and closes
#include <windows.h>

#include <cwchar>

#include "DemoStyle.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "KYPForm.h"
#include "KYPMDIForm.h"
#include "KYPMainMenu.h"
#include "KYPMgr.h"
#include "StdCtrls.h"

namespace {

struct TOptions {
    TkypUIStyle Style = DeepBlue;
    String Skin;
    bool Cascade = false, Tile = false, Maximized = false, WindowMenu = false;
    unsigned Seconds = 0;
    String Capture;
};

TOptions options;
TkypFileTheme* theme = nullptr;  // owned by the main form

TOptions OptionsFromCommandLine(int argc, wchar_t** argv)
{
    TOptions o;
    for (int i = 1; i < argc; ++i) {
        const String arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == L"--style" && hasValue) o.Style = StyleNamed(argv[++i]);
        else if (arg == L"--skin" && hasValue) o.Skin = argv[++i];
        else if (arg == L"--seconds" && hasValue) o.Seconds = static_cast<unsigned>(std::wcstoul(argv[++i], nullptr, 10));
        else if (arg == L"--capture" && hasValue) o.Capture = argv[++i];
        else if (arg == L"--cascade") o.Cascade = true;
        else if (arg == L"--tile") o.Tile = true;
        else if (arg == L"--maximized") o.Maximized = true;
        else if (arg == L"--windowmenu") o.WindowMenu = true;
    }
    return o;
}

// Every frame takes the options' look.
template <class Frame>
void Style(Frame& frame)
{
    if (theme) {
        frame.SetFileTheme(theme);
        frame.SetUIStyle(FromThemeFile);
    } else {
        frame.SetUIStyle(options.Style);
    }
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
        if (!options.Skin.empty()) {
            theme = New<TkypFileTheme>(this);
            theme->SetThemeFile(options.Skin);
        }
        frame_ = New<TkypMDIForm>(this);
        frame_->SetMenu(BuildMenu());
        Style(*frame_);
        closer_ = New<TTimer>(this);
        closer_->SetEnabled(false);
        closer_->SetOnTimer([this](TObject*) { Finish(); });
    }
    void OpenChildren()
    {
        for (int i = 0; i < 3; ++i) New<TDocument>(this, i)->Show();
        if (options.Cascade) Cascade();
        if (options.Tile) Tile();
        if (options.Maximized && ActiveMDIChild()) ActiveMDIChild()->SetWindowState(TWindowState::wsMaximized);
    }
    void CloseAfter(unsigned milliseconds, const String& capture)
    {
        capture_ = capture;
        closer_->SetInterval(milliseconds);
        closer_->SetEnabled(true);
        if (options.WindowMenu) {
            auto* opener = New<TTimer>(this);
            opener->SetInterval(milliseconds / 2);
            opener->SetOnTimer([this, opener](TObject*) {
                opener->SetEnabled(false);
                OpenWindowMenu();
            });
        }
    }

private:
    TMenuItem* Item(TMenuItem* parent, const String& caption, TShortCut shortCut = scNone)
    {
        auto* item = New<TMenuItem>(this);
        item->SetCaption(caption);
        item->SetShortCut(shortCut);
        parent->Add(item);
        return item;
    }
    TMainMenu* BuildMenu()
    {
        auto* menu = New<TkypMainMenu>(this);
        TMenuItem* file = Item(menu->Items(), L"&File");
        Item(file, L"&New recording", ShortCut('N', scCtrl))->OnClick = [this](TObject*) {
            New<TDocument>(this, MDIChildCount())->Show();
        };
        Item(file, L"-");
        Item(file, L"E&xit")->OnClick = [](TObject*) { Application->Terminate(); };
        window_ = Item(menu->Items(), L"&Window");
        Item(window_, L"&Cascade")->OnClick = [this](TObject*) { Cascade(); };
        Item(window_, L"&Tile")->OnClick = [this](TObject*) { Tile(); };
        Item(window_, L"&Arrange icons")->OnClick = [this](TObject*) { ArrangeIcons(); };
        SetWindowMenu(window_);
        Item(menu->Items(), L"&Help");
        return menu;
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
    void Finish()
    {
        closer_->SetEnabled(false);
        if (!capture_.empty()) SaveScreen();
        Application->Terminate();
    }
    // The whole screen: a drop-down menu lies outside the main window.
    void SaveScreen()
    {
        TBitmap picture;
        picture.SetSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        HDC screen = GetDC(nullptr);
        BitBlt(picture.Canvas().Handle(), 0, 0, picture.Width(), picture.Height(), screen, 0, 0, SRCCOPY);
        ReleaseDC(nullptr, screen);
        picture.SaveToFile(capture_);
    }

    TkypMDIForm* frame_ = nullptr;  // owned by the form
    TMenuItem* window_ = nullptr;   // owned by the form
    TTimer* closer_ = nullptr;      // owned by the form
    String capture_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    Application->Initialize();
    Application->SetTitle(L"Quorvell MDI demo");
    options = OptionsFromCommandLine(__argc, __wargv);
    TMainDemo* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    form->OpenChildren();
    if (!options.Capture.empty())
        form->CloseAfter(1500, options.Capture);
    else if (options.Seconds)
        form->CloseAfter(options.Seconds * 1000, L"");
    Application->Run();
    return 0;
}
