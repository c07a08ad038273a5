// File dialogs and message boxes, driven from a second thread the way a
// user would answer them.
#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "Dialogs.h"
#include "Forms.h"
#include "TempDir.h"

namespace {

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override { Application->Initialize(); }
};

}  // namespace

TEST(FileDialogFilter, PairsBecomeNullSeparatedAndADanglingDescriptionGoes)
{
    using namespace std::string_literals;
    EXPECT_EQ(FileDialogFilter(L"Wav|*.wav"), L"Wav\0*.wav\0\0"s);
    EXPECT_EQ(FileDialogFilter(L"Wav|*.wav|All|*.*"), L"Wav\0*.wav\0All\0*.*\0\0"s);
    EXPECT_EQ(FileDialogFilter(L"Wav|*.wav|All"), L"Wav\0*.wav\0\0"s);
    EXPECT_EQ(FileDialogFilter(L""), L""s);
    EXPECT_EQ(FileDialogFilter(L"Wav"), L""s);
}

TEST_F(DialogsTest, FileDialogsReturnTheConfirmedNameAndKeepTheOldOneOnCancel)
{
    TempDir dir;
    const String chosen = dir.File("take 1.wav");
    TOwned<TOpenDialog> open = MakeOwned<TOpenDialog>(nullptr);
    {
        TDialogRobot robot([&] { AcceptFileDialog(WaitForDialog(0, L""), chosen); });
        EXPECT_TRUE(open->Execute());
    }
    EXPECT_TRUE(SameText(open->FileName(), chosen)) << ToUtf8(open->FileName());

    TOwned<TSaveDialog> save = MakeOwned<TSaveDialog>(nullptr);
    save->SetFilter(L"Wav|*.wav");
    save->SetFileName(L"before");
    {
        TDialogRobot robot([&] { PressDialogButton(WaitForDialog(0, L""), IDCANCEL); });
        EXPECT_FALSE(save->Execute());
    }
    EXPECT_EQ(save->FileName(), L"before");

    // No default extension: the name comes back as typed, without ".wav".
    const String prefix = dir.File("voice");
    {
        TDialogRobot robot([&] { AcceptFileDialog(WaitForDialog(0, L""), prefix); });
        EXPECT_TRUE(save->Execute());
    }
    EXPECT_TRUE(SameText(save->FileName(), prefix)) << ToUtf8(save->FileName());
}

TEST_F(DialogsTest, MessageBoxesShowTheirTextAndTitle)
{
    Application->SetTitle(L"Quorvell");
    String title, text;
    {
        TDialogRobot robot([&] {
            HWND box = WaitForDialog(0, L"");
            title = DialogTitle(box);
            text = DialogText(box);
            PressDialogButton(box, IDOK);
        });
        ShowMessage(L"first line\nsecond line");
    }
    EXPECT_EQ(title, L"Quorvell");
    EXPECT_NE(text.find(L"first line\nsecond line"), String::npos) << ToUtf8(text);

    int pressed = 0;
    {
        TDialogRobot robot([&] {
            HWND box = WaitForDialog(0, L"Error");
            text = DialogText(box);
            PressDialogButton(box, IDOK);
        });
        pressed = Application->MessageBox(L"Init device Error\uFF01", L"Error", MB_ICONERROR);
    }
    EXPECT_EQ(pressed, IDOK);
    EXPECT_NE(text.find(L"Init device Error\uFF01"), String::npos) << ToUtf8(text);
}

namespace {

// What a robot sees of a message box: its visible buttons and whether an
// icon control shows the system's error icon.
struct BoxLook {
    int buttons = 0;
    bool errorIcon = false;
};

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM data)
{
    auto& look = *reinterpret_cast<BoxLook*>(data);
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (!IsWindowVisible(child)) return TRUE;
    if (SameText(name, L"Button")) ++look.buttons;
    if (SameText(name, L"Static") && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
        look.errorIcon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) == LoadIconW(nullptr, IDI_ERROR);
    return TRUE;
}

}  // namespace

TEST_F(DialogsTest, MessageDlgShowsTheTypesIconAndButtonsUnlessAHandlerTakesItsPlace)
{
    BoxLook look;
    String text;
    int result = 0;
    {
        TDialogRobot robot([&] {
            HWND box = WaitForDialog(0, L"Error");
            text = DialogText(box);
            EnumChildWindows(box, ReadBoxChild, reinterpret_cast<LPARAM>(&look));
            PressDialogButton(box, IDOK);
        });
        result = MessageDlg(L"Only one may be the client", TMsgDlgType::mtError, mbOK, 0);
    }
    EXPECT_EQ(result, mrOk);
    EXPECT_NE(text.find(L"Only one may be the client"), String::npos) << ToUtf8(text);
    EXPECT_EQ(look.buttons, 1);
    EXPECT_TRUE(look.errorIcon);
    EXPECT_THROW(MessageDlg(L"x", TMsgDlgType::mtError, mbOK | mbNo), Exception);

    String seen;
    SetMessageDlgHandler([&](const String& message, TMsgDlgType type, TMsgDlgButtons buttons) {
        seen = message;
        EXPECT_EQ(type, TMsgDlgType::mtError);
        EXPECT_EQ(buttons, static_cast<TMsgDlgButtons>(mbOK));
        return mrCancel;
    });
    EXPECT_EQ(MessageDlg(L"answered", TMsgDlgType::mtError, mbOK), mrCancel);
    EXPECT_EQ(seen, L"answered");
    EXPECT_TRUE(SetMessageDlgHandler(nullptr));
}
