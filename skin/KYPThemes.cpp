#include "KYPThemes.h"

#include <windows.h>

#include <array>
#include <memory>

#include "Bitmap.h"
#include "FileSystem.h"
#include "KYP2SkinReader.h"
#include "Controls.h"
#include "Forms.h"
#include "KYPPublic.h"

namespace {

constexpr int kBuiltInStyles = 5;  // MacOS .. BlueGlass

struct TStyleRow {
    uint8_t Kind;
    std::array<intptr_t, kBuiltInStyles> Values;  // MacOS | WinXP | DeepBlue | Protein | BlueGlass
};

intptr_t Name(const wchar_t* name) { return reinterpret_cast<intptr_t>(name); }

TStyleRow Int(intptr_t a, intptr_t b, intptr_t c, intptr_t d, intptr_t e) { return {kStyleInt, {a, b, c, d, e}}; }
TStyleRow Color(intptr_t a, intptr_t b, intptr_t c, intptr_t d, intptr_t e) { return {kStyleColor, {a, b, c, d, e}}; }
TStyleRow Bool(intptr_t a, intptr_t b, intptr_t c, intptr_t d, intptr_t e) { return {kStyleBool, {a, b, c, d, e}}; }
TStyleRow Bitmap(const wchar_t* a, const wchar_t* b, const wchar_t* c, const wchar_t* d, const wchar_t* e)
{
    return {kStyleBitmap, {Name(a), Name(b), Name(c), Name(d), Name(e)}};
}

#define STYLE_BITMAP(suffix) \
    Bitmap(L"MACOS" suffix, L"WINXP" suffix, L"DEEPBLUE" suffix, L"PROTEIN" suffix, L"BLUEGLASS" suffix)

// Attributes 1 to 48 in order; colours are written $BBGGRR.
const std::array<TStyleRow, kStyleAttributeCount>& StyleTable()
{
    static const std::array<TStyleRow, kStyleAttributeCount> table{{
        /*  1 */ STYLE_BITMAP(L"_BUTTON"),
        /*  2 */ Bool(1, 0, 0, 0, 1),
        /*  3 */ STYLE_BITMAP(L"_CHECKBOX"),
        /*  4 */ STYLE_BITMAP(L"_RADIOBUTTON"),
        /*  5 */ STYLE_BITMAP(L"_TITLEBTN"),
        /*  6 */ Bool(0, 0, 0, 1, 1),
        /*  7 */ Int(3, 2, 0, 0, 4),
        /*  8 */ Int(-2, -2, 0, 0, -3),
        /*  9 */ Int(4, 5, 2, 2, 6),
        /* 10 */ STYLE_BITMAP(L"_TITLE_LEFT"),
        /* 11 */ STYLE_BITMAP(L"_TITLE_CLIENT"),
        /* 12 */ STYLE_BITMAP(L"_TITLE_RIGHT"),
        /* 13 */ Int(130, 150, 130, 130, 270),
        /* 14 */ Int(0, 13, 0, 0, 11),
        /* 15 */ Color(0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7),
        /* 16 */ Color(0x7F7F7F, 0xC82C00, 0x000000, 0x000000, 0x000000),
        /* 17 */ Int(1, 3, 1, 1, 1),
        /* 18 */ Color(0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E),
        /* 19 */ Color(0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E),
        /* 20 */ Color(0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF),
        /* 21 */ Color(0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7),
        /* 22 */ Color(0x000000, 0x000000, 0x000000, 0x000000, 0x000000),
        /* 23 */ Color(0x000000, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6),
        /* 24 */ STYLE_BITMAP(L"_PROGRESSBAR"),
        /* 25 */ Color(0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000),
        /* 26 */ Color(0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7),
        /* 27 */ Color(0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000),
        /* 28 */ STYLE_BITMAP(L"_TRACKBAR_BAR"),
        /* 29 */ STYLE_BITMAP(L"_TRACKBAR_SLIDER"),
        /* 30 */ STYLE_BITMAP(L"_TRACKBAR_SLIDER_V"),
        /* 31 */ Color(0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4),
        /* 32 */ STYLE_BITMAP(L"_SCROLLBAR_BUTTON"),
        /* 33 */ STYLE_BITMAP(L"_SCROLLBAR_TRACK"),
        /* 34 */ STYLE_BITMAP(L"_CHECKLIST"),
        /* 35 */ Color(0x474747, 0xC66931, 0x474747, 0x474747, 0x474747),
        /* 36 */ Color(0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF),
        /* 37 */ Color(0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8),
        /* 38 */ Bitmap(L"MACOS_SCROLLBUTTON", L"WINXP_SCROLLBUTTON", L"MORE_SCROLLBUTTON", L"MORE_SCROLLBUTTON",
                        L"MORE_SCROLLBUTTON"),
        /* 39 */ STYLE_BITMAP(L"_TAB"),
        /* 40 */ STYLE_BITMAP(L"_TAB_LINE"),
        /* 41 */ STYLE_BITMAP(L"_SIDECHENNEL_HANDLE"),
        /* 42 */ STYLE_BITMAP(L"_SIDECHENNEL_BAR"),
        /* 43 */ Bitmap(L"", L"", L"", L"", L""),
        /* 44 */ Color(0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF),
        /* 45 */ Bitmap(L"", L"", L"", L"", L""),
        /* 46 */ Bitmap(L"", L"", L"", L"", L""),
        /* 47 */ Int(0, 0, 0, 0, 0),
        /* 48 */ Color(0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7),
    }};
    return table;
}

#undef STYLE_BITMAP

}  // namespace

intptr_t GetStyleAttribute(TkypUIStyle style, int attr, uint8_t& kind)
{
    const int column = (style & 0x7F) - MacOS;
    // Attributes outside the table answer like an unknown style instead of
    // reading past it.
    if (column < 0 || column >= kBuiltInStyles || attr < 1 || attr > kStyleAttributeCount) {
        kind = kStyleInt;
        return -1;
    }
    const TStyleRow& row = StyleTable()[static_cast<size_t>(attr - 1)];
    kind = row.Kind;
    return row.Values[static_cast<size_t>(column)];
}

TColor GetStyleColor(TkypUIStyle style, int attr)
{
    uint8_t kind;
    const intptr_t value = GetStyleAttribute(style, attr, kind);
    return kind == kStyleColor ? static_cast<TColor>(value) : 0;
}

int32_t GetStyleInt(TkypUIStyle style, int attr)
{
    uint8_t kind;
    const intptr_t value = GetStyleAttribute(style, attr, kind);
    return kind == kStyleInt ? static_cast<int32_t>(value) : -1;
}

bool GetStyleBool(TkypUIStyle style, int attr)
{
    uint8_t kind;
    const intptr_t value = GetStyleAttribute(style, attr, kind);
    return kind == kStyleBool && value != 0;
}

const wchar_t* GetStyleBitmapName(TkypUIStyle style, int attr)
{
    uint8_t kind;
    const intptr_t value = GetStyleAttribute(style, attr, kind);
    return kind == kStyleBitmap ? reinterpret_cast<const wchar_t*>(value) : nullptr;
}

void LoadStyleBitmap(TkypUIStyle style, int attr, TBitmap* bitmap)
{
    if (!bitmap) return;
    const wchar_t* name = GetStyleBitmapName(style, attr);
    if (name) bitmap->LoadFromResourceName(GetModuleHandleW(nullptr), WideTextToString(name));
}

void GetStyleBitmap(TkypUIStyle style, int attr, TBitmap* bitmap, int spitCount, int spitIndex)
{
    if (!bitmap) return;
    if (spitCount == 0) {
        LoadStyleBitmap(style, attr, bitmap);
        return;
    }
    TBitmap strip;
    LoadStyleBitmap(style, attr, &strip);
    ExtractStripPiece(&strip, bitmap, spitCount, spitIndex);
}

TkypUIStyle DefaultStyleFor(TComponent* owner)
{
    auto* form = dynamic_cast<TForm*>(owner);
    if (!form) return DeepBlue;
    for (int i = 0; i < form->ControlCount(); ++i)
        if (auto* frame = dynamic_cast<const IkypStyleSource*>(form->Controls(i))) return frame->StyleForChildren();
    return DeepBlue;
}

TkypFileThemeMgr::TkypFileThemeMgr() = default;
TkypFileThemeMgr::~TkypFileThemeMgr() = default;

namespace {

template <class Element>
String KeyOf(Element element)
{
    const std::string_view key = Skin2Key(element);
    return String(key.begin(), key.end());
}

}  // namespace

TColor TkypFileThemeMgr::GetColor(Tsk2SkinColorElement index) const
{
    return m_FileReader ? static_cast<TColor>(m_FileReader->GetInteger(KeyOf(index))) : 0;
}

TBitmap* TkypFileThemeMgr::GetBitmap(Tsk2SkinBitmapElement index) const
{
    return m_FileReader ? m_FileReader->GetBitmap(KeyOf(index)) : nullptr;
}

int32_t TkypFileThemeMgr::GetInt(Tsk2IntElement index) const
{
    return m_FileReader ? m_FileReader->GetInteger(KeyOf(index)) : 0;
}

bool TkypFileThemeMgr::GetBool(Tsk2BoolElement index) const
{
    return m_FileReader && m_FileReader->GetBool(KeyOf(index));
}

// The old skin is dropped before the new one is read, so a failed load
// leaves nothing loaded; a file that does not exist leaves the old one.
bool TkypFileThemeMgr::LoadFromFile(const String& fileName, const String& password)
{
    if (!FileExists(fileName)) return false;
    m_FileReader.reset();
    try {
        auto reader = std::make_unique<Tsk2SkinFileReader>(fileName, password);
        if (!reader->Ready()) return false;
        m_FileReader = std::move(reader);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
