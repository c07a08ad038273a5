// A form with the skinned title bar at its top: the icon, the caption and
// the buttons of one built-in style or of a skin file.
//
//   --style NAME   MacOS, WinXP, DeepBlue (default), Protein or BlueGlass
//   --skin FILE    a skin file (the style is then the file's)
//   --rtl          right-to-left caption and menu
//   --inactive     the caption of an inactive form
//   --seconds N    closes by itself after N seconds
//   --capture FILE saves a picture of the form as a BMP file and closes
#include <windows.h>

#include <cwchar>

#include "DemoStyle.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "KYPMgr.h"
#include "KYPTitleBar.h"
#include "StdCtrls.h"

namespace {

struct TOptions {
    TkypUIStyle Style = DeepBlue;
    String Skin;
    bool RightToLeft = false;
    bool Inactive = false;
    unsigned Seconds = 0;
    String Capture;
};

TOptions OptionsFromCommandLine(int argc, wchar_t** argv)
{
    TOptions options;
    for (int i = 1; i < argc; ++i) {
        const String arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == L"--style" && hasValue)
            options.Style = StyleNamed(argv[++i]);
        else if (arg == L"--skin" && hasValue)
            options.Skin = argv[++i];
        else if (arg == L"--seconds" && hasValue)
            options.Seconds = static_cast<unsigned>(std::wcstoul(argv[++i], nullptr, 10));
        else if (arg == L"--capture" && hasValue)
            options.Capture = argv[++i];
        else if (arg == L"--rtl")
            options.RightToLeft = true;
        else if (arg == L"--inactive")
            options.Inactive = true;
    }
    return options;
}

TOptions options;

class TTitleBarDemoForm : public TForm {
public:
    explicit TTitleBarDemoForm(TComponent* owner) : TForm(owner)
    {
        SetBorderStyle(TFormBorderStyle::bsNone);
        SetBounds(120, 120, 520, 220);
        SetColor(clWhite);
        SetCaption(L"Quorvell title bar");
        bar_ = New<TkypTitleBar>(this);
        bar_->SetParent(this);
        bar_->SetCaption(L"Quorvell - a small skinned sound recorder");
        if (options.RightToLeft) {
            SysLocale.MiddleEast = true;
            bar_->SetParentBiDiMode(false);
            bar_->SetBiDiMode(TBiDiMode::bdRightToLeft);
        }
        if (!options.Skin.empty()) {
            auto* theme = New<TkypFileTheme>(this);
            theme->SetThemeFile(options.Skin);
            bar_->SetFileTheme(theme);
            bar_->SetUIStyle(FromThemeFile);
        } else {
            bar_->SetUIStyle(options.Style);
        }
        bar_->SetFormActive(!options.Inactive);
        auto* hint = New<TLabel>(this);
        hint->SetParent(this);
        hint->SetBounds(16, 60, 480, 20);
        hint->SetTransparent(true);
        hint->SetCaption(L"Drag the bar, double-click it, or use its buttons; the icon opens the system menu.");
        closer_ = New<TTimer>(this);
        closer_->SetEnabled(false);
        closer_->SetOnTimer([this](TObject*) { Finish(); });
    }

    void CloseAfter(unsigned milliseconds, const String& capture)
    {
        capture_ = capture;
        closer_->SetInterval(milliseconds);
        closer_->SetEnabled(true);
    }

private:
    void Finish()
    {
        closer_->SetEnabled(false);
        if (!capture_.empty()) {
            TBitmap picture;
            picture.SetSize(Width(), Height());
            PrintWindow(Handle(), picture.Canvas().Handle(), 0);
            picture.SaveToFile(capture_);
        }
        Application->Terminate();
    }

    TkypTitleBar* bar_ = nullptr;  // owned by the form
    TTimer* closer_ = nullptr;     // owned by the form
    String capture_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    Application->Initialize();
    Application->SetTitle(L"Quorvell title bar demo");
    options = OptionsFromCommandLine(__argc, __wargv);
    TTitleBarDemoForm* form = nullptr;
    Application->CreateForm(form);
    if (!options.Capture.empty())
        form->CloseAfter(800, options.Capture);
    else if (options.Seconds)
        form->CloseAfter(options.Seconds * 1000, L"");
    Application->Run();
    return 0;
}
