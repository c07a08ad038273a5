// The style of every skinned class: one of five built-in looks, or the
// loaded skin file.
#pragma once

#include <cstdint>

enum TkypUIStyle : uint8_t { FromThemeFile, MacOS, WinXP, DeepBlue, Protein, BlueGlass };

// The attributes that the skinned classes read, by what they hold; the
// value is the attribute's number. Read each through the getter of its
// kind (KYPThemes.h), as the comment gives it.
enum class TkypStyleAttr : int {
    ButtonStrip = 1,              // bitmap: the push button's 3 pieces
    CheckBoxStrip = 3,            // bitmap: the check box's 4 glyphs
    RadioButtonStrip = 4,         // bitmap: the radio button's 4 glyphs
    TitleButtonStrip = 5,         // bitmap: the title buttons' 18 pieces
    TitleButtonsTransparent = 6,  // flag
    TitleLeftOffset = 7,          // integer: icon and caption inset
    TitleRightOffset = 8,         // integer: button row inset
    TitleButtonTop = 9,           // integer
    TitleLeft = 10,               // bitmap: the left title section
    TitleClient = 11,             // bitmap: the stretched middle section
    TitleRight = 12,              // bitmap: the right title section
    FormMinWidth = 13,            // integer
    RoundCorner = 14,             // integer
    FormColor = 15,               // colour; also the flat menu border
    BorderColor = 16,             // colour
    BorderWidth = 17,             // integer
    SelectedMenuBorder = 18,      // colour
    SelectedMenuFill = 19,        // colour
    SelectedMenuFont = 20,        // colour
    MenuItemFill = 21,            // colour
    MenuItemFont = 22,            // colour
    MenuSideBar = 23,             // colour
};
