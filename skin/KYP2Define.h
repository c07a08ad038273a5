// The element keys of skin files. The skinned classes ask a theme for an
// element by one of four enumerations; the theme turns the ordinal into
// the entry's name through one constant key table. Each list below is the
// single source of both the enumeration and its names, so the key of every
// element is its value name by construction.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#define KYP2_COLOR_ELEMENTS(X)                                                                                         \
    X(SKIN2_TRANSCOLOR) X(SKIN2_TITLEFONTCOLOR) X(SKIN2_FORMCOLOR) X(SKIN2_MENUBARSTARTCOLOR)                          \
    X(SKIN2_MENUBARENDCOLOR) X(SKIN2_TOPSELECTEDMENUCOLOR) X(SKIN2_TOPSELECTEDMENUBORDERCOLOR)                         \
    X(SKIN2_TOPSELECTEDMENUFONTCOLOR) X(SKIN2_TOPMENUFONTCOLOR) X(SKIN2_LEFTBARSTARTCOLOR) X(SKIN2_LEFTBARENDCOLOR)   \
    X(SKIN2_MENUITEMCOLOR) X(SKIN2_MENUITEMFONTCOLOR) X(SKIN2_SELECTEDMENUCOLOR) X(SKIN2_SELECTEDMENUBORDERCOLOR)     \
    X(SKIN2_SELECTEDMENUFONTCOLOR) X(SKIN2_TOOLBARSTARTCOLOR) X(SKIN2_TOOLBARENDCOLOR) X(SKIN2_TOOLBARONCOLOR)        \
    X(SKIN2_TOOLBARBORDERCOLOR) X(SKIN2_TOOLBARDOWNCOLOR) X(SKIN2_CONTROLCOLOR) X(SKIN2_CONTROLBORDERCOLOR)          \
    X(SKIN2_CONTROLFONTCOLOR) X(SKIN2_BUTTONFONTCOLOR) X(SKIN2_SCROLLBARCOLOR) X(SKIN2_TABCONTROLCOLOR)              \
    X(SKIN2_TABCONTROLBORDERCOLOR) X(SKIN2_TABCONTROLACTIVEFONTCOLOR) X(SKIN2_TABCONTROLINACTIVEFONTCOLOR)           \
    X(SKIN2_SIDECHANNELCOLOR) X(SKIN2_SIDECHANNELBORDERCOLOR)

#define KYP2_BITMAP_ELEMENTS(X)                                                                                        \
    X(SKIN2_TITLEBAR1) X(SKIN2_TITLEBAR2) X(SKIN2_TITLEBAR3) X(SKIN2_TITLEBAR4) X(SKIN2_TITLEBAR5)                     \
    X(SKIN2_FORMLEFTBORDER) X(SKIN2_FORMRIGHTBORDER) X(SKIN2_FORMBOTTOMBORDER1) X(SKIN2_FORMBOTTOMBORDER2)           \
    X(SKIN2_FORMBOTTOMBORDER3) X(SKIN2_MINIMIZEDTITLE) X(SKIN2_TITLEBUTTONS) X(SKIN2_CHECKEDMENUICON)                \
    X(SKIN2_MENUBAR) X(SKIN2_TOOLBAR) X(SKIN2_BUTTON) X(SKIN2_CHECKBOX) X(SKIN2_CHECKBOXLIST) X(SKIN2_RADIOBUTTON)   \
    X(SKIN2_PROGRESSBAR1) X(SKIN2_PROGRESSBAR2) X(SKIN2_PROGRESSBAR3) X(SKIN2_PROGRESSBAR4) X(SKIN2_TRACKBAR)        \
    X(SKIN2_TRACKBARSLIDER) X(SKIN2_TRACKBARVSLIDER) X(SKIN2_SCROLLBARUPBUTTON) X(SKIN2_SCROLLBAR)                   \
    X(SKIN2_SCROLLBARDOWNBUTTON) X(SKIN2_TABCONTROL) X(SKIN2_TABCONTROLLINE) X(SKIN2_SIDECHANNELBAR)                 \
    X(SKIN2_SIDECHANNELTITLE) X(SKIN2_SCROLLBUTTON)

#define KYP2_INT_ELEMENTS(X)                                                                                           \
    X(SKIN2_TITLEBARICONPOSX) X(SKIN2_TITLEBARICONPOSY) X(SKIN2_TITLEBARCAPTIONTOP) X(SKIN2_TITLEBARBUTTONPOSX)        \
    X(SKIN2_TITLEBARBUTTONPOSY) X(SKIN2_TITLEBARREGIONMINY) X(SKIN2_TITLEBARREGIONMAXY) X(SKIN2_BOTTOMREGIONMINY)    \
    X(SKIN2_BOTTOMREGIONMAXY)

#define KYP2_BOOL_ELEMENTS(X)                                                                                          \
    X(SKIN2_TITLEFIVESECT) X(SKIN2_BOTTOMBORDERTHREESECT) X(SKIN2_TITLEBARNEEDREGION) X(SKIN2_BOTTOMBORDERNEEDREGION) \
    X(SKIN2_TITLEBTNTRANS) X(SKIN2_BUTTONTRANS) X(SKIN2_CHECKBOXTRANS) X(SKIN2_RADIOBUTTONTRANS)                     \
    X(SKIN2_TABCONTROLTRANS)

#define KYP2_ENUM_VALUE(name) name,
#define KYP2_KEY_TEXT(name) #name,
#define KYP2_COUNT(name) +1

enum Tsk2SkinColorElement : uint8_t { KYP2_COLOR_ELEMENTS(KYP2_ENUM_VALUE) };
enum Tsk2SkinBitmapElement : uint8_t { KYP2_BITMAP_ELEMENTS(KYP2_ENUM_VALUE) };
enum Tsk2IntElement : uint8_t { KYP2_INT_ELEMENTS(KYP2_ENUM_VALUE) };
enum Tsk2BoolElement : uint8_t { KYP2_BOOL_ELEMENTS(KYP2_ENUM_VALUE) };

constexpr int kSkin2ColorCount = 0 KYP2_COLOR_ELEMENTS(KYP2_COUNT);
constexpr int kSkin2BitmapCount = 0 KYP2_BITMAP_ELEMENTS(KYP2_COUNT);
constexpr int kSkin2IntCount = 0 KYP2_INT_ELEMENTS(KYP2_COUNT);
constexpr int kSkin2BoolCount = 0 KYP2_BOOL_ELEMENTS(KYP2_COUNT);

// Where each enumeration's block starts in the key table.
constexpr int kSkin2ColorBase = 0;
constexpr int kSkin2BitmapBase = kSkin2ColorBase + kSkin2ColorCount;
constexpr int kSkin2IntBase = kSkin2BitmapBase + kSkin2BitmapCount;
constexpr int kSkin2BoolBase = kSkin2IntBase + kSkin2IntCount;
constexpr int kSkin2KeyCount = kSkin2BoolBase + kSkin2BoolCount;

// The entry names of a skin file, colours first, then bitmaps, integers
// and flags.
inline constexpr std::array<std::string_view, kSkin2KeyCount> SKIN2_KEYS{
    KYP2_COLOR_ELEMENTS(KYP2_KEY_TEXT) KYP2_BITMAP_ELEMENTS(KYP2_KEY_TEXT) KYP2_INT_ELEMENTS(KYP2_KEY_TEXT)
        KYP2_BOOL_ELEMENTS(KYP2_KEY_TEXT)};

static_assert(kSkin2ColorCount == 32 && kSkin2BitmapCount == 34 && kSkin2IntCount == 9 && kSkin2BoolCount == 9);
static_assert(kSkin2KeyCount == 84);

// The key of an element: its block's base plus the ordinal's low seven bits.
constexpr std::string_view Skin2Key(Tsk2SkinColorElement e) { return SKIN2_KEYS[kSkin2ColorBase + (e & 0x7F)]; }
constexpr std::string_view Skin2Key(Tsk2SkinBitmapElement e) { return SKIN2_KEYS[kSkin2BitmapBase + (e & 0x7F)]; }
constexpr std::string_view Skin2Key(Tsk2IntElement e) { return SKIN2_KEYS[kSkin2IntBase + (e & 0x7F)]; }
constexpr std::string_view Skin2Key(Tsk2BoolElement e) { return SKIN2_KEYS[kSkin2BoolBase + (e & 0x7F)]; }

#undef KYP2_ENUM_VALUE
#undef KYP2_KEY_TEXT
#undef KYP2_COUNT
