// How a skinned menu bar draws its background and its buttons, in a
// built-in style or from a skin file. Shared by the frames that show one.
#pragma once

#include "Graphics.h"
#include "KYPMgr.h"
#include "KYPStyle.h"
#include "ToolBar.h"

class TkypMainMenu;
class TMainMenu;

// Marks a button last drawn hot or pressed (its Tag); 0 otherwise.
constexpr intptr_t kMenuBarActiveTag = 888;

struct TkypMenuBarLook {
    // The colours of hot and normal buttons.
    TkypUIStyle Style = DeepBlue;
    const TkypFileTheme* Theme = nullptr;
    // The font's source; null leaves the canvas's font as the bar set it.
    const TkypMainMenu* FontMenu = nullptr;
};

// Which of a skinned menu's font settings the bar's font takes.
enum class TkypMenuFontPart { Size, Whole };

// The bar's font from Menu when it is a TkypMainMenu (else untouched): the
// system's menu font when the menu asks for it, otherwise the menu's size
// and, for Whole, its name and charset. True when the menu gave its own.
bool TakeMenuFont(TFont& font, const TMainMenu* menu, TkypMenuFontPart part);

// MacOS stretches its menu-bar picture over Rect; another style draws a
// gradient from Color (top) to ToColor (bottom), or nothing when they are
// equal (the bar's own colour shows).
void DrawMenuBarBackground(TCanvas& canvas, const TRect& rect, TkypUIStyle style, TColor color, TColor toColor);

// Draws Button on the bar's canvas and sets its Tag to kMenuBarActiveTag
// when it is drawn hot or pressed, else to 0.
void DrawMenuBarButton(TCanvas& canvas, TToolButton& button, TCustomDrawState state, const TkypMenuBarLook& look);
