// The recorder pictures on screen: the window cut by its picture, stand-in
// buttons cut by their outlines and painting their normal pictures, and the
// elapsed-seconds label in its font. The capture left in the artifacts
// folder (recorder-window.bmp) shows how the pieces meet.
#include <gtest/gtest.h>

#include "Forms.h"
#include "KYPSkinControl.h"
#include "KYPSkinForm.h"
#include "StdCtrls.h"

namespace {

constexpr TColor kKey = 15866506;

// Paints one picture, as an image button does in its normal state.
class TPictureControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    TBitmap picture;

protected:
    void Paint() override { Canvas().Draw(0, 0, &picture); }
};

struct Stand {
    const wchar_t* part;
    int left, top;
};

const Stand kStands[] = {{L"RECORD", 186, 30}, {L"HOME", 207, 212}, {L"HELP", 195, 248}, {L"STOP", 293, 206},
                         {L"PLAY", 275, 260},  {L"MINIMIZE", 365, 398}, {L"CLOSE", 365, 414}};

void LoadResource(TBitmap& bitmap, const std::wstring& name)
{
    bitmap.LoadFromResourceName(GetModuleHandleW(nullptr), name);
}

class RecorderWindowShapeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        form = MakeOwned<TForm>(nullptr);
        form->SetBounds(40, 40, 600, 600);
        auto* skin = New<TkypSkinForm>(form.get());
        skin->SetParent(form.get());
        LoadResource(*skin->Glyph(), L"RECORDER_WINDOW");
        skin->SetTransparentColor(kKey);
        for (const Stand& stand : kStands) {
            auto* button = New<TPictureControl>(form.get());
            button->SetParent(form.get());
            button->SetBounds(stand.left, stand.top, 1, 1);
            LoadResource(button->picture, std::wstring(L"RECORDER_") + stand.part + L"_NORMAL");
            auto* shaper = New<TkypSkinControl>(form.get());
            LoadResource(*shaper->Glyph(), std::wstring(L"RECORDER_") + stand.part + L"_OUTLINE");
            shaper->SetTransparentColor(kKey);
            shaper->SetControl(button);
            buttons.push_back(button);
        }
        auto* seconds = New<TLabel>(form.get());
        seconds->SetParent(form.get());
        seconds->SetAutoSize(false);
        seconds->SetTransparent(true);
        seconds->SetBounds(335, 351, 37, 24);
        seconds->Font().SetName(L"Microsoft Sans Serif");
        seconds->Font().SetHeight(-21);
        seconds->Font().SetColor(clNavy);
        seconds->SetText(L"128");
        form->Show();
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Application->ProcessMessages();
    }

    HWND WindowAt(int x, int y) const
    {
        const TPoint p = form->ClientToScreen(TPoint{x, y});
        return WindowFromPoint(POINT{p.X, p.Y});
    }

    TOwned<TForm> form;
    std::vector<TPictureControl*> buttons;
};

TEST_F(RecorderWindowShapeTest, ClicksReachTheBodyAndTheButtonsButNotTheCutAwayCorners)
{
    EXPECT_NE(WindowAt(4, 4), form->Handle());
    EXPECT_NE(WindowAt(534, 534), form->Handle());
    EXPECT_EQ(WindowAt(170, 300), form->Handle());          // the face plate beside the help button
    EXPECT_EQ(WindowAt(313, 298), buttons[4]->Handle());     // the middle of the play button
    EXPECT_EQ(WindowAt(277, 262), form->Handle());           // the play button's cut-away corner
    EXPECT_EQ(WindowAt(200, 52), buttons[0]->Handle());      // the record pill
    EXPECT_EQ(WindowAt(187, 31), form->Handle());            // outside its rounded end
}

TEST_F(RecorderWindowShapeTest, TheScreenShowsTheBodyAsDrawnAndNothingOfTheKeyColour)
{
    TClientDC screen(nullptr);
    const TPoint origin = form->ClientToScreen(TPoint{0, 0});
    TBitmap capture;
    capture.SetSize(539, 539);
    BitBlt(capture.Canvas().Handle(), 0, 0, 539, 539, screen.Handle(), origin.X, origin.Y, SRCCOPY);
    capture.SaveToFile(L"recorder-window.bmp");
    TBitmap picture;
    LoadResource(picture, L"RECORDER_WINDOW");
    const uint32_t key = 0x8A1AF2u;  // 0x00RRGGBB
    const TRect digits(335, 351, 372, 375);
    int keyShown = 0, bodyChanged = 0;
    for (int y = 0; y < 539; ++y)
        for (int x = 0; x < 539; ++x) {
            const uint32_t drawn = picture.ScanLine(y)[x], shown = capture.ScanLine(y)[x];
            if (shown == key) ++keyShown;
            const bool onDigits = x >= digits.Left && x < digits.Right && y >= digits.Top && y < digits.Bottom;
            if (drawn != key && !onDigits && shown != drawn) ++bodyChanged;
        }
    EXPECT_EQ(keyShown, 0);
    EXPECT_EQ(bodyChanged, 0);  // the buttons' pictures meet the body seamlessly
}

}  // namespace
