// The recorder's popup menu, open over a window of the recorder's
// background colour, for looking at each style:
//
//   quorvell_menu_demo [--style MacOS|WinXP|DeepBlue|Protein|BlueGlass]
//                      [--skin FILE] [--select N] [--flat] [--rtl] [--seconds S]
//
// --skin draws the menu from a skin file (a file that cannot be loaded
// gives DeepBlue, as it does for every skinned class);
// --select moves the selection down N items with the keyboard; --seconds
// closes the menu by itself (for scripted screenshots). The program ends
// when the menu closes.
#include <windows.h>

#include <cwchar>

#include "FormLoader.h"
#include "Forms.h"
#include "KYPMgr.h"
#include "KYPPopupMenu.h"
#include "RecorderMenu.h"

namespace {

struct TOptions {
    TkypUIStyle style = DeepBlue;
    int select = 0;
    bool flat = false;
    bool rightToLeft = false;
    int seconds = 0;
    String skin;
};

TkypUIStyle StyleNamed(const wchar_t* name)
{
    const wchar_t* names[] = {L"FromThemeFile", L"MacOS", L"WinXP", L"DeepBlue", L"Protein", L"BlueGlass"};
    for (int i = 0; i < 6; ++i)
        if (_wcsicmp(name, names[i]) == 0) return static_cast<TkypUIStyle>(i);
    return DeepBlue;
}

TOptions ReadOptions(int argc, wchar_t** argv)
{
    TOptions options;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!wcscmp(argv[i], L"--style") && hasValue) options.style = StyleNamed(argv[++i]);
        else if (!wcscmp(argv[i], L"--skin") && hasValue) options.skin = argv[++i];
        else if (!wcscmp(argv[i], L"--select") && hasValue) options.select = _wtoi(argv[++i]);
        else if (!wcscmp(argv[i], L"--seconds") && hasValue) options.seconds = _wtoi(argv[++i]);
        else if (!wcscmp(argv[i], L"--flat")) options.flat = true;
        else if (!wcscmp(argv[i], L"--rtl")) options.rightToLeft = true;
    }
    return options;
}

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
        Theme = load.Add<TkypFileTheme>(L"theme");
        load.Finish();
    }

    TkypPopupMenu* Menu = nullptr;
    TkypFileTheme* Theme = nullptr;
};

TOptions options;

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    PostMessageW(PopupListWindow(), WM_KEYDOWN, VK_ESCAPE, 1);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    options = ReadOptions(argc, argv);
    Application->Initialize();
    Application->SetTitle(L"Quorvell menu demo");
    TDemoForm* form = Application->CreateForm<TDemoForm>();
    TkypPopupMenu* menu = form->Menu;
    if (options.style != DeepBlue) menu->SetUIStyle(options.style);
    if (!options.skin.empty()) {
        form->Theme->SetThemeFile(options.skin);
        menu->SetFileTheme(form->Theme);
        menu->SetUIStyle(FromThemeFile);
    }
    menu->SetFlatMenu(options.flat);
    if (options.rightToLeft) {
        SysLocale.MiddleEast = true;
        menu->SetBiDiMode(TBiDiMode::bdRightToLeft);
    }
    form->Show();
    Application->ProcessMessages();

    menu->OnPopup = [](TObject*) {
        for (int i = 0; i < options.select; ++i) {
            PostMessageW(PopupListWindow(), WM_KEYDOWN, VK_DOWN, 1);
            PostMessageW(PopupListWindow(), WM_KEYUP, VK_DOWN, 0xC0000001);
        }
    };
    if (options.seconds > 0) SetTimer(nullptr, 0, static_cast<UINT>(options.seconds) * 1000, CloseMenu);
    const int x = options.rightToLeft ? 360 : 60;
    menu->Popup(x, 60);
    Application->ProcessMessages();
    return 0;
}
