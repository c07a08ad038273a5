// The skinned MDI frame on a real MDI form under Wine: what it does to the
// form when it comes and goes, the answers its skinned children ask for,
// a skinned child inside it, whose keys its menu takes, and its handles
// over many children.
#include <gtest/gtest.h>

#include <vector>

#include "FreedMemoryPoison.h"
#include "HandleCounts.h"
#include "HeldKeys.h"
#include "MDIHarness.h"
#include "SampleSkin.h"

#include "KYPForm.h"
#include "KYPMDIForm.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "TypInfo.h"
#include "WindowSubclass.h"

namespace {

struct TFrameThickness {
    int Left = 0, Bottom = 0;
};

// Measured from the window as the system frames it.
TFrameThickness Thickness(HWND window)
{
    RECT bounds{}, client{};
    GetWindowRect(window, &bounds);
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return {origin.x - bounds.left, bounds.bottom - (origin.y + client.bottom)};
}

class MDIFrameTest : public MDIHarness {
protected:
    void SetUp() override
    {
        MDIHarness::SetUp();
        mdi->SetBorderStyle(TFormBorderStyle::bsSizeable);
        mdi->SetCaption(L"Frame");
    }

    HWND Window() { return mdi->Handle(); }
    LONG_PTR Style() { return GetWindowLongPtrW(Window(), GWL_STYLE); }
    TkypMDIForm* AddFrame() { return New<TkypMDIForm>(mdi); }

    TMainMenu* MenuWith(int& clicks)
    {
        auto* menu = New<TMainMenu>(mdi);
        auto* file = New<TMenuItem>(menu);
        file->SetCaption(L"&File");
        menu->Items()->Add(file);
        auto* record = New<TMenuItem>(menu);
        record->SetCaption(L"&Record");
        record->SetShortCut(ShortCut('R', scCtrl));
        record->OnClick = [&clicks](TObject*) { ++clicks; };
        file->Add(record);
        return menu;
    }
    TForm* Child(bool skinned)
    {
        TForm* child = ShowChild(10, 10, 240, 160);
        if (skinned) New<TkypForm>(child);
        return child;
    }
    // A new child, maximised; null when the system did not maximise it.
    TForm* MaximisedChild(bool skinned)
    {
        TForm* child = Child(skinned);
        child->SetWindowState(TWindowState::wsMaximized);
        Pump();
        return IsZoomed(child->Handle()) ? child : nullptr;
    }
    static TkypForm* FrameOf(TForm* child) { return dynamic_cast<TkypForm*>(child->Controls(0)); }
    static bool AnyControlButtonShown(TkypMDIForm* frame)
    {
        bool shown = false;
        for (TkypChildButton slot : {TkypChildButton::Close, TkypChildButton::Restore, TkypChildButton::Minimize})
            shown = shown || frame->ControlButtons()->Button(slot)->Visible();
        return shown;
    }
    std::vector<TRect> ChildBounds()
    {
        std::vector<TRect> bounds;
        for (int i = mdi->MDIChildCount() - 1; i >= 0; --i) bounds.push_back(mdi->MDIChildren(i)->BoundsRect());
        return bounds;
    }
};

}  // namespace

TEST_F(MDIFrameTest, CreationSkinsTheFormAndTeardownGivesItBack)
{
    mdi->SetBorderStyle(TFormBorderStyle::bsSingle);
    Window();  // the client comes with the form's window
    const HWND client = mdi->ClientHandle();
    ASSERT_NE(client, nullptr);
    const LONG_PTR clientProcedure = GetWindowLongPtrW(client, GWLP_WNDPROC);
    ASSERT_NE(Style() & WS_CAPTION, 0);
    int clicks = 0;
    mdi->SetMenu(MenuWith(clicks));

    TkypMDIForm* frame = AddFrame();
    ShowFrame();
    EXPECT_EQ(Style() & WS_CAPTION, 0);
    EXPECT_EQ(mdi->Menu(), nullptr);  // the system shows no menu bar
    EXPECT_EQ(mdi->BorderStyle(), TFormBorderStyle::bsDialog);
    EXPECT_EQ(frame->TitleBar()->Parent(), mdi);
    EXPECT_EQ(frame->TitleBar()->Caption(), L"Frame");
    EXPECT_EQ(frame->TitleBar()->Top(), 0);
    // The children ask the frame for the form's unskinned frame.
    // A single border with a caption is the system's fixed (dialog) frame.
    EXPECT_EQ(SendMessageW(Window(), KYPM_MDIBOTTOMBORDER, 0, 0), GetSystemMetrics(SM_CYFIXEDFRAME));
    EXPECT_EQ(SendMessageW(Window(), KYPM_MDILEFTBORDER, 0, 0), GetSystemMetrics(SM_CXFIXEDFRAME));
    EXPECT_NE(GetWindowLongPtrW(client, GWLP_WNDPROC), clientProcedure);

    // Without a menu the top panel hides; with one it lies between the
    // title bar and the MDI client, which takes the rest.
    EXPECT_FALSE(frame->TopPanel()->Visible());
    EXPECT_EQ(frame->GetTitleBarHeight(), frame->TitleBar()->Height());
    auto* menu = MenuWith(clicks);
    frame->SetMenu(menu);
    Pump();
    ASSERT_NE(frame->MenuBar(), nullptr);
    EXPECT_TRUE(frame->TopPanel()->Visible());
    EXPECT_EQ(frame->TopPanel()->Top(), frame->TitleBar()->Height());
    EXPECT_EQ(frame->GetTitleBarHeight(), frame->TitleBar()->Height() + frame->TopPanel()->Height());
    RECT clientRect{};
    GetWindowRect(client, &clientRect);
    POINT origin{0, 0};
    ClientToScreen(Window(), &origin);
    EXPECT_EQ(clientRect.top - origin.y, frame->GetTitleBarHeight());
    // The menu going takes the bar and the panel's room with it.
    FreeObject(menu);
    Pump();
    EXPECT_EQ(frame->MenuBar(), nullptr);
    EXPECT_FALSE(frame->TopPanel()->Visible());

    FreeObject(frame);
    Pump();
    EXPECT_NE(Style() & WS_CAPTION, 0);
    EXPECT_EQ(GetWindowLongPtrW(client, GWLP_WNDPROC), clientProcedure);
    // The client still arranges children with its own procedure.
    TForm* child = Child(false);
    SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child->Handle()), 0);
    EXPECT_TRUE(IsZoomed(child->Handle()));
}

TEST_F(MDIFrameTest, AnOwnerThatIsNoFormIsRefusedAndTheTitleBarsLossIsSurvived)
{
    auto holder = MakeOwned<TComponent>(nullptr);
    try {
        New<TkypMDIForm>(holder.get());
        ADD_FAILURE() << "no exception";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), L"Sorry, TkypMDIForm must be placed on a form");
    }
    EXPECT_EQ(holder->ComponentCount(), 0);

    TkypMDIForm* frame = AddFrame();
    ShowFrame();
    FreeObject(frame->TitleBar());
    EXPECT_EQ(frame->TitleBar(), nullptr);
    EXPECT_EQ(frame->InactiveCaptionColor(), clInactiveCaption);
    frame->SetCaption(L"Still framed");  // nothing left to name but the form
    frame->SetUIStyle(WinXP);
    SendMessageW(Window(), WM_NCPAINT, 1, 0);
    EXPECT_EQ(mdi->Caption(), L"Still framed");
}

TEST_F(MDIFrameTest, StylesSetTheOutlineAndASkinFileTheMinimumSize)
{
    TkypMDIForm* frame = AddFrame();
    ShowFrame();
    frame->SetUIStyle(WinXP);  // rounded top corners of 13
    EXPECT_EQ(frame->RoundCorner(), 13);
    EXPECT_EQ(frame->TitleBar()->RoundCorner(), 0);  // the frame owns the corners
    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(Window(), region.get()), ERROR);
    EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 0, mdi->Height() - 1));
    frame->SetTitleBarVisible(false);
    frame->UpdateFormRegion();
    ASSERT_NE(GetWindowRgn(Window(), region.get()), ERROR);
    EXPECT_TRUE(PtInRegion(region.get(), 0, 0));  // square without a title bar

    frame->SetTitleBarVisible(true);
    auto theme = MakeOwned<TkypFileTheme>(nullptr);
    theme->SetThemeFile(SampleSkinFile());
    ASSERT_TRUE(theme->CanUse());
    frame->SetFileTheme(theme.get());
    frame->SetUIStyle(FromThemeFile);
    // Copper's title pieces are 40 and 110 wide, a title button 54: the
    // right piece outweighs the buttons' room. Its title picture is 30 rows
    // (27 below the frame's top), the menu bar's row 22 (hidden here,
    // counted all the same), the bottom border 5.
    ASSERT_FALSE(CopperSkin::SKIN2_TITLEFIVESECT);
    EXPECT_EQ(mdi->Constraints().MinWidth(), 40 + 110);
    EXPECT_EQ(mdi->Constraints().MinHeight(), 27 + 22 + 5 + 3);
    // The theme going back to no file: the frame falls back to DeepBlue.
    theme.reset();
    EXPECT_EQ(frame->UIStyle(), DeepBlue);
    EXPECT_EQ(frame->RoundCorner(), 0);
}

TEST_F(MDIFrameTest, ASkinnedChildLivesInTheSkinnedFrame)
{
    TkypMDIForm* frame = AddFrame();
    ShowFrame();
    TForm* child = Child(true);
    Pump();
    auto* childFrame = dynamic_cast<TkypForm*>(child->Controls(0));
    ASSERT_NE(childFrame, nullptr);
    ASSERT_TRUE(childFrame->MDIChild());
    const HWND window = child->Handle();
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(childFrame->MenuBar(), nullptr);  // a child's menu is the frame's to show
    EXPECT_TRUE(childFrame->TitleBarVisible());
    child->SetWindowState(TWindowState::wsMaximized);
    Pump();
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_FALSE(childFrame->TitleBarVisible());  // the frame's title bar serves
    // Its buttons come to the frame's menu-bar row, shown without a menu.
    ASSERT_NE(frame->ControlButtons(), nullptr);
    EXPECT_TRUE(frame->TopPanel()->Visible());
    EXPECT_EQ(Snapshot(frame->TopPanel())->Canvas().Pixels(2, 2), static_cast<TColor>(0xE8E8E8))
        << "DeepBlue's menu-bar colour, as the frame's strips beside the row";
    EXPECT_TRUE(frame->ControlButtons()->Button(TkypChildButton::Close)->Visible());
    child->SetWindowState(TWindowState::wsNormal);
    Pump();
    EXPECT_FALSE(IsZoomed(window));
    EXPECT_TRUE(childFrame->TitleBarVisible());
    EXPECT_FALSE(frame->ControlButtons()->Button(TkypChildButton::Close)->Visible());
    EXPECT_FALSE(frame->TopPanel()->Visible());
    FreeObject(child);
    Pump();
    EXPECT_EQ(mdi->MDIChildCount(), 0);
}

TEST_F(MDIFrameTest, TheBarShowsTheActiveSkinnedChildsMenuAndTheFramesOwnOtherwise)
{
    int clicks = 0;
    TkypMDIForm* frame = AddFrame();
    TMainMenu* own = MenuWith(clicks);
    frame->SetMenu(own);
    auto* windows = New<TMenuItem>(own);
    windows->SetCaption(L"&Window");
    own->Items()->Add(windows);
    mdi->SetWindowMenu(windows);
    ShowFrame();
    TForm* withMenu = Child(true);
    auto* childMenu = New<TMainMenu>(withMenu);
    for (const wchar_t* caption : {L"&Edit", L"&View", L"&Tools"}) {
        auto* item = New<TMenuItem>(childMenu);
        item->SetCaption(caption);
        childMenu->Items()->Add(item);
    }
    dynamic_cast<TkypForm*>(withMenu->Controls(0))->SetMenu(childMenu);
    TForm* plain = Child(true);
    Pump();
    const auto captions = [&] {
        std::vector<String> shown;
        TkypMenuBar* bar = frame->MenuBar();
        for (int i = 0; bar && i < bar->ButtonCount(); ++i) shown.push_back(bar->Buttons(i)->Caption());
        return shown;
    };
    const std::vector<String> ownCaptions{L"&File", L"&Window"};
    EXPECT_EQ(captions(), ownCaptions) << "the active child has no menu";

    withMenu->BringToFront();
    Pump();
    EXPECT_EQ(captions(), (std::vector<String>{L"&Edit", L"&View", L"&Tools"}));
    EXPECT_TRUE(frame->TopPanel()->Visible());
    EXPECT_EQ(windows->Count(), 3) << "a separator and one entry per child";
    FreeObject(plain);
    Pump();
    EXPECT_EQ(windows->Count(), 3) << "the entries stay while a child's menu shows";

    Child(false);
    Child(true);  // active now, without a menu
    Pump();
    EXPECT_EQ(captions(), ownCaptions);
    EXPECT_EQ(windows->Count(), 4) << "rebuilt with the frame's own menu back";
    frame->SetTitleBarDrawChildMenus(false);
    withMenu->BringToFront();
    Pump();
    EXPECT_EQ(captions(), ownCaptions);
    frame->SetTitleBarDrawChildMenus(true);
    EXPECT_EQ(captions(), (std::vector<String>{L"&Edit", L"&View", L"&Tools"}));
    FreeObject(withMenu);
    Pump();
    EXPECT_EQ(captions(), ownCaptions) << "its child closed";
    EXPECT_EQ(frame->Menu(), own);
}

// A modeless tool window's key reaches the frame's menu too; none does
// while the form is disabled, as behind a modal box of the program.
TEST_F(MDIFrameTest, MenuShortcutsComeFromEveryWindowOfTheProgramWhileTheFormIsEnabled)
{
    int clicks = 0;
    TkypMDIForm* frame = AddFrame();
    frame->SetMenu(MenuWith(clicks));
    ShowFrame();
    TForm* child = Child(false);
    auto* tool = New<TForm>(mdi);
    tool->SetBorderStyle(TFormBorderStyle::bsToolWindow);
    tool->SetBounds(200, 200, 200, 120);
    tool->Show();
    Pump();

    THeldKeys ctrl{VK_CONTROL};
    KeyDown(child, 'R');
    EXPECT_EQ(clicks, 1);
    KeyDown(tool, 'R');
    EXPECT_EQ(clicks, 2);
    EnableWindow(Window(), FALSE);
    KeyDown(tool, 'R');
    KeyDown(child, 'R');
    EXPECT_EQ(clicks, 2);
    EnableWindow(Window(), TRUE);
    ctrl.Release();
    KeyDown(tool, 'R');
    EXPECT_EQ(clicks, 2);
}

TEST_F(MDIFrameTest, HandlesStayFlatOverManySkinnedChildren)
{
    AddFrame();
    ShowFrame();
    auto cycle = [this] {
        TForm* child = Child(true);
        Pump();
        FreeObject(child);
        Pump();
    };
    cycle();
    const int gdi = CountGdiObjects();
    const int windows = CountThreadWindows();
    for (int i = 0; i < 100; ++i) cycle();
    EXPECT_LE(CountGdiObjects(), gdi + 2);
    EXPECT_EQ(CountThreadWindows(), windows);
}

TEST_F(MDIFrameTest, AChildsMenuShortcutFiresTheChildsItemOnceAndTheFramesNever)
{
    int frameClicks = 0, childClicks = 0;
    TkypMDIForm* frame = AddFrame();
    frame->SetMenu(MenuWith(frameClicks));
    ShowFrame();
    TForm* child = Child(true);
    FrameOf(child)->SetMenu(MenuWith(childClicks));  // also Ctrl+R
    frame->UpdateMenu();
    Pump();
    ASSERT_EQ(frame->MenuSource()->Shown(), FrameOf(child)->Menu());
    const THeldKeys ctrl{VK_CONTROL};
    KeyDown(child, 'R');
    Pump();
    EXPECT_EQ(childClicks, 1);
    EXPECT_EQ(frameClicks, 0);
    // The child's menu gone, the frame's own takes the key again.
    FrameOf(child)->SetMenu(nullptr);
    frame->UpdateMenu();
    Pump();
    KeyDown(child, 'R');
    Pump();
    EXPECT_EQ(childClicks, 1);
    EXPECT_EQ(frameClicks, 1);
}

TEST_F(MDIFrameTest, AFormWindowMadeAnewKeepsTheChildButtonsAndTheFramesOwnTiling)
{
    TkypMDIForm* frame = AddFrame();
    ShowFrame();
    Child(true);
    TForm* child = Child(true);
    mdi->RecreateWnd();
    Pump();
    ASSERT_EQ(mdi->MDIChildCount(), 2);
    child->BringToFront();
    child->SetWindowState(TWindowState::wsMaximized);
    Pump();
    ASSERT_TRUE(IsZoomed(child->Handle()));
    EXPECT_TRUE(frame->ControlButtons()->Button(TkypChildButton::Close)->Visible());
    child->SetWindowState(TWindowState::wsNormal);
    Pump();
    EXPECT_FALSE(AnyControlButtonShown(frame));

    mdi->SetClientWidth(600);
    mdi->SetClientHeight(400);
    mdi->SetTileMode(TTileMode::tbHorizontal);
    mdi->Tile();
    Pump();
    // DeepBlue's 29 title rows and the 22 of the buttons' row, hidden now
    // but counted, leave 349 rows: 174 for each child, 2 apart.
    EXPECT_EQ(ChildBounds(), (std::vector<TRect>{TRect(0, 0, 596, 172), TRect(0, 172, 596, 344)}));
}

TEST_F(MDIFrameTest, AFormWindowDestroyedAndMadeLaterKeepsTheChildButtons)
{
    TkypMDIForm* frame = AddFrame();
    ShowFrame();
    mdi->DestroyHandle();
    ShowFrame();
    ASSERT_NE(MaximisedChild(true), nullptr);
    EXPECT_TRUE(AnyControlButtonShown(frame));
}

TEST_F(MDIFrameTest, AMaximisedChildWithoutASkinnedFrameGetsNoControlButtons)
{
    TkypMDIForm* frame = AddFrame();
    ShowFrame();
    ASSERT_NE(MaximisedChild(false), nullptr);
    EXPECT_FALSE(AnyControlButtonShown(frame));
    EXPECT_FALSE(frame->TopPanel()->Visible()) << "no menu and no buttons: no row";
}

TEST_F(MDIFrameTest, TheTitleBarPropertiesAndTheArrangementThroughTheComponent)
{
    TkypMDIForm* frame = AddFrame();
    ShowFrame();
    SetOrdProp(frame, L"TitleBarDrawAppIcon", 0);
    EXPECT_FALSE(frame->TitleBar()->DrawAppIcon());
    SetOrdProp(frame, L"TitleBarDrawAppIcon", 1);
    EXPECT_EQ(GetOrdProp(frame, L"TitleBarDrawAppIcon"), 1);
    SetOrdProp(frame, L"TitleBarCustom", 1);
    EXPECT_TRUE(frame->TitleBar()->Custom());
    EXPECT_EQ(GetObjectProp(frame, L"TitleBarButtons"), frame->TitleBar()->Buttons());
    EXPECT_EQ(GetObjectProp(frame, L"TitleBarSections"), frame->TitleBar()->Sections());
    // A collection handed in is copied, not taken.
    auto source = MakeOwned<TkypTitleBarButtons>(nullptr);
    source->Add()->SetButtonType(kypClose);
    SetObjectProp(frame, L"TitleBarButtons", source.get());
    ASSERT_EQ(frame->TitleBarButtons()->Count(), 1);
    EXPECT_EQ(frame->TitleBarButtons()->Items(0)->ButtonType(), kypClose);
    EXPECT_NE(frame->TitleBarButtons(), source.get());

    // No menu: the window menu gets nothing; with the frame's menu shown,
    // a line and one entry per child.
    int clicks = 0;
    TMainMenu* menu = MenuWith(clicks);
    auto* windows = New<TMenuItem>(menu);
    windows->SetCaption(L"&Window");
    menu->Items()->Add(windows);
    mdi->SetWindowMenu(windows);
    Child(false);
    Child(false);
    frame->UpdateWindowMenu();
    EXPECT_EQ(windows->Count(), 0);
    frame->SetMenu(menu);
    frame->UpdateWindowMenu();
    EXPECT_EQ(windows->Count(), 3);

    frame->Cascade();
    // Cascade: 80 % by 60 % of the client, the last child at the origin.
    const int w = mdi->ClientWidth() * 8 / 10, h = mdi->ClientHeight() * 6 / 10;
    EXPECT_EQ(ChildBounds(), (std::vector<TRect>{TRect(0, 0, w, h), TRect(22, 22, 22 + w, 22 + h)}));
    mdi->SetClientWidth(600);
    mdi->SetClientHeight(400);
    mdi->SetTileMode(TTileMode::tbHorizontal);
    frame->Tile();
    // 29 title rows and a 22-row menu bar, as above.
    EXPECT_EQ(ChildBounds(), (std::vector<TRect>{TRect(0, 0, 596, 172), TRect(0, 172, 596, 344)}));
}

TEST_F(MDIFrameTest, TheBorderAnswerIsWhereTheClientAreaStarts)
{
    const TFrameThickness old = Thickness(Window());
    TkypMDIForm* frame = AddFrame();
    ShowFrame();
    const auto answer = [this] { return static_cast<int>(SendMessageW(Window(), KYPM_BORDERWIDTH, 0, 0)); };
    // Built in: the unskinned bottom frame less one, where the client starts.
    EXPECT_EQ(answer(), old.Bottom - 1);
    EXPECT_EQ(answer(), Thickness(Window()).Left);
    auto theme = MakeOwned<TkypFileTheme>(nullptr);
    theme->SetThemeFile(SampleSkinFile());
    ASSERT_TRUE(theme->CanUse());
    frame->SetFileTheme(theme.get());
    frame->SetUIStyle(FromThemeFile);
    const int left = SampleSkinPicture(L"SKIN2_FORMLEFTBORDER")->Width();
    EXPECT_EQ(answer(), std::max(left, 4));
    EXPECT_EQ(answer(), Thickness(Window()).Left);
    frame->SetFileTheme(nullptr);
}

// A dialog frame is one pixel narrower than a sizeable one at the bottom:
// the unskinned bottom less one would put the title bar's picture a pixel
// left of where its client area, and the border's copy of it, start.
TEST_F(MDIFrameTest, ADialogFramedFormAnswersWhereItsClientAreaStartsToo)
{
    mdi->SetBorderStyle(TFormBorderStyle::bsSingle);
    const TFrameThickness old = Thickness(Window());
    AddFrame();
    ShowFrame();
    ASSERT_EQ(mdi->BorderStyle(), TFormBorderStyle::bsDialog);
    const int answer = static_cast<int>(SendMessageW(Window(), KYPM_BORDERWIDTH, 0, 0));
    EXPECT_EQ(answer, Thickness(Window()).Left);
    EXPECT_EQ(answer, old.Bottom);
}

TEST_F(MDIFrameTest, TheBuiltInBorderFillsThreeRowsAboveTheBottomLineAndBesideAButtonsRow)
{
    int clicks = 0;
    TkypMDIForm* frame = AddFrame();
    frame->SetMenu(MenuWith(clicks));
    ShowFrame();
    frame->PaintFormBorder();
    const TRect extent = WindowExtent(Window());
    const int w = extent.Width(), h = extent.Height();
    const auto pixel = [this](int x, int y) { return GetPixel(TWindowDC(Window()).Handle(), x, y); };
    // DeepBlue: a black outer line, inside it the menu bar's colour.
    EXPECT_EQ(pixel(w / 2, h - 1), RGB(0, 0, 0));
    EXPECT_EQ(pixel(w / 2, h - 2), RGB(0xE8, 0xE8, 0xE8));
    EXPECT_EQ(pixel(w / 2, h - 3), RGB(0xE8, 0xE8, 0xE8));
    EXPECT_EQ(pixel(1, frame->TitleBar()->Height() + 3), RGB(0xE8, 0xE8, 0xE8));
    EXPECT_EQ(pixel(w - 2, h / 2), RGB(0xE8, 0xE8, 0xE8));
    // Beside the row of a maximised child's buttons, with no menu bar, the
    // side strips run on up to the title bar.
    frame->SetMenu(nullptr);
    Child(true)->SetWindowState(TWindowState::wsMaximized);
    Pump();
    ASSERT_TRUE(frame->TopPanel()->Visible());
    ASSERT_EQ(frame->MenuBar(), nullptr);
    const int beside = frame->TitleBar()->Height() + 3 + frame->TopPanel()->Height() / 2;
    SetPixel(TWindowDC(Window()).Handle(), 1, beside, RGB(0xFF, 0, 0));
    frame->PaintFormBorder();
    EXPECT_EQ(pixel(1, beside), RGB(0xE8, 0xE8, 0xE8));
}

TEST_F(MDIFrameTest, AChildFramedBeforeItsWindowIsMeasuredLikeOneFramedAfter)
{
    AddFrame();
    ShowFrame();
    TForm* after = Child(true);
    auto* before = New<TForm>(mdi);
    before->SetFormStyle(TFormStyle::fsMDIChild);
    before->SetBounds(10, 10, 240, 160);
    ASSERT_FALSE(before->HandleAllocated());
    New<TkypForm>(before);
    before->Show();
    Pump();
    ASSERT_GT(SendMessageW(Window(), KYPM_MDILEFTBORDER, 0, 0), 0);
    const TFrameThickness framedAfter = Thickness(after->Handle());
    const TFrameThickness framedBefore = Thickness(before->Handle());
    EXPECT_EQ(framedBefore.Left, framedAfter.Left);
    EXPECT_EQ(framedBefore.Bottom, framedAfter.Bottom);
}

// A skinned child's frame freed by what its own sends to the client run:
// the nested size notice of its maximising (the frame's row of child
// buttons narrows the client) and the menu refresh of its activation.
TEST_F(MDIFrameTest, AChildsFrameFreedInsideItsOwnSendsLetsTheOuterMessageFinish)
{
    TPoisonFreedMemory poison;
    TkypMDIForm* frame = AddFrame();
    ShowFrame();
    TForm* child = Child(false);
    TkypForm* childFrame = New<TkypForm>(child);
    Pump();
    child->OnResize = [&](TObject*) {
        if (childFrame && frame->TopPanel()->Visible()) FreeAndNil(childFrame);
    };
    child->SetWindowState(TWindowState::wsMaximized);
    Pump();
    EXPECT_EQ(childFrame, nullptr);
    EXPECT_EQ(poison.Faults(), 0);
    child->OnResize = nullptr;
    child->SetWindowState(TWindowState::wsNormal);

    childFrame = New<TkypForm>(Child(false));
    child->BringToFront();
    Pump();
    const TWindowSubclass client(mdi->ClientHandle(), [&](TMessage& message, const TSubclassNext& next) {
        next(message);
        // The frame's own asking names its child; the client's own does not.
        if (message.Msg == WM_MDIREFRESHMENU && message.WParam) FreeAndNil(childFrame);
    });
    childFrame->Form()->BringToFront();
    Pump();
    EXPECT_EQ(childFrame, nullptr);
    EXPECT_EQ(poison.Faults(), 0);
}

// A handler raising while the restored child's frame shows its title bar
// again leaves the frame hearing a visibility chosen later from outside.
TEST_F(MDIFrameTest, ATitleBarHiddenFromOutsideAfterAHandlerRaisedStaysHiddenAcrossAMaximise)
{
    AddFrame();
    ShowFrame();
    TForm* child = Child(true);
    TkypForm* childFrame = FrameOf(child);
    auto* label = New<TLabel>(child);  // windowless: its OnResize runs inside the frame's layout
    label->SetParent(childFrame);
    label->SetAlign(TAlign::alClient);
    bool armed = false;
    label->OnResize = [&](TObject*) {
        if (!armed || !childFrame->TitleBarVisible()) return;
        armed = false;
        throw Exception(L"resize refused");
    };
    child->SetWindowState(TWindowState::wsMaximized);
    armed = true;
    child->SetWindowState(TWindowState::wsNormal);
    Pump();
    ASSERT_FALSE(armed);
    ASSERT_EQ(errors.size(), 1u);
    errors.clear();
    childFrame->SetTitleBarVisible(false);
    child->SetWindowState(TWindowState::wsMaximized);
    child->SetWindowState(TWindowState::wsNormal);
    Pump();
    EXPECT_FALSE(childFrame->TitleBarVisible());
}

// The last child's window destroyed while it is maximised: the menu refresh its
// frame asks for first frees the frame.
TEST_F(MDIFrameTest, ALastChildsFrameFreedByTheRefreshItsWindowsEndAsksForLetsTheEndFinish)
{
    TPoisonFreedMemory poison;
    AddFrame();
    ShowFrame();
    TForm* child = ShowChild(10, 10, 240, 160, TWindowState::wsMaximized);
    TkypForm* childFrame = New<TkypForm>(child);
    Pump();
    const HWND window = child->Handle();
    const TWindowSubclass client(mdi->ClientHandle(), [&](TMessage& message, const TSubclassNext& next) {
        next(message);
        if (message.Msg == WM_MDIREFRESHMENU && message.WParam == reinterpret_cast<WPARAM>(window)) FreeAndNil(childFrame);
    });
    DestroyWindow(window);
    Pump();
    EXPECT_EQ(childFrame, nullptr);
    EXPECT_EQ(poison.Faults(), 0);
}

// The client's menu refresh runs the window menu's rebuild, whose
// handler frees the frame.
TEST_F(MDIFrameTest, AFrameFreedWhileItsClientRefreshesTheMenuLetsTheMessageFinish)
{
    TPoisonFreedMemory poison;
    TkypMDIForm* frame = AddFrame();
    int clicks = 0;
    TMainMenu* menu = MenuWith(clicks);
    mdi->SetWindowMenu(menu->Items()->Items(0));
    frame->SetMenu(menu);
    ShowFrame();
    frame->MenuSource()->OnChange = nullptr;  // only the frame's client procedure updates the bar
    frame->WindowMenuEntries()->OnRebuilt = [&](TObject*) { FreeAndNil(frame); };
    SendMessageW(mdi->ClientHandle(), WM_MDIREFRESHMENU, 0, 0);
    EXPECT_EQ(frame, nullptr);
    EXPECT_EQ(poison.Faults(), 0);
}

// A handler raising halfway through a style: the child buttons refuse their colour.
TEST_F(MDIFrameTest, AStyleThatRaisesHalfwayLeavesTheFramePaintingAndCutting)
{
    TkypMDIForm* frame = AddFrame();
    ShowFrame();
    bool raise = true;
    frame->ControlButtons()->Button(TkypChildButton::Close)->AddWindowHook(
        nullptr, [&raise](TMessage& message, const TWindowHookNext& next) {
            if (raise && message.Msg == CM_COLORCHANGED) throw Exception(L"colour refused");
            next(message);
        });
    EXPECT_THROW(frame->SetUIStyle(WinXP), Exception);
    raise = false;
    frame->SetUIStyle(WinXP);
    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(Window(), region.get()), ERROR);
    EXPECT_FALSE(PtInRegion(region.get(), 0, 0)) << "WinXP's rounded corner";
}

TEST_F(MDIFrameTest, AFrameFreedFromOnResizeWhileMaximisingLetsTheSizeNoticeFinish)
{
    TPoisonFreedMemory poison;
    TkypMDIForm* frame = AddFrame();
    ShowFrame();
    const TRect fitted = MaximisedFrameBounds();
    // The notice of the frame's own fitting, sent inside the system's.
    mdi->OnResize = [&](TObject*) {
        if (frame && IsZoomed(Window()) && mdi->BoundsRect() == fitted) FreeAndNil(frame);
    };
    mdi->SetWindowState(TWindowState::wsMaximized);
    Pump();
    EXPECT_EQ(poison.Faults(), 0);
    EXPECT_EQ(frame, nullptr);
    EXPECT_NE(Style() & WS_CAPTION, 0);
    mdi->OnResize = nullptr;
}
