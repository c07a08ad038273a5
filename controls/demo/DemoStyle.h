// The demos' --style option: a built-in style by name, any letter case;
// an unknown name gives DeepBlue.
#pragma once

#include <cwchar>
#include <utility>

#include "KYPStyle.h"

inline TkypUIStyle StyleNamed(const wchar_t* name)
{
    const std::pair<const wchar_t*, TkypUIStyle> styles[] = {
        {L"MacOS", MacOS}, {L"WinXP", WinXP}, {L"DeepBlue", DeepBlue}, {L"Protein", Protein}, {L"BlueGlass", BlueGlass}};
    for (const auto& [text, style] : styles)
        if (_wcsicmp(text, name) == 0) return style;
    return DeepBlue;
}
