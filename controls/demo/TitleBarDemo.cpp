// A form with the skinned title bar at its top: the icon, the caption and
// the buttons of one built-in style or of a skin file.
//
//   --style NAME   MacOS, WinXP, DeepBlue (default), Protein or BlueGlass
//   --skin FILE    a skin file (the style is then the file's)
//   --rtl          right-to-left caption and menu
//   --inactive     the caption of an inactive form
//   --seconds N    closes by itself after N seconds
//   --capture FILE saves what the screen shows of the form as a BMP and closes
#include <windows.h>

#include "DemoSupport.h"
#include "Forms.h"
#include "KYPMgr.h"
#include "KYPTitleBar.h"
#include "StdCtrls.h"

namespace {

class TTitleBarDemoForm : public TForm {
public:
    explicit TTitleBarDemoForm(TComponent* owner) : TForm(owner)
    {
        const TDemoCommandLine& line = DemoCommandLine();
        SetBorderStyle(TFormBorderStyle::bsNone);
        SetBounds(120, 120, 520, 220);
        SetColor(clWhite);
        SetCaption(L"Quorvell title bar");
        auto* bar = New<TkypTitleBar>(this);
        bar->SetParent(this);
        bar->SetCaption(L"Quorvell - a small skinned sound recorder");
        if (line.Has(L"--rtl")) {
            SysLocale.MiddleEast = true;
            bar->SetParentBiDiMode(false);
            bar->SetBiDiMode(TBiDiMode::bdRightToLeft);
        }
        ApplyDemoLook(*bar, DemoTheme(this), line.Style());
        bar->SetFormActive(!line.Has(L"--inactive"));
        auto* hint = New<TLabel>(this);
        hint->SetParent(this);
        hint->SetBounds(16, 60, 480, 20);
        hint->SetTransparent(true);
        hint->SetCaption(L"Drag the bar, double-click it, or use its buttons; the icon opens the system menu.");
    }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    Application->Initialize();
    Application->SetTitle(L"Quorvell title bar demo");
    TTitleBarDemoForm* form = nullptr;
    Application->CreateForm(form);
    EndAsAsked(form, 800, [form](const String& file) { SaveScreen(WindowArea(*form), file); });
    Application->Run();
    return 0;
}
