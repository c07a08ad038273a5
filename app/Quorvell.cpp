// The recorder program: one window, the message loop until it ends.
#include <windows.h>

#include "Forms.h"
#include "main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    Application->Initialize();
    Application->SetTitle(L"Quorvell");
    Application->CreateForm(FrmMain);
    Application->Run();
    return 0;
}
