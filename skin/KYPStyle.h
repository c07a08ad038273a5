// The style of every skinned class: one of five built-in looks, or the
// loaded skin file.
#pragma once

#include <cstdint>

enum TkypUIStyle : uint8_t { FromThemeFile, MacOS, WinXP, DeepBlue, Protein, BlueGlass };
