// A frame hands its style and theme to the children that publish both.
#include <gtest/gtest.h>

#include "Forms.h"
#include "KYPMgr.h"
#include "KYPPublicControls.h"
#include "TypInfo.h"

namespace {

class StandInThemed : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    TkypFileTheme* FileTheme() const { return theme; }
    void SetFileTheme(TkypFileTheme* value)
    {
        theme = value;
        order += "theme ";
    }
    TkypUIStyle UIStyle() const { return style; }
    void SetUIStyle(TkypUIStyle value)
    {
        style = value;
        order += "style ";
    }
    TkypFileTheme* theme = nullptr;
    TkypUIStyle style = DeepBlue;
    std::string order;
};

// Publishes only the style: left alone.
class StandInStyledOnly : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    TkypUIStyle UIStyle() const { return style; }
    void SetUIStyle(TkypUIStyle value) { style = value; }
    TkypUIStyle style = DeepBlue;
};

const bool themedRegistered = RegisterProperties<StandInThemed, TGraphicControl>({
    ObjectProperty<StandInThemed, TkypFileTheme>(L"FileTheme", &StandInThemed::FileTheme, &StandInThemed::SetFileTheme),
    OrdinalProperty<StandInThemed>(L"UIStyle", &StandInThemed::UIStyle, &StandInThemed::SetUIStyle),
});
const bool styledRegistered = RegisterProperties<StandInStyledOnly, TGraphicControl>({
    OrdinalProperty<StandInStyledOnly>(L"UIStyle", &StandInStyledOnly::UIStyle, &StandInStyledOnly::SetUIStyle),
});

}  // namespace

TEST(ApplyThemeToChildren, OnlyDirectChildrenThatPublishBothAreSetThemeFirst)
{
    auto form = MakeOwned<TForm>(nullptr);
    auto* theme = New<TkypFileTheme>(form.get());
    auto* themed = New<StandInThemed>(form.get());
    themed->SetParent(form.get());
    auto* styledOnly = New<StandInStyledOnly>(form.get());
    styledOnly->SetParent(form.get());
    auto* panel = New<TCustomPanel>(form.get());
    panel->SetParent(form.get());
    auto* grandchild = New<StandInThemed>(form.get());
    grandchild->SetParent(panel);

    ASSERT_TRUE(themedRegistered && styledRegistered);
    ASSERT_TRUE(HasProperty(themed, L"FileTheme"));
    ASSERT_TRUE(HasProperty(themed, L"UIStyle"));
    ApplyThemeToChildren(form.get(), Protein, theme);
    EXPECT_EQ(themed->theme, theme);
    EXPECT_EQ(themed->style, Protein);
    EXPECT_EQ(themed->order, "theme style ");
    EXPECT_EQ(styledOnly->style, DeepBlue);
    EXPECT_EQ(grandchild->style, DeepBlue);

    ApplyThemeToChildren(form.get(), FromThemeFile, nullptr);
    EXPECT_EQ(themed->theme, nullptr);
    EXPECT_EQ(themed->style, FromThemeFile);
    ApplyThemeToChildren(nullptr, MacOS, nullptr);
}
