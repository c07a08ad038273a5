// The skinned check box and radio button: toggling by mouse, keys and
// accelerators, OnClick per change, the group rule, the radio-group focus
// rule, auto-size and the glyph pieces in both reading orders.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "KYPCheckBox.h"
#include "KYPRadioButton.h"
#include "KYPThemes.h"
#include "WindowHarness.h"

namespace {

class TPlainControl : public TCustomControl {
public:
    explicit TPlainControl(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
};

TOwned<TBitmap> StylePiece(TkypUIStyle style, int attr, int piece)
{
    auto bitmap = MakeOwned<TBitmap>();
    GetStyleBitmap(style, attr, bitmap.get(), 4, piece);
    return bitmap;
}

// Whether Face shows Piece, pixel for pixel, with its corner at (Left, Top).
bool ShowsAt(TBitmap& face, TBitmap& piece, int left, int top)
{
    for (int y = 0; y < piece.Height(); ++y)
        for (int x = 0; x < piece.Width(); ++x)
            if (face.Canvas().Pixels(left + x, top + y) != piece.Canvas().Pixels(x, y)) return false;
    return true;
}

// Pixels that differ between two snapshots of one control.
int Differences(TBitmap& a, TBitmap& b)
{
    int count = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) count += a.Canvas().Pixels(x, y) != b.Canvas().Pixels(x, y);
    return count;
}

class CheckBoxTest : public WindowHarness {
protected:
    TkypCheckBox* AddCheckBox(const String& caption = L"&Loud")
    {
        auto* box = New<TkypCheckBox>(form.get());
        box->SetParent(form.get());
        box->SetLeft(10);
        box->SetTop(10);
        box->SetCaption(caption);
        box->OnClick = [this, box](TObject*) { changes.push_back(box->Checked()); };
        return box;
    }
    TkypRadioButton* AddRadio(TWinControl* parent, int top, int group = 0)
    {
        auto* radio = Add<TkypRadioButton>(10, top, 80, 20, parent);
        radio->SetGroupIndex(group);
        return radio;
    }
    std::vector<bool> changes;
};

TEST_F(CheckBoxTest, TogglesOnClickSpaceEnterAndItsAcceleratorAndReportsEachChange)
{
    auto* plain = Add<TPlainControl>(200, 10, 30, 30);
    auto* box = AddCheckBox();
    ShowForm();

    Press(box);
    EXPECT_TRUE(box->Focused());
    Release(box);
    Type(box, VK_SPACE);
    Type(box, VK_RETURN);
    plain->SetFocus();
    Post(plain, WM_CHAR, 'l', 1);  // no Alt needed
    EXPECT_TRUE(box->Focused());
    EXPECT_EQ(changes, (std::vector<bool>{true, false, true, false}));

    // A double click is two clicks.
    Press(box);
    Release(box);
    Post(box, WM_LBUTTONDBLCLK, MK_LBUTTON, At(3, 3));
    Release(box);
    EXPECT_EQ(changes.size(), 6u);
    EXPECT_FALSE(box->Checked());
}

TEST_F(CheckBoxTest, CheckedAndStateFireOnlyOnAChangeAndNotWhileLoading)
{
    auto* box = AddCheckBox();
    box->SetChecked(false);
    EXPECT_TRUE(changes.empty());
    box->SetState(TCheckBoxState::cbChecked);
    EXPECT_EQ(box->State(), TCheckBoxState::cbChecked);
    box->SetState(TCheckBoxState::cbGrayed);
    EXPECT_EQ(box->State(), TCheckBoxState::cbUnchecked);
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));

    box->BeginLoading();
    box->SetChecked(true);
    box->EndLoading();
    EXPECT_EQ(changes.size(), 2u);
    EXPECT_TRUE(box->Checked());
}

TEST_F(CheckBoxTest, AutoSizeFollowsGlyphAndCaptionAtThePaint)
{
    auto* box = AddCheckBox(L"Quality");
    EXPECT_EQ(box->Width(), 93);
    EXPECT_EQ(box->Height(), 17);
    ShowForm();
    auto glyph = StylePiece(DeepBlue, 3, 1);
    TBitmap measure;
    measure.Canvas().Font().Assign(&box->Font());
    const int textHeight = measure.Canvas().TextHeight(L"W");
    EXPECT_EQ(box->Width(), glyph->Width() + 8 + measure.Canvas().TextWidth(L"Quality"));
    EXPECT_EQ(box->Height(), std::max(glyph->Height(), textHeight + 2) + 4);

    box->SetAutoSize(false);
    box->SetWidth(150);
    EXPECT_EQ(box->Width(), 150);
}

TEST_F(CheckBoxTest, TheGlyphPieceFollowsCheckedAndEnabledInBothReadingOrders)
{
    auto* box = AddCheckBox(L"");
    box->SetUIStyle(WinXP);
    ShowForm();
    Snapshot(box);  // the first paint sizes it
    const int glyphWidth = StylePiece(WinXP, 3, 1)->Width();
    const int glyphTop = (box->ClientHeight() - StylePiece(WinXP, 3, 1)->Height()) / 2;

    EXPECT_TRUE(ShowsAt(*Snapshot(box), *StylePiece(WinXP, 3, 2), 1, glyphTop));
    box->SetChecked(true);
    EXPECT_TRUE(ShowsAt(*Snapshot(box), *StylePiece(WinXP, 3, 1), 1, glyphTop));
    box->SetEnabled(false);
    EXPECT_TRUE(ShowsAt(*Snapshot(box), *StylePiece(WinXP, 3, 3), 1, glyphTop));
    box->SetChecked(false);
    EXPECT_TRUE(ShowsAt(*Snapshot(box), *StylePiece(WinXP, 3, 4), 1, glyphTop));

    box->SetAutoSize(false);
    box->SetWidth(60);
    box->SetBiDiMode(TBiDiMode::bdRightToLeft);
    EXPECT_TRUE(ShowsAt(*Snapshot(box), *StylePiece(WinXP, 3, 4), 1, glyphTop));  // needs the locale too
    const TSysLocale saved = SysLocale;
    SysLocale.MiddleEast = true;
    EXPECT_TRUE(ShowsAt(*Snapshot(box), *StylePiece(WinXP, 3, 4), 60 - glyphWidth - 1, glyphTop));
    SysLocale = saved;
}

// The recorder's quality buttons have no caption: focused, they must not
// frame an empty patch beside the glyph.
TEST_F(CheckBoxTest, TheFocusRectangleSurroundsACaptionAndNothingElse)
{
    auto* captioned = AddCheckBox(L"&Loud");
    auto* bare = AddCheckBox(L"");
    bare->SetTop(40);
    auto* radio = AddRadio(form.get(), 70);
    radio->SetUIStyle(WinXP);
    radio->SetTransparent(true);
    radio->SetChecked(true);
    ShowForm();
    for (TkypCheckBox* box : {captioned, bare, static_cast<TkypCheckBox*>(radio)}) {
        Snapshot(box);  // the first paint sizes it
        auto unfocused = Snapshot(box);
        box->SetFocus();
        ASSERT_TRUE(box->Focused());
        const int changed = Differences(*unfocused, *Snapshot(box));
        if (box == captioned)
            EXPECT_GT(changed, 10);
        else
            EXPECT_EQ(changed, 0) << (box == bare ? "check box" : "radio button");
    }
}

TEST_F(CheckBoxTest, ARemovedThemeOfAnotherOwnerFallsBackToDeepBlue)
{
    auto* box = AddCheckBox();
    TOwned<TkypFileTheme> theme = MakeOwned<TkypFileTheme>(nullptr);
    box->SetFileTheme(theme.get());
    box->SetUIStyle(Protein);
    theme.reset();
    EXPECT_EQ(box->FileTheme(), nullptr);
    EXPECT_EQ(box->UIStyle(), DeepBlue);
}

TEST_F(CheckBoxTest, ARadioButtonUnchecksItsGroupBeforeItsOnClick)
{
    auto* first = AddRadio(form.get(), 10);
    auto* second = AddRadio(form.get(), 40);
    auto* otherGroup = AddRadio(form.get(), 70, 1);
    auto* panel = Add<TPanel>(150, 10, 120, 80);
    auto* elsewhere = AddRadio(panel, 10);
    first->SetChecked(true);
    otherGroup->SetChecked(true);
    elsewhere->SetChecked(true);
    int clicks = 0;
    second->OnClick = [&](TObject*) {
        ++clicks;
        EXPECT_FALSE(first->Checked());
    };
    ShowForm();

    Press(second);
    Release(second);
    Press(second);
    Release(second);  // already checked: nothing
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(second->Checked());
    EXPECT_TRUE(otherGroup->Checked());
    EXPECT_TRUE(elsewhere->Checked());

    // Unchecking from code leaves the whole group unchecked.
    second->SetChecked(false);
    EXPECT_FALSE(first->Checked());
    EXPECT_EQ(clicks, 1);
}

TEST_F(CheckBoxTest, ARadioButtonIgnoresSpaceAndEnterButTakesItsAcceleratorAndDoubleClicks)
{
    auto* radio = AddRadio(form.get(), 10);
    radio->SetCaption(L"&High");
    int clicks = 0, doubleClicks = 0;
    radio->OnClick = [&](TObject*) { ++clicks; };
    radio->OnDblClick = [&](TObject*) { ++doubleClicks; };
    ShowForm();
    radio->SetFocus();
    Type(radio, VK_SPACE);
    Type(radio, VK_RETURN);
    EXPECT_FALSE(radio->Checked());
    Post(radio, WM_CHAR, 'h', 1);
    EXPECT_TRUE(radio->Checked());

    radio->SetChecked(false);
    Press(radio);
    Release(radio);
    Post(radio, WM_LBUTTONDBLCLK, MK_LBUTTON, At(3, 3));
    Release(radio);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(doubleClicks, 1);
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, msg, wParam, lParam);
}

TEST_F(CheckBoxTest, OnlyAFocusFromARadioGroupButtonSelectsARadioButton)
{
    auto* plain = Add<TPlainControl>(200, 10, 30, 30);
    auto* radio = AddRadio(form.get(), 10);
    ShowForm();
    plain->SetFocus();
    Type(plain, VK_TAB);
    EXPECT_TRUE(radio->Focused());
    EXPECT_FALSE(radio->Checked());

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TkypRadioGroupButton";
    RegisterClassW(&windowClass);
    HWND groupButton = CreateWindowExW(0, L"TkypRadioGroupButton", L"", WS_CHILD | WS_VISIBLE, 250, 10, 20, 20,
        form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ::SetFocus(groupButton);
    radio->SetFocus();
    EXPECT_TRUE(radio->Checked());
    DestroyWindow(groupButton);
}

TEST_F(CheckBoxTest, WhileLoadingACheckedRadioButtonStillUnchecksItsGroupButFiresNothing)
{
    auto* first = AddRadio(form.get(), 10);
    auto* second = AddRadio(form.get(), 40);
    first->SetChecked(true);
    int clicks = 0;
    second->OnClick = [&](TObject*) { ++clicks; };
    second->BeginLoading();
    second->SetChecked(true);
    second->EndLoading();
    EXPECT_FALSE(first->Checked());
    EXPECT_EQ(clicks, 0);
}

}  // namespace
