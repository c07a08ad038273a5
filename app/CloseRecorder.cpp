// quorvell_close: asks the recorder's window to close, as a user closing it
// does, so that the program saves a running recording and finishes an
// encoding before it ends (scripts/run on Ctrl+C). Returns at once: 0 when
// the window was asked, 1 when no recorder window is there.
#include <windows.h>

int wmain()
{
    const HWND window = FindWindowW(L"Quorvell.TFrmMain", nullptr);
    return window && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
}
