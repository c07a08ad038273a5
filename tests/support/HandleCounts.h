// Live GDI objects and icons of this process, counted by asking about every
// handle value the system can hand out (Wine's GetGuiResources answers 0).
// A handle whose high word is 0 names its slot whatever its generation.
#pragma once

#include <windows.h>

inline int CountGdiObjects()
{
    int count = 0;
    for (UINT_PTR value = 1; value < 0x10000; ++value)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(value))) ++count;
    return count;
}

// Icons and cursors; the bitmaps each question makes are freed at once.
inline int CountIconHandles()
{
    int count = 0;
    for (UINT_PTR value = 0x20; value < 0x10000; value += 2) {
        ICONINFO info{};
        if (!GetIconInfo(reinterpret_cast<HICON>(value), &info)) continue;
        ++count;
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
    return count;
}

inline int CountThreadWindows()
{
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM counter) {
            int& total = *reinterpret_cast<int*>(counter);
            ++total;
            EnumChildWindows(
                window, [](HWND, LPARAM inner) { return ++*reinterpret_cast<int*>(inner), TRUE; }, counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}
