// Every button kind in every style and in the sample skin, in every state
// on one form, captured into buttons.bmp beside the tests for a person to
// look at; and the states it shows must differ where the artwork differs.
#include <gtest/gtest.h>

#include "ButtonGallery.h"
#include "SampleSkin.h"
#include "WindowHarness.h"

namespace {

class ButtonGalleryTest : public WindowHarness {};

TEST_F(ButtonGalleryTest, EveryKindInEveryStyleAndState)
{
    auto* theme = New<TkypFileTheme>(form.get());
    theme->SetThemeFile(SampleSkinFile());
    ASSERT_TRUE(theme->CanUse());
    TButtonGallery gallery(form.get(), theme);
    auto& buttons = gallery.Buttons;
    auto& images = gallery.Images;
    ShowForm();
    gallery.Pose();
    Pump();

    // The program's own capture of the form.
    TBitmap shot;
    shot.SetSize(form->ClientWidth(), form->ClientHeight());
    {
        TClientDC dc(form->Handle());
        BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), dc.Handle(), 0, 0, SRCCOPY);
    }
    shot.SaveToFile(L"buttons.bmp");

    auto faceAt = [&](TControl* control) {
        TBitmap face;
        face.SetSize(control->Width(), control->Height());
        BitBlt(face.Canvas().Handle(), 0, 0, face.Width(), face.Height(), shot.Canvas().Handle(), control->Left(),
            control->Top(), SRCCOPY);
        std::vector<TColor> pixels;
        for (int y = 0; y < face.Height(); ++y)
            for (int x = 0; x < face.Width(); ++x) pixels.push_back(face.Canvas().Pixels(x, y));
        return pixels;
    };
    for (size_t row = 1; row < buttons.size(); ++row) {  // past the focused row's normal face
        EXPECT_NE(faceAt(buttons[row][0]), faceAt(buttons[row][1])) << row;
        EXPECT_NE(faceAt(buttons[row][1]), faceAt(buttons[row][2])) << row;
        EXPECT_NE(faceAt(buttons[row][0]), faceAt(buttons[row][3])) << row;
    }
    EXPECT_NE(faceAt(images[0]), faceAt(images[2])) << images[0]->Left() << " " << images[2]->Left() << " " << images[0]->Width();
}

}  // namespace
