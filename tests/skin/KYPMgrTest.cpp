// The theme-file component before any skin file is loaded, style
// resolution, and what a skinned class does when its theme goes.
#include <gtest/gtest.h>

#include "Bitmap.h"
#include "KYPMgr.h"

namespace {

// Holds a theme the way every skinned class does.
class StandInSkinned : public TComponent {
public:
    using TComponent::TComponent;
    TkypThemeLink link{this};
    TkypUIStyle style = Protein;
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        link.Removed(component, operation, style);
    }
};

}  // namespace

TEST(FileTheme, NothingLoadedAnswersZeroNilAndFalse)
{
    auto theme = MakeOwned<TkypFileTheme>(nullptr);
    EXPECT_FALSE(theme->CanUse());
    EXPECT_EQ(theme->GetColor(SKIN2_FORMCOLOR), 0);
    EXPECT_EQ(theme->GetInt(SKIN2_TITLEBARICONPOSX), 0);
    EXPECT_FALSE(theme->GetBool(SKIN2_TITLEFIVESECT));
    EXPECT_EQ(theme->GetBitmap(SKIN2_BUTTON), nullptr);

    TBitmap buf;
    buf.SetSize(5, 5);
    theme->GetBitmap2(SKIN2_BUTTON, &buf, 3, 0);
    EXPECT_EQ(buf.Width(), 0);

    theme->SetReady(true);
    EXPECT_FALSE(theme->Ready());
    theme->SetThemeFile(L"C:\\no\\such.skn");
    EXPECT_FALSE(theme->Ready());
}

TEST(FileTheme, StyleResolution)
{
    auto theme = MakeOwned<TkypFileTheme>(nullptr);
    TkypUIStyle r;
    EXPECT_FALSE(UsesThemeFile(nullptr, FromThemeFile, r));
    EXPECT_EQ(r, DeepBlue);
    EXPECT_FALSE(UsesThemeFile(theme.get(), Protein, r));
    EXPECT_EQ(r, Protein);
    EXPECT_FALSE(UsesThemeFile(theme.get(), FromThemeFile, r));
    EXPECT_EQ(r, DeepBlue);
}

TEST(FileTheme, RemovalDropsTheReferenceAndFallsBackToDeepBlueWhateverTheOwner)
{
    auto form = MakeOwned<TComponent>(nullptr);
    auto otherForm = MakeOwned<TComponent>(nullptr);
    auto* sibling = New<StandInSkinned>(form.get());
    auto* stranger = New<StandInSkinned>(otherForm.get());
    auto* theme = New<TkypFileTheme>(form.get());
    sibling->link.Set(theme);
    stranger->link.Set(theme);

    FreeObject(theme);
    EXPECT_EQ(sibling->link.Theme(), nullptr);
    EXPECT_EQ(sibling->style, DeepBlue);
    EXPECT_EQ(stranger->link.Theme(), nullptr);
    EXPECT_EQ(stranger->style, DeepBlue);

    // A holder that goes first leaves nothing behind in the theme.
    auto* second = New<TkypFileTheme>(form.get());
    stranger->link.Set(second);
    FreeObject(stranger);
    FreeObject(second);
}
