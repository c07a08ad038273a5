#include "ButtonGallery.h"

#include "KYPCheckBox.h"
#include "KYPPublic.h"
#include "KYPRadioButton.h"
#include "StdCtrls.h"

void TPosedButton::Pose(bool mouseIn, bool mouseDown)
{
    m_MouseIn = mouseIn;
    m_MouseDown = mouseDown;
    Repaint();
}

void TPosedImageButton::Pose(bool mouseIn, bool mouseDown)
{
    m_MouseIn = mouseIn;
    m_MouseDown = mouseDown;
    Repaint();
}

namespace {

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

template <class T>
T* Place(TWinControl* parent, TComponent* owner, int left, int top)
{
    T* control = New<T>(owner);
    control->SetParent(parent);
    control->SetLeft(left);
    control->SetTop(top);
    return control;
}

void Label(TForm* form, int left, int top, const String& text)
{
    auto* label = Place<TLabel>(form, form, left, top);
    label->SetTransparent(true);
    label->SetCaption(text);
}

template <class T>
T* Box(TWinControl* parent, TForm* form, int left, int top, TkypUIStyle style, TkypFileTheme* theme, bool checked,
    bool enabled, const String& caption)
{
    T* box = Place<T>(parent, form, left, top);
    box->SetFileTheme(theme);
    box->SetUIStyle(style);
    box->SetCaption(caption);
    box->SetChecked(checked);
    box->SetEnabled(enabled);
    return box;
}

struct TLook {
    TkypUIStyle style;
    const wchar_t* name;
};

}  // namespace

TButtonGallery::TButtonGallery(TForm* form, TkypFileTheme* theme) : form_(form)
{
    std::vector<TLook> looks{{MacOS, L"MacOS"}, {WinXP, L"WinXP"}, {DeepBlue, L"DeepBlue"}, {Protein, L"Protein"},
        {BlueGlass, L"BlueGlass"}};
    if (theme) looks.push_back({FromThemeFile, L"skin file"});
    form->SetBounds(20, 20, 1000, 470);
    form->SetColor(static_cast<TColor>(0xF4F4F4));
    const wchar_t* states[] = {L"normal", L"hot", L"pressed", L"disabled"};
    for (int s = 0; s < 4; ++s) Label(form, 110 + s * 100, 8, states[s]);
    Label(form, 520, 8, L"check boxes: off, on, disabled off, disabled on");
    Label(form, 520, 222, L"radio buttons");

    for (size_t row = 0; row < looks.size(); ++row) {
        const TLook look = looks[row];
        const int top = 30 + static_cast<int>(row) * 32;
        Label(form, 10, top + 4, look.name);
        std::array<TPosedButton*, 4> buttons{};
        for (int state = 0; state < 4; ++state) {
            auto* button = Place<TPosedButton>(form, form, 110 + state * 100, top);
            button->SetFileTheme(look.style == FromThemeFile ? theme : nullptr);
            button->SetUIStyle(look.style);
            if (look.style == FromThemeFile) {
                // Auto-size reads only the built-in strips: a skin's size comes from its own strip.
                const TBitmap* strip = theme->GetBitmap(SKIN2_BUTTON);
                button->SetBounds(button->Left(), top, strip ? strip->Width() / 3 : 74, strip ? strip->Height() : 21);
            } else {
                button->SetAutoSize(true);
            }
            button->SetCaption(look.style == WinXP ? L"&R" : L"&Rec");
            if (state == 3) button->SetEnabled(false);
            buttons[static_cast<size_t>(state)] = button;
        }
        Buttons.push_back(buttons);
        TkypFileTheme* rowTheme = look.style == FromThemeFile ? theme : nullptr;
        const bool on[] = {false, true, false, true}, enabled[] = {true, true, false, false};
        for (int i = 0; i < 4; ++i) {
            Box<TkypCheckBox>(form, form, 520 + i * 118, top + 2, look.style, rowTheme, on[i], enabled[i], L"&Loud");
            auto* radio = Box<TkypRadioButton>(form, form, 520 + i * 118, 244 + static_cast<int>(row) * 26,
                look.style, rowTheme, on[i], enabled[i], L"&High");
            radio->SetGroupIndex(static_cast<int>(row) * 4 + i);  // each on its own, to show every state
        }
    }

    // Image buttons, opaque and over a gradient, and the recorder's
    // transparent caption-less radio buttons.
    Label(form, 10, 244, L"image");
    auto* backdrop = Place<TBackdrop>(form, form, 10, 300);
    backdrop->SetBounds(10, 300, 500, 140);
    for (int state = 0; state < 4; ++state) {
        auto* image = Place<TPosedImageButton>(form, form, 110 + state * 100, 232);
        image->SetBounds(image->Left(), image->Top(), 40, 40);
        image->SetPicNormal(DiscPicture(40, static_cast<TColor>(0x3030C0)).get());
        image->SetPicMouseOn(DiscPicture(40, static_cast<TColor>(0x5050FF)).get());
        image->SetPicMouseDown(DiscPicture(40, static_cast<TColor>(0x202080)).get());
        image->SetPicDisabled(DiscPicture(40, clGray).get());
        image->SetCaption(L"&Go");
        image->Font().SetColor(clWhite);
        if (state == 3) image->SetEnabled(false);
        Images[static_cast<size_t>(state)] = image;

        auto* seeThrough = Place<TPosedImageButton>(backdrop, form, 20 + state * 60, 20);
        seeThrough->SetBounds(seeThrough->Left(), seeThrough->Top(), 40, 40);
        seeThrough->SetPicNormal(DiscPicture(40, static_cast<TColor>(0x30A030)).get());
        seeThrough->SetTransparent(true);
        if (state == 3) seeThrough->SetEnabled(false);
        if (state == 1) seeThrough->Pose(true, false);
        if (state == 2) seeThrough->Pose(true, true);
    }
    for (int i = 0; i < 3; ++i) {
        auto* quality = Box<TkypRadioButton>(backdrop, form, 280 + i * 40, 30, WinXP, nullptr, i == 0, true, L"");
        quality->SetTransparent(true);
    }
    auto* glassBox = Box<TkypCheckBox>(backdrop, form, 280, 70, BlueGlass, nullptr, true, true, L"&Transparent");
    glassBox->SetTransparent(true);
}

void TButtonGallery::Pose()
{
    for (auto& row : Buttons) {
        row[1]->Pose(true, false);
        row[2]->Pose(true, true);
    }
    Images[1]->Pose(true, false);
    Images[2]->Pose(true, true);
    Buttons[2][0]->SetFocus();  // the focus rectangle on DeepBlue's normal button
    RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
