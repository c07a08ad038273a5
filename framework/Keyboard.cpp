#include "Keyboard.h"

#include <cwctype>

bool IsAccel(UINT key, const String& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        ++i;  // the marked character, or the second "&" of a literal one
        if (caption[i] == L'&') continue;
        return std::towupper(caption[i]) == std::towupper(static_cast<wint_t>(key));
    }
    return false;
}

TShiftState KeyDataToShiftState(LPARAM keyData)
{
    constexpr LPARAM kAltMask = 0x20000000;
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    if (keyData & kAltMask) shift |= ssAlt;
    return shift;
}

bool IsDialogKey(WORD key) { return key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_CANCEL; }
