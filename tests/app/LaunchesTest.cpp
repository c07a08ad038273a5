// The launches beside the program, with a stand-in program that leaves a
// mark when it runs, in a folder of the test's own.
#include <gtest/gtest.h>

#include <filesystem>

#include "DialogDriver.h"
#include "FileSystem.h"
#include "Forms.h"
#include "Launches.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

class LaunchesTest : public ::testing::Test {
protected:
    void SetUp() override { Application->Initialize(); }

    String Folder() const { return dir.Path().wstring() + L"\\"; }
    void WriteTipsSettings(const std::string& isShow)
    {
        fs::create_directories(dir.Path() / "Tips");
        WriteFileBytes(Folder() + L"Tips\\Halvoria.ini", "[Show]\r\nIsShow=" + isShow + "\r\n");
    }
    // Puts the stand-in program at Path (relative to the folder).
    String InstallMarker(const fs::path& path)
    {
        fs::create_directories((dir.Path() / path).parent_path());
        fs::copy_file(fs::path(ExtractFilePath(ProgramFileName())) / "launch_marker.exe", dir.Path() / path);
        return (dir.Path() / path).wstring() + L".ran";
    }
    static bool WaitForFile(const String& name, DWORD milliseconds)
    {
        for (DWORD waited = 0; waited < milliseconds; waited += 50) {
            if (FileExists(name)) return true;
            Sleep(50);
        }
        return FileExists(name);
    }

    TempDir dir;
};

}  // namespace

TEST_F(LaunchesTest, TipsSettingIsReadAsABooleanWithMinusOneByDefault)
{
    EXPECT_TRUE(TipsWanted(Folder()));  // no tips folder at all
    const struct {
        const char* value;
        bool wanted;
    } cases[] = {{"-1", true}, {"1", true}, {"0", false}, {"false", false}, {"TRUE", true}};
    for (const auto& c : cases) {
        WriteTipsSettings(c.value);
        EXPECT_EQ(TipsWanted(Folder()), c.wanted) << c.value;
    }
    WriteTipsSettings("sometimes");
    EXPECT_THROW(TipsWanted(Folder()), EConvertError);
    EXPECT_THROW(ShowTips(Folder()), EConvertError);
}

TEST_F(LaunchesTest, TipsProgramStartsWhenWantedAndAlwaysFromTheMenu)
{
    const String marker = InstallMarker("Tips/Halvoria.exe");
    WriteTipsSettings("0");
    ShowTips(Folder());
    EXPECT_FALSE(WaitForFile(marker, 1500));
    StartTipsProgram(Folder());
    EXPECT_TRUE(WaitForFile(marker, 10000));

    RemoveFile(marker);
    WriteTipsSettings("-1");
    ShowTips(Folder());
    EXPECT_TRUE(WaitForFile(marker, 10000));
}

TEST_F(LaunchesTest, UpdateProgramStartsWhenPresentOtherwiseTheUserIsTold)
{
    String text;
    bool started = true;
    {
        TDialogRobot robot([&] {
            HWND box = WaitForDialog(0, L"");
            text = DialogText(box);
            PressDialogButton(box, IDOK);
        });
        started = StartUpdateProgram(Folder());
    }
    EXPECT_FALSE(started);
    EXPECT_EQ(text, kUpdateMissingMessage);

    const String marker = InstallMarker("update/update.exe");
    EXPECT_TRUE(StartUpdateProgram(Folder()));
    EXPECT_TRUE(WaitForFile(marker, 10000));
}

// Unlike the update program, a missing help file shows no box of ours.
TEST_F(LaunchesTest, MissingHelpFileFailsSilently)
{
    EXPECT_EQ(HelpFilePath(Folder()), Folder() + L"help.chm");
    String shown;
    {
        TDialogRobot robot([&] {
            if (HWND box = WaitForDialog(0, L"", 2000)) {
                shown = DialogTitle(box) + L": " + DialogText(box);
                PressDialogButton(box, IDOK);
            }
        });
        OpenHelpFile(nullptr, Folder());
    }
    EXPECT_EQ(shown, L"");
    EXPECT_EQ(kHomePageAddress.substr(kHomePageAddress.size() - 7), L"/?r=X02");
}
