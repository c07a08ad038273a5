// Loading a skin file into a theme-file component: where the file is
// looked for, what the getters answer in each state, passwords, and the
// owner form's skinned components re-reading the theme.
#include <gtest/gtest.h>

#include <vector>

#include "Bitmap.h"
#include "FileSystem.h"
#include "Forms.h"
#include "KYPMgr.h"
#include "SkinFileSupport.h"
#include "TempDir.h"
#include "TypInfo.h"

namespace {

// Stands in for the skinned classes: remembers every FileTheme it is given.
class TkypStandInSkinned : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    TkypFileTheme* FileTheme() const { return theme; }
    void SetFileTheme(TkypFileTheme* value)
    {
        theme = value;
        given.push_back(value);
    }
    TkypFileTheme* theme = nullptr;
    std::vector<TkypFileTheme*> given;
};

// A skinned form frame of its owner form.
class TkypStandInFrame : public TkypStandInSkinned, public IkypFormFrame {
public:
    using TkypStandInSkinned::TkypStandInSkinned;
    TForm* FramedForm() const override { return dynamic_cast<TForm*>(Owner()); }
};

// Gives new controls their style, but frames nothing.
class TkypStandInStyleSource : public TkypStandInSkinned, public IkypStyleSource {
public:
    using TkypStandInSkinned::TkypStandInSkinned;
    TkypUIStyle StyleForChildren() const override { return DeepBlue; }
};

// Publishes FileTheme, but is no skinned class by its name.
class StandInForeign : public TkypStandInSkinned {
public:
    using TkypStandInSkinned::TkypStandInSkinned;
};

const bool registered = RegisterProperties<TkypStandInSkinned, TGraphicControl>({
    ObjectProperty<TkypStandInSkinned, TkypFileTheme>(
        L"FileTheme", &TkypStandInSkinned::FileTheme, &TkypStandInSkinned::SetFileTheme),
});

const std::vector<TSkinRecord> kSkin{IntegerRecord("SKIN2_FORMCOLOR", 0x00336699), BitmapRecord("SKIN2_BUTTON", 6, 2, 0xFF0000),
    IntegerRecord("SKIN2_TITLEBARICONPOSX", 7), BooleanRecord("SKIN2_TITLEFIVESECT", 1)};

class ThemeLoadingTest : public testing::Test {
protected:
    TempDir dir;
    const String skin = dir.File("good.skn");
    TOwned<TForm> form = MakeOwned<TForm>(nullptr);
    TkypFileTheme* theme = New<TkypFileTheme>(form.get());
};

}  // namespace

TEST_F(ThemeLoadingTest, GettersAnswerByState)
{
    EXPECT_EQ(theme->GetColor(SKIN2_FORMCOLOR), 0);
    EXPECT_EQ(theme->GetInt(SKIN2_TITLEBARICONPOSX), 0);
    EXPECT_FALSE(theme->GetBool(SKIN2_TITLEFIVESECT));
    EXPECT_EQ(theme->GetBitmap(SKIN2_BUTTON), nullptr);

    WriteSkinFile(skin, kSkin);
    theme->SetThemeFile(skin);
    ASSERT_TRUE(theme->CanUse());
    EXPECT_TRUE(theme->Ready());
    EXPECT_EQ(theme->GetColor(SKIN2_FORMCOLOR), 0x00336699);
    EXPECT_EQ(theme->GetInt(SKIN2_TITLEBARICONPOSX), 7);
    EXPECT_TRUE(theme->GetBool(SKIN2_TITLEFIVESECT));
    ASSERT_NE(theme->GetBitmap(SKIN2_BUTTON), nullptr);
    EXPECT_EQ(theme->GetBitmap(SKIN2_BUTTON)->Width(), 6);

    EXPECT_EQ(theme->GetColor(SKIN2_MENUITEMCOLOR), -1);
    EXPECT_EQ(theme->GetInt(SKIN2_BOTTOMREGIONMAXY), -1);
    EXPECT_FALSE(theme->GetBool(SKIN2_TITLEBTNTRANS));
    EXPECT_EQ(theme->GetBitmap(SKIN2_CHECKBOX), nullptr);

    TBitmap piece;
    theme->GetBitmap2(SKIN2_BUTTON, &piece, 3, 0);
    EXPECT_EQ(piece.Width(), 6);
    theme->GetBitmap2(SKIN2_BUTTON, &piece, 3, 2);
    EXPECT_EQ(piece.Width(), 2);
    theme->GetBitmap2(SKIN2_CHECKBOX, &piece, 0, 0);
    EXPECT_EQ(piece.Width(), 0);
}

TEST_F(ThemeLoadingTest, FilesFoundNowhereChangeNothing)
{
    WriteSkinFile(skin, kSkin);
    theme->SetThemeFile(skin);
    ASSERT_TRUE(theme->CanUse());
    for (const String& value : {dir.File("missing.skn"), String(), String(L"no-such-skin-anywhere.skn")}) {
        theme->SetThemeFile(value);
        EXPECT_EQ(theme->ThemeFile(), skin);
        EXPECT_TRUE(theme->CanUse());
        EXPECT_EQ(theme->GetColor(SKIN2_FORMCOLOR), 0x00336699);
    }
    // A directory is no file.
    theme->SetThemeFile(dir.File(""));
    EXPECT_EQ(theme->ThemeFile(), skin);
}

TEST_F(ThemeLoadingTest, ABareNameIsFoundBesideTheProgramAndStoredInFull)
{
    const String name = L"quorvell-beside-test.skn";
    const String beside = ExtractFilePath(ProgramFileName()) + name;
    WriteSkinFile(beside, kSkin);
    theme->SetThemeFile(name);
    EXPECT_EQ(theme->ThemeFile(), beside);
    EXPECT_TRUE(theme->CanUse());
    theme->SetThemeFile(dir.File("quorvell-beside-test.skn"));  // a folder where it is not
    EXPECT_EQ(theme->ThemeFile(), beside);
    RemoveFile(beside);
}

TEST_F(ThemeLoadingTest, AFailedLoadDropsTheSkinThatWasLoaded)
{
    WriteSkinFile(skin, kSkin);
    theme->SetThemeFile(skin);
    const String damaged = dir.File("damaged.skn");
    WriteFileBytes(damaged, "SK this is no archive, and it is long enough");
    theme->SetThemeFile(damaged);
    EXPECT_EQ(theme->ThemeFile(), damaged);
    EXPECT_FALSE(theme->CanUse());
    EXPECT_EQ(theme->GetColor(SKIN2_FORMCOLOR), 0);
    EXPECT_EQ(theme->GetBitmap(SKIN2_BUTTON), nullptr);
}

TEST_F(ThemeLoadingTest, APasswordReloadsTheThemeFile)
{
    WriteSkinFile(skin, kSkin, "pw");
    theme->SetThemeFile(skin);
    EXPECT_FALSE(theme->CanUse());
    theme->SetPassword(L"");
    EXPECT_FALSE(theme->CanUse());
    theme->SetPassword(L"pw");
    EXPECT_EQ(theme->Password(), L"pw");
    EXPECT_TRUE(theme->CanUse());
    EXPECT_EQ(theme->GetColor(SKIN2_FORMCOLOR), 0x00336699);
}

TEST_F(ThemeLoadingTest, SkinnedComponentsOfTheFormReReadTheTheme)
{
    TkypStandInSkinned* skinned = New<TkypStandInSkinned>(form.get());
    TkypStandInSkinned* unthemed = New<TkypStandInSkinned>(form.get());
    TkypStandInSkinned* foreign = New<StandInForeign>(form.get());
    TkypStandInSkinned* frame = New<TkypStandInFrame>(form.get());
    auto* otherTheme = New<TkypFileTheme>(form.get());
    TkypStandInSkinned* elsewhere = New<TkypStandInSkinned>(form.get());
    for (TkypStandInSkinned* c : {skinned, foreign, frame}) c->SetFileTheme(theme);
    elsewhere->SetFileTheme(otherTheme);
    for (TkypStandInSkinned* c : {skinned, unthemed, foreign, frame, elsewhere}) c->given.clear();

    form->Handle();
    int frameRecomputed = 0;
    const TWndMethod previous = form->WindowProc;
    form->WindowProc = [&](TMessage& message) {
        if (message.Msg == WM_NCCALCSIZE) ++frameRecomputed;
        previous(message);
    };

    WriteSkinFile(skin, kSkin);
    theme->SetThemeFile(skin);
    const std::vector<TkypFileTheme*> reread{nullptr, theme};
    EXPECT_EQ(skinned->given, reread);
    EXPECT_EQ(frame->given, reread);
    EXPECT_TRUE(unthemed->given.empty());
    EXPECT_TRUE(foreign->given.empty());
    EXPECT_TRUE(elsewhere->given.empty());
    EXPECT_EQ(frameRecomputed, 0) << "the first theme file of a frame needs no new frame";

    theme->SetThemeFile(skin);
    EXPECT_GE(frameRecomputed, 1);

    // A failed load tells nobody.
    skinned->given.clear();
    const String damaged = dir.File("damaged.skn");
    WriteFileBytes(damaged, "SK no archive here, but long enough to look");
    theme->SetThemeFile(damaged);
    EXPECT_TRUE(skinned->given.empty());
    form->WindowProc = previous;
}

TEST_F(ThemeLoadingTest, OnlyAFrameRecomputesTheFrameAndNeverMakesAWindow)
{
    New<TkypStandInStyleSource>(form.get())->SetFileTheme(theme);
    WriteSkinFile(skin, kSkin);
    form->Handle();
    int frameRecomputed = 0;
    const TWndMethod previous = form->WindowProc;
    form->WindowProc = [&](TMessage& message) {
        if (message.Msg == WM_NCCALCSIZE) ++frameRecomputed;
        previous(message);
    };
    theme->SetThemeFile(skin);
    theme->SetThemeFile(skin);
    EXPECT_EQ(frameRecomputed, 0) << "a style source is no frame";
    form->WindowProc = previous;

    TOwned<TForm> windowless = MakeOwned<TForm>(nullptr);
    auto* other = New<TkypFileTheme>(windowless.get());
    New<TkypStandInFrame>(windowless.get())->SetFileTheme(other);
    other->SetThemeFile(skin);
    other->SetThemeFile(skin);
    EXPECT_TRUE(other->CanUse());
    EXPECT_FALSE(windowless->HandleAllocated()) << "the frame is recomputed when the window is made";
}

TEST_F(ThemeLoadingTest, AThemeOwnedByNoFormStillLoads)
{
    TOwned<TComponent> owner = MakeOwned<TComponent>(nullptr);
    auto* loose = New<TkypFileTheme>(owner.get());
    WriteSkinFile(skin, kSkin);
    loose->SetThemeFile(skin);
    EXPECT_TRUE(loose->CanUse());
}
