// The recorder's popup menu, open over a window of the recorder's
// background colour, for looking at each style:
//
//   quorvell_menu_demo [--style MacOS|WinXP|DeepBlue|Protein|BlueGlass]
//                      [--skin FILE] [--select N] [--flat] [--rtl]
//                      [--seconds S] [--capture FILE]
//
// --skin draws the menu from a skin file (a file that cannot be loaded
// gives DeepBlue, as it does for every skinned class);
// --select moves the selection down N items with the keyboard; --seconds
// closes the menu by itself (for scripted screenshots); --capture saves
// the whole screen, for the menu lies outside the window. The program ends
// when the menu closes.
#include <windows.h>

#include "DemoSupport.h"
#include "FormLoader.h"
#include "Forms.h"
#include "KYPMgr.h"
#include "KYPPopupMenu.h"
#include "RecorderMenu.h"

namespace {

// The main window's popup menu as its form description has it.
class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetBorderStyle(TFormBorderStyle::bsNone);
        SetBounds(20, 20, 420, 520);
        SetColor(15866506);
        TFormLoader load(this);
        Menu = LoadRecorderMenu(load);
        load.Finish();
    }

    TkypPopupMenu* Menu = nullptr;
};

// Moves the selection as soon as the menu shows.
void SelectDown(long count)
{
    for (long i = 0; i < count; ++i) {
        PostMessageW(PopupListWindow(), WM_KEYDOWN, VK_DOWN, 1);
        PostMessageW(PopupListWindow(), WM_KEYUP, VK_DOWN, 0xC0000001);
    }
}

}  // namespace

int wmain(int, wchar_t**)
{
    const TDemoCommandLine& line = DemoCommandLine();
    Application->Initialize();
    Application->SetTitle(L"Quorvell menu demo");
    TDemoForm* form = Application->CreateForm<TDemoForm>();
    TkypPopupMenu* menu = form->Menu;
    // The recorder's own colours are DeepBlue's with changes, which setting
    // DeepBlue again would undo.
    if (TkypFileTheme* theme = DemoTheme(form)) ApplyDemoLook(*menu, theme, FromThemeFile);
    else if (line.Style() != DeepBlue) menu->SetUIStyle(line.Style());
    menu->SetFlatMenu(line.Has(L"--flat"));
    const bool rightToLeft = line.Has(L"--rtl");
    if (rightToLeft) {
        SysLocale.MiddleEast = true;
        menu->SetBiDiMode(TBiDiMode::bdRightToLeft);
    }
    form->Show();
    Application->ProcessMessages();

    menu->OnPopup = [select = line.Number(L"--select")](TObject*) { SelectDown(select); };
    EndAsAsked(form, 1000, [](const String& file) { SaveScreen(ScreenArea(), file); });
    menu->Popup(rightToLeft ? 360 : 60, 60);
    Application->ProcessMessages();
    return 0;
}
