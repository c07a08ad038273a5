// Every button kind in every style and state on one form, captured into
// buttons.bmp beside the tests for a person to look at; and the states it
// shows must differ where the artwork differs.
#include <gtest/gtest.h>

#include <array>

#include "KYPButton.h"
#include "KYPCheckBox.h"
#include "KYPImageButton.h"
#include "KYPPublic.h"
#include "KYPRadioButton.h"
#include "StdCtrls.h"
#include "WindowHarness.h"

namespace {

// Shows a state without a mouse behind it.
class TPosedButton : public TkypCustomButton {
public:
    using TkypCustomButton::TkypCustomButton;
    void Pose(bool mouseIn, bool mouseDown)
    {
        m_MouseIn = mouseIn;
        m_MouseDown = mouseDown;
        Repaint();
    }
};

class TPosedImageButton : public TkypImageButton {
public:
    using TkypImageButton::TkypImageButton;
    void Pose(bool mouseIn, bool mouseDown)
    {
        m_MouseIn = mouseIn;
        m_MouseDown = mouseDown;
        Repaint();
    }
};

// A gradient under the transparent controls.
class TBackdrop : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override
    {
        Canvas().Pen().SetWidth(1);
        DrawVerticalGradient(Canvas(), ClientRect(), static_cast<TColor>(0xF0C080), static_cast<TColor>(0x603010));
    }
};

// A round record-style picture on a magenta key.
TOwned<TBitmap> DiscPicture(int size, TColor disc)
{
    auto picture = MakeOwned<TBitmap>();
    picture->SetSize(size, size);
    const uint32_t key = 0xFF00FF;  // 0x00RRGGBB
    const uint32_t fill = ((disc & 0xFF) << 16) | (disc & 0xFF00) | ((disc >> 16) & 0xFF);
    const double r = size / 2.0 - 2;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - size / 2.0, dy = y + 0.5 - size / 2.0;
            const double d = dx * dx + dy * dy;
            picture->ScanLine(y)[x] = d <= (r - 1.5) * (r - 1.5) ? fill : d <= r * r ? 0x202020u : key;
        }
    return picture;
}

class ButtonGalleryTest : public WindowHarness {
protected:
    TLabel* Label(int left, int top, const String& text)
    {
        auto* label = New<TLabel>(form.get());
        label->SetParent(form.get());
        label->SetTransparent(true);
        label->SetLeft(left);
        label->SetTop(top);
        label->SetCaption(text);
        return label;
    }
    template <class T>
    T* Box(int left, int top, TkypUIStyle style, bool checked, bool enabled, const String& caption,
        TWinControl* parent = nullptr)
    {
        auto* box = New<T>(form.get());
        box->SetParent(parent ? parent : form.get());
        box->SetLeft(left);
        box->SetTop(top);
        box->SetUIStyle(style);
        box->SetCaption(caption);
        box->SetChecked(checked);
        box->SetEnabled(enabled);
        return box;
    }
};

TEST_F(ButtonGalleryTest, EveryKindInEveryStyleAndState)
{
    form->SetBounds(20, 20, 1000, 520);
    form->SetColor(static_cast<TColor>(0xF4F4F4));
    const std::array<TkypUIStyle, 5> styles{MacOS, WinXP, DeepBlue, Protein, BlueGlass};
    const wchar_t* styleNames[] = {L"MacOS", L"WinXP", L"DeepBlue", L"Protein", L"BlueGlass"};
    const wchar_t* states[] = {L"normal", L"hot", L"pressed", L"disabled"};
    for (int s = 0; s < 4; ++s) Label(110 + s * 100, 8, states[s]);
    Label(520, 8, L"check boxes: off, on, disabled off, disabled on");
    Label(520, 200, L"radio buttons");

    std::array<std::array<TPosedButton*, 4>, 5> buttons{};
    for (size_t row = 0; row < styles.size(); ++row) {
        const int top = 30 + static_cast<int>(row) * 34;
        Label(10, top + 4, styleNames[row]);
        for (int state = 0; state < 4; ++state) {
            auto* button = Add<TPosedButton>(110 + state * 100, top, 80, 25);
            button->SetUIStyle(styles[row]);
            button->SetAutoSize(true);
            button->SetCaption(styles[row] == WinXP ? L"&R" : L"&Rec");
            if (state == 3) button->SetEnabled(false);
            buttons[row][static_cast<size_t>(state)] = button;
        }
        const bool on[] = {false, true, false, true}, enabled[] = {true, true, false, false};
        for (int i = 0; i < 4; ++i) {
            Box<TkypCheckBox>(520 + i * 118, top + 2, styles[row], on[i], enabled[i], L"&Loud");
            auto* radio = Box<TkypRadioButton>(520 + i * 118, 222 + static_cast<int>(row) * 26, styles[row], on[i],
                enabled[i], L"&High");
            radio->SetGroupIndex(static_cast<int>(row) * 4 + i);  // each on its own, to show every state
        }
    }

    // Image buttons, opaque and over a gradient, and the recorder's
    // transparent caption-less radio buttons.
    Label(10, 214, L"image");
    std::array<TPosedImageButton*, 4> images{};
    auto* backdrop = Add<TBackdrop>(10, 360, 500, 140);
    for (int state = 0; state < 4; ++state) {
        auto* image = Add<TPosedImageButton>(110 + state * 100, 200, 40, 40);
        image->SetPicNormal(DiscPicture(40, static_cast<TColor>(0x3030C0)).get());
        image->SetPicMouseOn(DiscPicture(40, static_cast<TColor>(0x5050FF)).get());
        image->SetPicMouseDown(DiscPicture(40, static_cast<TColor>(0x202080)).get());
        image->SetPicDisabled(DiscPicture(40, clGray).get());
        image->SetCaption(L"&Go");
        image->Font().SetColor(clWhite);
        if (state == 3) image->SetEnabled(false);
        images[static_cast<size_t>(state)] = image;

        auto* seeThrough = Add<TPosedImageButton>(20 + state * 60, 20, 40, 40, backdrop);
        seeThrough->SetPicNormal(DiscPicture(40, static_cast<TColor>(0x30A030)).get());
        seeThrough->SetTransparent(true);
        if (state == 3) seeThrough->SetEnabled(false);
        if (state == 1) seeThrough->Pose(true, false);
        if (state == 2) seeThrough->Pose(true, true);
    }
    for (int i = 0; i < 3; ++i) {
        auto* quality = Box<TkypRadioButton>(280 + i * 40, 30, WinXP, i == 0, true, L"", backdrop);
        quality->SetTransparent(true);
    }
    auto* glassBox = Box<TkypCheckBox>(280, 70, BlueGlass, true, true, L"&Transparent", backdrop);
    glassBox->SetTransparent(true);

    ShowForm();
    for (auto& row : buttons) {
        row[1]->Pose(true, false);
        row[2]->Pose(true, true);
    }
    images[1]->Pose(true, false);
    images[2]->Pose(true, true);
    buttons[2][0]->SetFocus();  // the focus rectangle on DeepBlue's normal button
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
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
