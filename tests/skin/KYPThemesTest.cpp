// The built-in style tables, their typed readers and the default style.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

#include "Bitmap.h"
#include "Controls.h"
#include "Forms.h"
#include "KYPThemes.h"

TEST(StyleTables, ReadersAnswerTheirFallbackForOtherKindsAndUnknownStyles)
{
    EXPECT_EQ(GetStyleInt(FromThemeFile, 9), -1);
    EXPECT_EQ(GetStyleColor(FromThemeFile, 15), 0);
    EXPECT_FALSE(GetStyleBool(FromThemeFile, 6));
    EXPECT_EQ(GetStyleInt(MacOS, 15), -1);
    EXPECT_EQ(GetStyleColor(WinXP, 9), 0);
    EXPECT_EQ(GetStyleInt(static_cast<TkypUIStyle>(6), 9), -1);
    // Outside 1 to 48 is no attribute at all.
    EXPECT_EQ(GetStyleInt(DeepBlue, 0), -1);
    EXPECT_EQ(GetStyleInt(DeepBlue, 49), -1);
    EXPECT_EQ(GetStyleBitmapName(DeepBlue, 2), nullptr);
}

TEST(StyleTables, ValuesOfTheFiveStyles)
{
    EXPECT_EQ(GetStyleInt(BlueGlass, 8), -3);
    EXPECT_EQ(GetStyleColor(WinXP, 16), 0xC82C00);
    EXPECT_EQ(GetStyleInt(BlueGlass, 13), 270);
    EXPECT_EQ(GetStyleColor(DeepBlue, 18), 0xA04A44);
    EXPECT_TRUE(GetStyleBool(Protein, 6));
    EXPECT_FALSE(GetStyleBool(DeepBlue, 6));
    // The top bit of the style byte is ignored.
    EXPECT_EQ(GetStyleColor(static_cast<TkypUIStyle>(128 + 3), 18), 0xA04A44);
    EXPECT_STREQ(GetStyleBitmapName(Protein, 1), L"PROTEIN_BUTTON");
    EXPECT_STREQ(GetStyleBitmapName(DeepBlue, 38), L"MORE_SCROLLBUTTON");
    EXPECT_STREQ(GetStyleBitmapName(WinXP, 38), L"WINXP_SCROLLBUTTON");
    EXPECT_STREQ(GetStyleBitmapName(MacOS, 45), L"");
}

TEST(StyleTables, EveryNamedBitmapIsAResourceOfTheProgram)
{
    for (int style = MacOS; style <= BlueGlass; ++style)
        for (int attr = 1; attr <= kStyleAttributeCount; ++attr) {
            const wchar_t* name = GetStyleBitmapName(static_cast<TkypUIStyle>(style), attr);
            if (!name || !*name) continue;
            TBitmap bitmap;
            EXPECT_NO_THROW(LoadStyleBitmap(static_cast<TkypUIStyle>(style), attr, &bitmap)) << ToUtf8(name);
            EXPECT_GT(bitmap.Width(), 0) << ToUtf8(name);
        }
}

TEST(StyleTables, StripPiecesAndWholeImages)
{
    TBitmap b;
    GetStyleBitmap(DeepBlue, 1, &b, 3, 2);
    EXPECT_EQ(b.Width(), 74);
    EXPECT_EQ(b.Height(), 21);
    GetStyleBitmap(DeepBlue, 1, &b, 0, 0);
    EXPECT_EQ(b.Width(), 222);

    GetStyleBitmap(FromThemeFile, 1, &b, 0, 0);
    EXPECT_EQ(b.Width(), 222);  // untouched
    GetStyleBitmap(FromThemeFile, 1, &b, 3, 1);
    EXPECT_EQ(b.Width(), 0);
    GetStyleBitmap(DeepBlue, 1, nullptr, 3, 1);
}

namespace {

class StandInFrame : public TGraphicControl, public IkypStyleSource {
public:
    using TGraphicControl::TGraphicControl;
    TkypUIStyle StyleForChildren() const override { return Protein; }
};

}  // namespace

TEST(StyleTables, NewControlsTakeTheStyleOfTheFormsSkinnedFrame)
{
    EXPECT_EQ(DefaultStyleFor(nullptr), DeepBlue);
    auto owner = MakeOwned<TComponent>(nullptr);
    EXPECT_EQ(DefaultStyleFor(owner.get()), DeepBlue);

    auto form = MakeOwned<TForm>(nullptr);
    EXPECT_EQ(DefaultStyleFor(form.get()), DeepBlue);
    auto* frame = New<StandInFrame>(form.get());
    frame->SetParent(form.get());
    EXPECT_EQ(DefaultStyleFor(form.get()), Protein);
}

TEST(StyleTables, PicturesThatClassesLoadHaveTheirFixedSizes)
{
    struct Size {
        int attr;
        int w[5];
        int h[5];
    } sizes[] = {
        {1, {252, 54, 222, 222, 231}, {23, 21, 21, 21, 27}},
        {3, {60, 52, 52, 52, 52}, {17, 13, 13, 13, 13}},
        {4, {64, 52, 52, 52, 52}, {17, 13, 13, 13, 13}},
        {5, {306, 378, 342, 342, 342}, {17, 21, 19, 19, 19}},
        {10, {48, 35, 97, 441, 162}, {23, 29, 32, 23, 33}},
        {11, {49, 37, 98, 1, 179}, {23, 29, 32, 23, 33}},
        {12, {48, 35, 97, 1, 101}, {23, 29, 32, 23, 33}},
    };
    for (const Size& s : sizes)
        for (int i = 0; i < 5; ++i) {
            TBitmap bitmap;
            LoadStyleBitmap(static_cast<TkypUIStyle>(MacOS + i), s.attr, &bitmap);
            EXPECT_EQ(bitmap.Width(), s.w[i]) << "attribute " << s.attr << " style " << i + 1;
            EXPECT_EQ(bitmap.Height(), s.h[i]) << "attribute " << s.attr << " style " << i + 1;
        }
    for (const wchar_t* name : {L"MENU_CHECKED", L"MACOS_MENU_BAR", L"MACOS_MENU_SELECT", L"MDI_CONTROL_BUTTON",
             L"MACOS_FORM_BACKGROUND", L"PROTEIN_FORM_BACKGROUND"}) {
        TBitmap bitmap;
        EXPECT_NO_THROW(bitmap.LoadFromResourceName(GetModuleHandleW(nullptr), name)) << ToUtf8(name);
        EXPECT_FALSE(bitmap.Empty()) << ToUtf8(name);
    }
}

TEST(StyleTables, EachNamedAttributeIsOfTheKindItsNameSays)
{
    using A = TkypStyleAttr;
    const std::pair<A, uint8_t> named[] = {{A::ButtonStrip, kStyleBitmap}, {A::CheckBoxStrip, kStyleBitmap},
        {A::RadioButtonStrip, kStyleBitmap}, {A::TitleButtonStrip, kStyleBitmap},
        {A::TitleButtonsTransparent, kStyleBool}, {A::TitleLeftOffset, kStyleInt}, {A::TitleRightOffset, kStyleInt},
        {A::TitleButtonTop, kStyleInt}, {A::TitleLeft, kStyleBitmap}, {A::TitleClient, kStyleBitmap},
        {A::TitleRight, kStyleBitmap}, {A::FormMinWidth, kStyleInt}, {A::RoundCorner, kStyleInt},
        {A::FormColor, kStyleColor}, {A::BorderColor, kStyleColor}, {A::BorderWidth, kStyleInt},
        {A::SelectedMenuBorder, kStyleColor}, {A::SelectedMenuFill, kStyleColor}, {A::SelectedMenuFont, kStyleColor},
        {A::MenuItemFill, kStyleColor}, {A::MenuItemFont, kStyleColor}, {A::MenuSideBar, kStyleColor}};
    for (const auto& [attr, expected] : named) {
        uint8_t kind = 99;
        GetStyleAttribute(DeepBlue, static_cast<int>(attr), kind);
        EXPECT_EQ(kind, expected) << "attribute " << static_cast<int>(attr);
    }
    // The typed getters read the numbered attribute.
    EXPECT_EQ(GetStyleColor(WinXP, A::BorderColor), 0xC82C00);
    EXPECT_EQ(GetStyleInt(BlueGlass, A::TitleRightOffset), -3);
    EXPECT_TRUE(GetStyleBool(Protein, A::TitleButtonsTransparent));
}
