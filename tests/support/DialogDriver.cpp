#include "DialogDriver.h"

#include <vector>

#include "PollUntil.h"

namespace {

String WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    String text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

String ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

struct Search {
    DWORD processId;
    const String* title;
    HWND found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || ClassOf(window) != L"#32770") return TRUE;
    if (!search->title->empty() && WindowText(window) != *search->title) return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK CollectStatic(HWND window, LPARAM data)
{
    if (SameText(ClassOf(window), L"Static")) {
        const String text = WindowText(window);
        if (!text.empty()) reinterpret_cast<std::vector<String>*>(data)->push_back(text);
    }
    return TRUE;
}

// The name field of a file dialog: the edit of the name combo box of the
// newer layout, or the plain edit of the older one.
HWND FileNameField(HWND dialog)
{
    constexpr int kNameCombo = 0x47C;
    constexpr int kNameEdit = 0x480;
    if (HWND combo = GetDlgItem(dialog, kNameCombo)) {
        if (HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr)) return edit;
        return combo;
    }
    return GetDlgItem(dialog, kNameEdit);
}

}  // namespace

HWND FindDialog(DWORD processId, const String& title)
{
    Search search{processId ? processId : GetCurrentProcessId(), &title};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialog(DWORD processId, const String& title, DWORD timeoutMs)
{
    HWND found = nullptr;
    PollUntil([&] { return (found = FindDialog(processId, title)) != nullptr; }, timeoutMs, 50);
    return found;
}

String DialogTitle(HWND dialog) { return WindowText(dialog); }

String DialogText(HWND dialog)
{
    std::vector<String> texts;
    EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&texts));
    String joined;
    for (const String& text : texts) joined += (joined.empty() ? L"" : L"\n") + text;
    return joined;
}

void PressDialogButton(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void AcceptFileDialog(HWND dialog, const String& fileName)
{
    SendMessageW(FileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fileName.c_str()));
    PressDialogButton(dialog, IDOK);
}
