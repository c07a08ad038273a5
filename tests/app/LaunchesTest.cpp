// The launches beside the program, with a stand-in program that leaves a
// mark when it runs, in a folder of the test's own.
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <atomic>
#include <filesystem>
#include <source_location>

#include "DialogDriver.h"
#include "FileSystem.h"
#include "Forms.h"
#include "Launches.h"
#include "PollUntil.h"
#include "PumpUntil.h"
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
    static void WaitForMark(const String& marker, std::source_location where = std::source_location::current())
    {
        PumpUntil([&] { return FileExists(marker); }, 10000, "the mark of the stand-in program", where);
    }
    // Whether the stand-in of Marker has been started: the shell has made
    // the process by the time its start returns, and the stand-in leaves
    // its mark before it ends, so a start shows at once, in the one or the
    // other. The process list is read first, so that one ending between the
    // two looks is seen by the second.
    static bool Started(const String& marker)
    {
        const String program = fs::path(marker.substr(0, marker.size() - 4)).make_preferred().wstring();
        return RunsFrom(program) || FileExists(marker);
    }
    static bool RunsFrom(const String& program)
    {
        const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        bool found = false;
        for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
            found = SameText(ImageOf(entry.th32ProcessID), program);
        CloseHandle(snapshot);
        return found;
    }
    static String ImageOf(DWORD processId)
    {
        const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
        if (!process) return {};
        wchar_t name[MAX_PATH] = {};
        DWORD length = MAX_PATH;
        const bool named = QueryFullProcessImageNameW(process, 0, name, &length);
        CloseHandle(process);
        return named ? String(name) : String();
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
    EXPECT_FALSE(Started(marker));
    StartTipsProgram(Folder());
    EXPECT_TRUE(Started(marker)) << "a start shows as soon as it returns";
    WaitForMark(marker);

    RemoveFile(marker);
    WriteTipsSettings("-1");
    ShowTips(Folder());
    EXPECT_TRUE(Started(marker));
    WaitForMark(marker);
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
    WaitForMark(marker);
}

// Unlike the update program, a missing help file shows no box of ours.
TEST_F(LaunchesTest, MissingHelpFileFailsSilently)
{
    EXPECT_EQ(HelpFilePath(Folder()), Folder() + L"help.chm");
    String shown;
    {
        std::atomic<bool> returned = false;
        TDialogRobot robot([&] {
            // A box would hold the call until answered: once the call is
            // back, none is coming.
            HWND box = nullptr;
            PollUntil([&] { return (box = FindDialog(0, L"")) != nullptr || returned; }, 10000);
            if (box) {
                shown = DialogTitle(box) + L": " + DialogText(box);
                PressDialogButton(box, IDOK);
            }
        });
        OpenHelpFile(nullptr, Folder());
        returned = true;
    }
    EXPECT_EQ(shown, L"");
    EXPECT_EQ(kHomePageAddress.substr(kHomePageAddress.size() - 7), L"/?r=X02");
}
