// The skinned menu bar on a plain form: a frame panel with a small host,
// the holder filling, refreshing and freeing the bar as its menu changes
// or goes, heights and fonts, the drawing handlers by pixel, the
// accelerator rule, and real drop-downs opened by click and by Alt+letter
// under Wine, also with rebuilds and the menu freed while one is open.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "GdiHandles.h"
#include "HandleCounts.h"
#include "KYPMenuBar.h"
#include "MenuItems.h"
#include "MenuRobot.h"
#include "SampleSkin.h"
#include "WindowHarness.h"

namespace {

class TTestHost : public IkypMenuBarHost {
public:
    TWinControl* Parent = nullptr;
    TkypUIStyle Style = DeepBlue;
    TkypFileTheme* Theme = nullptr;
    bool Allowed = true;
    int Placed = 0;

    TWinControl* MenuBarParent() override { return Parent; }
    TkypUIStyle MenuBarStyle() const override { return Style; }
    TkypFileTheme* MenuBarTheme() const override { return Theme; }
    bool MenuBarAllowed() const override { return Allowed; }
    bool MenuBarDesigning() const override { return false; }
    void MenuBarPlaced() override { ++Placed; }
    TMainMenu* OwnMenu = nullptr;
    TMainMenu* MenuBarOwnMenu() const override { return OwnMenu; }
};

// Fills a bar the holder made but holds no menu for, as the MDI frame does.
class TTestSource : public IkypMenuBarSource {
public:
    TMenu* Shown = nullptr;
    TMenu* ShownMenu() const override { return Shown; }
};

constexpr TColor kDeepBlueHot = 0xA04A44;
constexpr TColor kDisabledText = 0x808080;

class MenuBarTest : public WindowHarness {
protected:
    void SetUp() override
    {
        WindowHarness::SetUp();
        panel = Add<TPanel>(0, 0, 420, 300);
        panel->SetAlign(TAlign::alClient);
        panel->SetColor(clWhite);
        host.Parent = panel;
        holder = New<TkypFormMenuBar>(panel, host);
        menu = New<TkypMainMenu>(form.get());
        for (const wchar_t* top : {L"&File", L"&Edit", L"Hidden", L"&Help"}) AddItem(menu->Items(), top);
        menu->Items()->Items(2)->SetVisible(false);
        AddItems(menu->Items()->Items(0), {L"&New", L"E&xit"});
        AddItems(menu->Items()->Items(1), {L"&Cut", L"C&opy", L"&Paste"});
        AddItems(menu->Items()->Items(3), {L"&About"});
    }
    TMenuItem* AddItem(TMenuItem* parent, const wchar_t* caption)
    {
        TMenuItem* item = ::AddItem(parent, caption, form.get());
        item->OnClick = [this, caption](TObject*) { clicks.push_back(caption); };
        return item;
    }
    void AddItems(TMenuItem* parent, std::initializer_list<const wchar_t*> captions)
    {
        for (const wchar_t* caption : captions) AddItem(parent, caption);
    }
    TkypMenuBar& Bar() { return *holder->Bar(); }
    TToolButton& Button(int index) { return *Bar().Buttons(index); }
    TPoint Inside(int index) { return TPoint(Button(index).Left() + 4, Button(index).Top() + 4); }
    void Click(int index)
    {
        const TPoint at = Inside(index);
        Hover(&Bar(), at.X, at.Y);
        Press(&Bar(), at.X, at.Y);
        Pump();
    }
    // Runs Action once, after Milliseconds, from the message loop (which a
    // drop-down's menu loop runs too).
    void Later(UINT milliseconds, std::function<void()> action)
    {
        auto* timer = New<TTimer>(form.get());
        timer->SetInterval(milliseconds);
        timer->SetOnTimer([this, timer, action](TObject*) {
            timer->SetEnabled(false);
            action();
            ++laterRuns;
        });
        timer->SetEnabled(true);
    }
    // For a menu robot: the actions given to Later have run.
    std::function<bool()> LaterRan(int runs)
    {
        return [this, runs] { return laterRuns >= runs; };
    }
    // Every pixel of the rectangle that has the colour.
    static int CountColour(TBitmap& bitmap, const TRect& rect, TColor colour)
    {
        int count = 0;
        for (int y = rect.Top; y < rect.Bottom; ++y)
            for (int x = rect.Left; x < rect.Right; ++x)
                if (bitmap.Canvas().Pixels(x, y) == colour) ++count;
        return count;
    }

    TTestHost host;
    TPanel* panel = nullptr;
    TkypFormMenuBar* holder = nullptr;
    TkypMainMenu* menu = nullptr;
    std::vector<std::wstring> clicks;
    std::atomic<int> laterRuns = 0;
};

}  // namespace

// ---------------------------------------------------- filling and freeing

TEST_F(MenuBarTest, ButtonsFollowTheTopItemsInOrderAndChangesReachThem)
{
    holder->SetMenu(menu);
    ASSERT_NE(holder->Bar(), nullptr);
    EXPECT_EQ(Bar().Parent(), panel);
    EXPECT_GT(host.Placed, 0);
    ASSERT_EQ(Bar().ButtonCount(), 4);
    const wchar_t* captions[] = {L"&File", L"&Edit", L"Hidden", L"&Help"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Button(i).Caption(), captions[i]);
    EXPECT_FALSE(Button(2).Visible());
    EXPECT_LT(Button(0).Left(), Button(1).Left());
    EXPECT_LT(Button(1).Left(), Button(3).Left());

    // Captions and states at once; new items once the menu is told of them.
    menu->Items()->Items(1)->SetCaption(L"&Change");
    menu->Items()->Items(3)->SetEnabled(false);
    EXPECT_EQ(Button(1).Caption(), L"&Change");
    EXPECT_FALSE(Button(3).Enabled());
    AddItem(menu->Items(), L"&Window");
    EXPECT_EQ(Bar().ButtonCount(), 4);
    menu->MenuAdded();
    ASSERT_EQ(Bar().ButtonCount(), 5);
    EXPECT_EQ(Button(4).Caption(), L"&Window");
}

TEST_F(MenuBarTest, WithoutAMenuOrOnAnMdiChildThereIsNoBar)
{
    holder->SetMenu(menu);
    holder->SetMenu(nullptr);
    EXPECT_EQ(holder->Bar(), nullptr);
    EXPECT_EQ(menu->MenuFrame(), nullptr);  // unlinked
    EXPECT_EQ(panel->ControlCount(), 0);

    // A freed menu takes the bar along and leaves nothing dangling.
    holder->SetMenu(menu);
    FreeObject(menu);
    EXPECT_EQ(holder->Menu(), nullptr);
    EXPECT_EQ(holder->Bar(), nullptr);
    EXPECT_EQ(panel->ControlCount(), 0);
    holder->UpdateTopMenu();
    holder->RepaintMenuBar();

    // A plain main menu serves too; the frame may go before it.
    auto* plain = New<TMainMenu>(form.get());
    AddItem(plain->Items(), L"&Plain");
    host.Allowed = false;
    holder->SetMenu(plain);
    EXPECT_EQ(holder->Menu(), plain);
    EXPECT_EQ(holder->Bar(), nullptr);
    EXPECT_EQ(holder->MenuBarHeight(), 0);
    host.Allowed = true;
    holder->SetMenu(plain);
    EXPECT_EQ(Button(0).Caption(), L"&Plain");
    FreeObject(panel);
    plain->Items()->Items(0)->SetCaption(L"Still here");
}

TEST_F(MenuBarTest, HeightsAndFontsComeFromTheHolderAndTheMenu)
{
    holder->SetMenuBarHeight(30);
    EXPECT_EQ(holder->MenuBarHeight(), 0);  // no bar yet
    menu->SetUseSystemFont(false);
    menu->SetFontName(L"Courier New");
    menu->SetFontSize(14);
    menu->SetFontCharset(ANSI_CHARSET);
    holder->SetMenu(menu);
    EXPECT_EQ(holder->MenuBarHeight(), 30);
    EXPECT_EQ(Button(0).Height(), 30);
    holder->SetMenuBarHeight(26);
    EXPECT_EQ(Button(3).Height(), 26);

    // A rebuild takes only the size; a repaint name, size and charset.
    EXPECT_EQ(Bar().Font().Size(), 14);
    EXPECT_NE(Bar().Font().Name(), L"Courier New");
    holder->RepaintMenuBar();
    EXPECT_EQ(Bar().Font().Name(), L"Courier New");
    EXPECT_EQ(Bar().Font().Charset(), ANSI_CHARSET);
    Bar().SetVisible(false);
    EXPECT_EQ(holder->MenuBarHeight(), 0);
}

// ------------------------------------------------------------- drawing

TEST_F(MenuBarTest, ButtonsDrawHotNormalAndDisabledInTheStyleOrTheSkinAndMarkTheHotOne)
{
    menu->Items()->Items(3)->SetEnabled(false);
    holder->SetMenu(menu);
    ShowForm();
    const TRect file = Button(0).BoundsRect(), help = Button(3).BoundsRect();
    auto idle = Snapshot(&Bar());
    EXPECT_GT(CountColour(*idle, file, clBlack), 0);
    EXPECT_EQ(CountColour(*idle, file, kDeepBlueHot), 0);
    EXPECT_GT(CountColour(*idle, help, kDisabledText), 0);
    EXPECT_EQ(CountColour(*idle, help, clBlack), 0);

    Hover(&Bar(), Inside(0).X, Inside(0).Y);
    auto hot = Snapshot(&Bar());
    EXPECT_EQ(hot->Canvas().Pixels(file.Left, file.Top), kDeepBlueHot);  // frame
    EXPECT_EQ(hot->Canvas().Pixels(file.Right - 1, file.Bottom - 1), kDeepBlueHot);
    EXPECT_EQ(hot->Canvas().Pixels(file.Left + 2, file.Top + 2), kDeepBlueHot);  // fill
    EXPECT_GT(CountColour(*hot, file, clWhite), 0);
    EXPECT_EQ(CountColour(*hot, file, clBlack), 0);
    EXPECT_EQ(Button(0).Tag(), 888);
    EXPECT_EQ(Button(1).Tag(), 0);

    // The frame's skin file reaches the bar's colours and the menu.
    auto* theme = New<TkypFileTheme>(form.get());
    theme->SetThemeFile(SampleSkinFile());
    ASSERT_TRUE(theme->CanUse());
    holder->StyleChanged(FromThemeFile, theme);
    EXPECT_EQ(Bar().Color(), CopperSkin::SKIN2_MENUBARSTARTCOLOR);
    EXPECT_EQ(holder->MenuBarToColor(), CopperSkin::SKIN2_MENUBARENDCOLOR);
    EXPECT_EQ(menu->FileTheme(), theme);
    hot = Snapshot(&Bar());
    EXPECT_EQ(hot->Canvas().Pixels(file.Left, file.Top), CopperSkin::SKIN2_TOPSELECTEDMENUBORDERCOLOR);
    EXPECT_EQ(hot->Canvas().Pixels(file.Left + 2, file.Top + 2), CopperSkin::SKIN2_TOPSELECTEDMENUCOLOR);
    Hover(&Bar(), Bar().Width() - 3, 3);  // past the last button
    auto normal = Snapshot(&Bar());
    EXPECT_GT(CountColour(*normal, Button(1).BoundsRect(), CopperSkin::SKIN2_TOPMENUFONTCOLOR), 0);
    EXPECT_EQ(Button(0).Tag(), 0);

    // A built-in style: one plain colour, the style's form colour.
    holder->StyleChanged(Protein, nullptr);
    EXPECT_EQ(Bar().Color(), 0xFBFBFB);
    EXPECT_EQ(holder->MenuBarToColor(), 0xFBFBFB);
    EXPECT_EQ(menu->SelectedColor(), 0xC4302D);
}

// A frame whose bar a source fills (the MDI frame) takes only the font from
// its own skinned menu; the colours stay the frame's.
TEST_F(MenuBarTest, ABarFilledByASourceDrawsInTheFramesColoursWithTheMenusFont)
{
    host.OwnMenu = menu;
    menu->SetUIStyle(WinXP);
    menu->SetUseSystemFont(false);
    menu->SetFontSize(13);
    TTestSource source;
    source.Shown = menu;
    TkypMenuBar* bar = holder->ShowBar(source);
    ASSERT_NE(bar, nullptr);
    bar->FitButtons(menu->Items(), menu);
    ShowForm();
    EXPECT_EQ(bar->Font().Size(), 13);
    Hover(bar, Inside(0).X, Inside(0).Y);
    auto hot = Snapshot(bar);
    const TRect file = Button(0).BoundsRect();
    EXPECT_EQ(hot->Canvas().Pixels(file.Left, file.Top), kDeepBlueHot);
    EXPECT_EQ(hot->Canvas().Pixels(file.Left + 2, file.Top + 2), kDeepBlueHot);
    EXPECT_GT(CountColour(*hot, file, clWhite), 0);  // DeepBlue's, not WinXP's black
}

TEST_F(MenuBarTest, TheBackgroundIsTheMacPictureAGradientOrTheBarsColour)
{
    holder->SetMenu(menu);
    ShowForm();
    const int x = Bar().Width() - 5;  // right of every button
    holder->SetMenuBarColor(clWhite);
    holder->SetMenuBarToColor(clWhite);
    auto plain = Snapshot(&Bar());
    EXPECT_EQ(plain->Canvas().Pixels(x, 0), clWhite);
    EXPECT_EQ(plain->Canvas().Pixels(x, 21), clWhite);
    holder->SetMenuBarColor(clRed);
    holder->SetMenuBarToColor(clBlue);
    auto gradient = Snapshot(&Bar());
    EXPECT_EQ(gradient->Canvas().Pixels(x, 0), clRed);
    EXPECT_GT(gradient->Canvas().Pixels(x, 21) & 0xFF0000, 0xE00000);
    EXPECT_LT(gradient->Canvas().Pixels(x, 21) & 0xFF, 0x20);

    // MacOS, whatever the colours: the 22 rows of its menu-bar picture;
    // a hot button on the selection picture in white.
    menu->SetUIStyle(MacOS);
    auto mac = Snapshot(&Bar());
    EXPECT_EQ(mac->Canvas().Pixels(x, 0), 0xE9E9E9);
    EXPECT_EQ(mac->Canvas().Pixels(x, 1), 0xFFFFFF);
    EXPECT_EQ(mac->Canvas().Pixels(x, 20), 0xD4D4D4);
    EXPECT_EQ(mac->Canvas().Pixels(x, 21), 0x5D5B5B);
    Hover(&Bar(), Inside(1).X, Inside(1).Y);
    mac = Snapshot(&Bar());
    const TRect edit = Button(1).BoundsRect();
    EXPECT_EQ(mac->Canvas().Pixels(edit.Left, edit.Top), 0xB35923);
    EXPECT_GT(CountColour(*mac, edit, clWhite), 0);
}

TEST_F(MenuBarTest, RepaintingHotAndPressedButtonsLeaksNoHandles)
{
    holder->SetMenu(menu);
    ShowForm();
    TOwned<TBitmap> target = MakeOwned<TBitmap>();
    target->SetSize(Bar().Width(), Bar().Height());
    auto repaint = [&](int rounds) {
        for (int i = 0; i < rounds; ++i) {
            bool defaultDraw = true;
            holder->DrawMenuBarBackground(&Bar(), Bar().ClientRect(), defaultDraw);
            holder->DrawMenuBarButton(&Bar(), &Button(i % 2), (i % 2) ? cdsHot : (cdsHot | cdsSelected), defaultDraw);
        }
    };
    for (TkypUIStyle style : {DeepBlue, MacOS}) {
        menu->SetUIStyle(style);
        Bar().Canvas().SetHandle(target->Canvas().Handle());
        repaint(10);
        const int gdi = CountGdiObjects(), windows = CountThreadWindows();
        repaint(500);
        Bar().Canvas().SetHandle(nullptr);
        EXPECT_EQ(CountGdiObjects(), gdi) << style;
        EXPECT_EQ(CountThreadWindows(), windows) << style;
    }
}

// ------------------------------------------------------ keys and drop-downs

TEST_F(MenuBarTest, LettersWithoutAltReachTheBarOnlyWhileItIsInUse)
{
    holder->SetMenu(menu);
    ShowForm();
    MSG waiting{};
    EXPECT_EQ(Bar().Perform(CM_DIALOGCHAR, L'e', 1), 0);
    EXPECT_FALSE(PeekMessageW(&waiting, Bar().Handle(), WM_APP, 0xBFFF, PM_NOREMOVE));

    // Alt+E, then E while File is hot: both open Edit.
    MenuRobot robot(Steps{{VK_ESCAPE}, {VK_ESCAPE}});
    EXPECT_EQ(Bar().Perform(CM_DIALOGCHAR, L'e', kAltKeyData), 1);
    Pump();
    Hover(&Bar(), Inside(0).X, Inside(0).Y);
    ASSERT_EQ(Button(0).Tag(), 888);
    EXPECT_EQ(Bar().Perform(CM_DIALOGCHAR, L'e', 1), 1);
    Pump();
    robot.Join();
    EXPECT_EQ(robot.counts, (std::vector<int>{3, 3}));
    EXPECT_TRUE(clicks.empty());
}

TEST_F(MenuBarTest, AClickOrAltLetterOpensItsDropDownAndAKeyChoosesAnItem)
{
    menu->SetAutoHotkeys(TMenuAutoFlag::maManual);
    holder->SetMenu(menu);
    ShowForm();
    bool synced = false;
    Later(50, [&] {
        TDropDownMenu* dropDown = Bar().DropDown();
        synced = dropDown && dropDown->OnPopup && dropDown->AutoHotkeys() == TMenuAutoFlag::maManual;
    });
    MenuRobot robot(Steps{{VK_DOWN, VK_DOWN, VK_RETURN}}, LaterRan(1));
    Click(1);
    robot.Join();
    Pump();
    EXPECT_EQ(robot.counts, std::vector<int>{3});
    EXPECT_EQ(clicks, std::vector<std::wstring>{L"C&opy"});
    EXPECT_TRUE(synced) << "the bar's own drop-down was given its OnPopup";

    // Alt+H opens Help's drop-down, past the hidden button.
    MenuRobot second(Steps{{VK_DOWN, VK_RETURN}});
    Post(form.get(), WM_SYSCHAR, L'h', kAltKeyData);
    second.Join();
    Pump();
    EXPECT_EQ(second.counts, std::vector<int>{1});
    EXPECT_EQ(clicks.back(), L"&About");
}

TEST_F(MenuBarTest, RebuildingOrFreeingTheMenuFromInsideADropDownIsSafe)
{
    holder->SetMenu(menu);
    ShowForm();
    TToolButton* before = &Button(0);
    bool sameWhileOpen = false;
    Later(50, [&] {
        menu->MenuAdded();  // a full rebuild, with File's drop-down open
        sameWhileOpen = holder->Bar()->ButtonCount() == 4 && holder->Bar()->Buttons(0) == before;
    });
    MenuRobot robot(Steps{{VK_ESCAPE}}, LaterRan(1));
    Click(0);
    robot.Join();
    Pump();
    EXPECT_EQ(robot.counts, std::vector<int>{2});
    EXPECT_TRUE(sameWhileOpen);
    ASSERT_EQ(Bar().ButtonCount(), 4);
    EXPECT_EQ(Button(1).Caption(), L"&Edit");

    // The menu freed while its drop-down is open: the bar goes once it closes.
    Later(50, [&] { FreeObject(menu); });
    Click(1);
    Pump();
    EXPECT_EQ(holder->Bar(), nullptr);
    EXPECT_EQ(holder->Menu(), nullptr);
    EXPECT_EQ(panel->ControlCount(), 0);
    EXPECT_TRUE(clicks.empty());
}

// ------------------------------------------------------------ pictures

TEST_F(MenuBarTest, PicturesOfEveryStyleIdleHotAndWithADropDownOpen)
{
    const std::filesystem::path dir = "screens";
    std::filesystem::create_directories(dir);
    auto* theme = New<TkypFileTheme>(form.get());
    theme->SetThemeFile(SampleSkinFile());
    holder->SetMenu(menu);
    ShowForm();
    auto save = [&](const String& name) { Snapshot(&Bar())->SaveToFile((dir / (L"menubar_" + name + L".bmp")).wstring()); };
    const std::pair<TkypUIStyle, const wchar_t*> styles[] = {{MacOS, L"macos"}, {WinXP, L"winxp"},
        {DeepBlue, L"deepblue"}, {Protein, L"protein"}, {BlueGlass, L"blueglass"}, {FromThemeFile, L"copper"}};
    // Each style's hot frame colour, and the sample skin's.
    const TColor frames[] = {0, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E, CopperSkin::SKIN2_TOPSELECTEDMENUBORDERCOLOR};
    int i = 0;
    for (const auto& [style, name] : styles) {
        SCOPED_TRACE(String(name));
        holder->StyleChanged(style, style == FromThemeFile ? theme : nullptr);
        Hover(&Bar(), Bar().Width() - 3, 3);
        TOwned<TBitmap> idle = Snapshot(&Bar());
        save(String(name) + L"_idle");
        Hover(&Bar(), Inside(1).X, Inside(1).Y);
        TOwned<TBitmap> hot = Snapshot(&Bar());
        save(String(name) + L"_hot");
        const TRect edit = Button(1).BoundsRect();
        const TColor frame = frames[i++];
        if (style == MacOS) {  // the selection picture's edge
            EXPECT_EQ(hot->Canvas().Pixels(edit.Left, edit.Top), 0xB35923);
        } else {
            EXPECT_EQ(hot->Canvas().Pixels(edit.Left, edit.Top), frame);
            EXPECT_EQ(CountColour(*idle, edit, frame), 0);
        }
        EXPECT_NE(idle->Canvas().Pixels(edit.Left, edit.Top), hot->Canvas().Pixels(edit.Left, edit.Top));
    }
    SysLocale.MiddleEast = true;
    Bar().SetBiDiMode(TBiDiMode::bdRightToLeft);
    save(L"copper_rtl");
    EXPECT_EQ(Button(0).Left() + Button(0).Width(), Bar().ClientWidth());
    Bar().SetBiDiMode(TBiDiMode::bdLeftToRight);
    SysLocale.MiddleEast = false;
    Bar().Repaint();  // laid out left to right again

    // The screen while Edit's drop-down is open.
    const TPoint origin = form->ClientToScreen(TPoint(0, 0));
    auto screen = MakeOwned<TBitmap>();
    screen->SetSize(form->Width(), 160);
    Later(120, [&] {
        const TClientDC desktop(nullptr);
        BitBlt(screen->Canvas().Handle(), 0, 0, screen->Width(), screen->Height(), desktop.Handle(), origin.X,
            origin.Y, SRCCOPY);
    });
    MenuRobot robot(Steps{{VK_DOWN, VK_ESCAPE}}, LaterRan(1));
    Click(1);
    robot.Join();
    Pump();
    screen->SaveToFile((dir / L"menubar_copper_dropdown.bmp").wstring());
    EXPECT_EQ(robot.counts, std::vector<int>{3});
    // The drop-down covers the white form under Edit.
    const TRect under(Button(1).Left() + 4, Bar().Height() + 6, Button(1).Left() + 40, Bar().Height() + 40);
    EXPECT_LT(CountColour(*screen, under, clWhite), under.Width() * under.Height() / 2);
}
