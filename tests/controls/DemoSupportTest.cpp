// What the demos share: the command line every demo reads, and the
// picture of the screen, cut to the screen's edges.
#include <gtest/gtest.h>

#include <iterator>

#include "DemoSupport.h"
#include "TempDir.h"
#include "WindowHarness.h"

TEST(DemoCommandLine, FlagsValuesAndNumbersCountTheLastTimeGiven)
{
    const wchar_t* argv[] = {L"demo.exe", L"--style", L"protein", L"--rtl", L"--seconds", L"3", L"--style",
        L"bluEGlass", L"--open-menu", L"-1", L"--select"};
    const TDemoCommandLine line(static_cast<int>(std::size(argv)), argv);
    EXPECT_TRUE(line.Has(L"--rtl"));
    EXPECT_FALSE(line.Has(L"--flat"));
    EXPECT_EQ(line.Style(), BlueGlass);
    EXPECT_EQ(line.Seconds(), 3u);
    EXPECT_EQ(line.Number(L"--open-menu", 5), -1);
    EXPECT_EQ(line.Number(L"--select", 7), 7);  // given last, without its value
    EXPECT_EQ(line.Skin(), L"");
    EXPECT_EQ(line.Capture(), L"");

    const wchar_t* backwards[] = {L"demo.exe", L"--seconds", L"-2"};
    EXPECT_EQ(TDemoCommandLine(3, backwards).Seconds(), 0u);  // not a wait of weeks
}

TEST(DemoCommandLine, StylesAreNamedInAnyCaseAndAnyOtherNameIsDeepBlue)
{
    EXPECT_EQ(StyleNamed(L"macos"), MacOS);
    EXPECT_EQ(StyleNamed(L"WINXP"), WinXP);
    EXPECT_EQ(StyleNamed(L"Protein"), Protein);
    EXPECT_EQ(StyleNamed(L"fromthemefile"), FromThemeFile);
    EXPECT_EQ(StyleNamed(L"Copper"), DeepBlue);
    EXPECT_EQ(StyleNamed(L""), DeepBlue);
}

class DemoScreenTest : public WindowHarness {};

TEST_F(DemoScreenTest, APictureAroundAWindowInTheScreensCornerEndsAtTheScreensEdges)
{
    constexpr TColor kColour = 0x3366CC;
    const TRect screen = ScreenArea();
    form->SetBounds(screen.Right - 100, screen.Bottom - 80, 200, 160);
    form->SetColor(kColour);
    ShowForm();
    RECT area = WindowArea(*form);
    InflateRect(&area, 10, 10);
    TempDir dir;
    SaveScreen(area, dir.File("corner.bmp"));

    TBitmap picture;
    picture.LoadFromFile(dir.File("corner.bmp"));
    EXPECT_EQ(picture.Width(), 110);
    EXPECT_EQ(picture.Height(), 90);
    EXPECT_EQ(picture.Canvas().Pixels(60, 50), kColour);
}
