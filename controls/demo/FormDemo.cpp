// A form skinned by the form frame: its border, title bar and outline in
// one built-in style or from a skin file, with a few skinned controls.
//
//   --style NAME   MacOS, WinXP, DeepBlue (default), Protein or BlueGlass
//   --skin FILE    a skin file (the style is then the file's)
//   --maximized    starts maximised
//   --inactive     shown without being activated
//   --rtl          right-to-left caption
//   --open-menu N  opens the drop-down of the menu bar's button N (from 0)
//   --seconds N    closes by itself after N seconds
//   --capture FILE saves what the screen shows of the window (border
//                  included, with a margin of the desktop) as a BMP and closes
#include <windows.h>

#include <cstdio>

#include "DemoSupport.h"
#include "Forms.h"
#include "KYPButton.h"
#include "KYPCheckBox.h"
#include "KYPForm.h"
#include "KYPMainMenu.h"
#include "KYPMgr.h"
#include "KYPRadioButton.h"
#include "StdCtrls.h"

namespace {

constexpr int kMargin = 12;  // of the desktop around a captured window

class TFormDemo : public TForm {
public:
    explicit TFormDemo(TComponent* owner) : TForm(owner)
    {
        SetBounds(140, 120, 460, 260);
        SetCaption(L"Quorvell skinned form");
        if (line_.Has(L"--maximized")) SetWindowState(TWindowState::wsMaximized);
        frame_ = New<TkypForm>(this);
        if (RightToLeft()) {
            SysLocale.MiddleEast = true;
            SetBiDiMode(TBiDiMode::bdRightToLeft);  // the frame, its bars and controls follow the form
        }
        AddMenu();
        theme_ = DemoTheme(this);
        ApplyDemoLook(*frame_, theme_, line_.Style());
        AddControls();
        if (line_.Has(L"--inactive")) RunOnce(this, 300, [this] { ActivateAnother(); });
        if (const long index = line_.Number(L"--open-menu", -1); index >= 0)
            RunOnce(this, 500, [this, index] { OpenMenu(static_cast<int>(index)); });
    }

    // What the screen shows of the window, with a margin of the desktop,
    // and where its client area lies.
    void SaveCapture(const String& fileName)
    {
        RECT area = WindowArea(*this);
        InflateRect(&area, kMargin, kMargin);
        SaveScreen(area, fileName);
        SaveGeometry(fileName + L".txt");
    }

private:
    void AddMenu()
    {
        auto* menu = New<TkypMainMenu>(this);
        if (RightToLeft()) menu->SetBiDiMode(TBiDiMode::bdRightToLeft);
        TMenuItem* file = AddMenuItem(this, menu->Items(), L"&File");
        AddMenuItem(this, file, L"&Record", ShortCut('R', scCtrl));
        AddMenuItem(this, file, L"&Stop", ShortCut('S', scCtrl));
        AddMenuItem(this, file, L"-");
        AddMenuItem(this, file, L"E&xit")->OnClick = [](TObject*) { Application->Terminate(); };
        TMenuItem* view = AddMenuItem(this, menu->Items(), L"&View");
        AddMenuItem(this, view, L"&Maximise")->OnClick = [this](TObject*) {
            SetWindowState(TWindowState::wsMaximized);
        };
        AddMenuItem(this, view, L"&Restore")->OnClick = [this](TObject*) { SetWindowState(TWindowState::wsNormal); };
        AddMenuItem(this, menu->Items(), L"&Help");
        frame_->SetMenu(menu);
    }

    // Made once the frame has its look: a new skinned control starts in
    // the style of the frame on its form, which for a skin file is
    // FromThemeFile, and so needs the theme as well.
    void AddControls()
    {
        Place<TLabel>(20, 56, 420, 20, L"Drag the title bar, size the window by its edges, or use the buttons.");
        Place<TkypCustomButton>(20, 88, 90, 26, L"Record");
        Place<TkypCustomButton>(120, 88, 90, 26, L"Stop");
        Place<TkypCheckBox>(20, 130, 200, 20, L"Encode to MP3")->SetChecked(true);
        const wchar_t* qualities[] = {L"High", L"Middle", L"Low"};
        for (int i = 0; i < 3; ++i) Place<TkypRadioButton>(20 + i * 90, 162, 86, 20, qualities[i])->SetChecked(i == 0);
    }

    template <class T>
    T* Place(int left, int top, int width, int height, const String& caption)
    {
        auto* control = New<T>(this);
        control->SetParent(frame_);
        control->SetBounds(left, top, width, height);
        control->SetCaption(caption);
        control->SetTransparent(true);
        if constexpr (requires { control->SetFileTheme(theme_); })
            if (theme_) control->SetFileTheme(theme_);
        return control;
    }

    // A click on the button, as the user would open it; the capture timer
    // still runs inside the drop-down's menu loop.
    void OpenMenu(int index)
    {
        TkypMenuBar* bar = frame_->MenuBar();
        if (!bar || index >= bar->ButtonCount()) return;
        const TToolButton* button = bar->Buttons(index);
        const int x = button->Left() + button->Width() / 2;
        const int y = button->Top() + button->Height() / 2;
        PostMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    }

    // A one-pixel form in the screen's corner takes the activation.
    void ActivateAnother()
    {
        auto* other = New<TForm>(this);
        other->SetBorderStyle(TFormBorderStyle::bsNone);
        other->SetBounds(0, 0, 1, 1);
        other->Show();
        SetForegroundWindow(other->Handle());
    }

    // Where the client area lies in the window, for checking the borders.
    void SaveGeometry(const String& fileName)
    {
        RECT window{}, client{};
        GetWindowRect(Handle(), &window);
        GetClientRect(Handle(), &client);
        POINT origin{0, 0};
        ::ClientToScreen(Handle(), &origin);
        RECT outline{};
        TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
        if (GetWindowRgn(Handle(), region.get()) != ERROR) GetRgnBox(region.get(), &outline);
        wchar_t text[300];
        swprintf(text, 300, L"window %ld %ld %ld %ld client %ld %ld %ld %ld frame %d x %d outline %ld %ld %ld %ld\n",
                 window.left, window.top, window.right, window.bottom, origin.x - window.left, origin.y - window.top,
                 origin.x - window.left + client.right, origin.y - window.top + client.bottom, frame_->Width(),
                 frame_->Height(), outline.left, outline.top, outline.right, outline.bottom);
        if (FILE* file = _wfopen(fileName.c_str(), L"w")) {
            fputws(text, file);
            fclose(file);
        }
    }

    bool RightToLeft() const { return line_.Has(L"--rtl"); }

    const TDemoCommandLine& line_ = DemoCommandLine();
    TkypForm* frame_ = nullptr;  // owned by the form
    TkypFileTheme* theme_ = nullptr;  // owned by the form; null without a skin file
};

// A plain backdrop under the window, so that its outline shows in a picture.
void ShowBackdrop()
{
    auto* backdrop = New<TForm>(Application);
    backdrop->SetBorderStyle(TFormBorderStyle::bsNone);
    backdrop->SetColor(clTeal);
    const TRect screen = ScreenArea();
    backdrop->SetBounds(0, 0, screen.Width(), screen.Height());
    backdrop->Show();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    Application->Initialize();
    Application->SetTitle(L"Quorvell skinned form demo");
    TFormDemo* form = nullptr;
    Application->CreateForm(form);
    if (!DemoCommandLine().Capture().empty()) ShowBackdrop();
    EndAsAsked(form, 1000, [form](const String& file) { form->SaveCapture(file); });
    Application->Run();
    return 0;
}
