// Every skinned button kind in every built-in style and state on one form,
// and in a skin file's look when a theme is given: the button gallery that
// the gallery demo shows and the gallery test captures.
#pragma once

#include <array>
#include <vector>

#include "Forms.h"
#include "KYPButton.h"
#include "KYPImageButton.h"
#include "KYPMgr.h"

// Shows a state without a mouse behind it.
class TPosedButton : public TkypCustomButton {
public:
    using TkypCustomButton::TkypCustomButton;
    void Pose(bool mouseIn, bool mouseDown);
};

class TPosedImageButton : public TkypImageButton {
public:
    using TkypImageButton::TkypImageButton;
    void Pose(bool mouseIn, bool mouseDown);
};

class TButtonGallery {
public:
    // Builds onto Form (which it sizes). With a theme, a last row shows
    // the look of the skin file it holds.
    TButtonGallery(TForm* form, TkypFileTheme* theme);

    // Once the form is shown: the hot and pressed columns take their
    // looks and one normal button the focus.
    void Pose();

    // Columns: normal, hot, pressed, disabled. One row per look.
    std::vector<std::array<TPosedButton*, 4>> Buttons;
    std::array<TPosedImageButton*, 4> Images{};

private:
    TForm* form_;  // not owned
};
