// The skinned form frame on a real form under Wine: what it does to the
// form's window when it comes and when it goes, the window's outline, the
// non-client layout, maximising, theme removal and the Alt+Space menu.
#include <gtest/gtest.h>

#include "FreeWatch.h"
#include "FreedMemoryPoison.h"
#include "HandleCounts.h"
#include "HeldKeys.h"
#include "SampleSkin.h"
#include "SkinFileSupport.h"
#include "TempDir.h"
#include "WindowHarness.h"

#include "KYPButton.h"
#include "KYPCheckBox.h"
#include "KYPForm.h"
#include "KYPRadioButton.h"
#include "Menus.h"
#include "TypInfo.h"

namespace {

struct TFrameInsets {
    int Left, Top, Right, Bottom;
    bool operator==(const TFrameInsets&) const = default;
};

void PrintTo(const TFrameInsets& i, std::ostream* os)
{
    *os << "(" << i.Left << ", " << i.Top << ", " << i.Right << ", " << i.Bottom << ")";
}

class FormFrameTest : public WindowHarness {
protected:
    TkypForm* AddFrame() { return New<TkypForm>(form.get()); }

    HWND Window() { return form->Handle(); }
    LONG_PTR Style() { return GetWindowLongPtrW(Window(), GWL_STYLE); }
    TRect WindowRect()
    {
        RECT r{};
        GetWindowRect(Window(), &r);
        return TRect(r.left, r.top, r.right, r.bottom);
    }
    // How far the client area lies from each edge of the window.
    TFrameInsets Insets()
    {
        RECT client{};
        GetClientRect(Window(), &client);
        POINT origin{0, 0};
        ClientToScreen(Window(), &origin);
        const TRect window = WindowRect();
        return {origin.x - window.Left, origin.y - window.Top, window.Right - origin.x - client.right,
                window.Bottom - origin.y - client.bottom};
    }
    // The window's region, in window coordinates; null without one.
    TRegionHandle Region()
    {
        TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
        if (GetWindowRgn(Window(), region.get()) == ERROR) return TRegionHandle();
        return region;
    }
    int BorderAnswer() { return static_cast<int>(SendMessageW(Window(), KYPM_BORDERWIDTH, 0, 0)); }
    // What the window shows at a point of its own (the non-client area included).
    TColor WindowPixel(int x, int y)
    {
        TWindowDC dc(Window());
        return static_cast<TColor>(GetPixel(dc.Handle(), x, y));
    }
    static void CtrlKey(TWinControl* control, WORD key)
    {
        const THeldKeys ctrl{VK_CONTROL};
        KeyDown(control, key);
    }
    // Counts the key presses that reach the control.
    static void CountKeyDowns(TWinControl* control, int& count)
    {
        control->AddWindowHook(nullptr, [&count](TMessage& message, const TWindowHookNext& next) {
            if (message.Msg == WM_KEYDOWN) ++count;
            next(message);
        });
    }
    // A menu whose one item Ctrl+R counts its clicks.
    static TMainMenu* CountingMenu(TForm* owner, int& clicks)
    {
        auto* menu = New<TMainMenu>(owner);
        auto* item = New<TMenuItem>(menu);
        item->SetCaption(L"&Record");
        item->SetShortCut(ShortCut('R', scCtrl));
        menu->Items()->Add(item);
        item->OnClick = [&clicks](TObject*) { ++clicks; };
        return menu;
    }

    TOwned<TkypFileTheme> SampleTheme()
    {
        auto theme = MakeOwned<TkypFileTheme>(nullptr);  // owned by nobody: only a free notice tells of its end
        theme->SetThemeFile(SampleSkinFile());
        EXPECT_TRUE(theme->CanUse());
        return theme;
    }
};

}  // namespace

TEST_F(FormFrameTest, CreationTakesTheCaptionFramesTheDialogAndAnswersTheBorderQuestion)
{
    form->SetBorderStyle(TFormBorderStyle::bsSingle);
    form->SetCaption(L"Frame test");
    ASSERT_NE(Style() & WS_CAPTION, 0);
    SendMessageW(Window(), WM_SETICON, ICON_BIG, 0);
    TkypForm* frame = AddFrame();
    EXPECT_EQ(Style() & WS_CAPTION, 0);
    EXPECT_EQ(form->BorderStyle(), TFormBorderStyle::bsDialog);
    // A dialog frame shows the application's icon when the form has none.
    ASSERT_TRUE(form->Icon().Empty());
    EXPECT_EQ(SendMessageW(Window(), WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(Application->Icon().Handle()));
    EXPECT_EQ(frame->Parent(), form.get());
    EXPECT_EQ(frame->Align(), TAlign::alClient);
    EXPECT_EQ(frame->Caption(), L"Frame test");
    EXPECT_EQ(frame->TitleBar()->Parent(), frame);
    EXPECT_EQ(DefaultStyleFor(form.get()), DeepBlue);
    ShowForm();

    // A built-in style: a three-pixel strip left, right and at the top, two
    // at the bottom; the title bar lines its picture up with the left one.
    EXPECT_EQ(Insets(), (TFrameInsets{3, 3, 3, 2}));
    EXPECT_EQ(BorderAnswer(), 3);
    // Drawn on the window itself: DeepBlue's black line, then its form colour.
    {
        frame->PaintFormBorder();
        TWindowDC dc(Window());
        const int w = WindowRect().Width(), h = WindowRect().Height();
        EXPECT_EQ(GetPixel(dc.Handle(), 0, h / 2), RGB(0, 0, 0));
        EXPECT_EQ(GetPixel(dc.Handle(), 2, h / 2), RGB(0xE8, 0xE8, 0xE8));
        EXPECT_EQ(GetPixel(dc.Handle(), w - 1, h / 2), RGB(0, 0, 0));
        EXPECT_EQ(GetPixel(dc.Handle(), w / 2, h - 2), RGB(0xE8, 0xE8, 0xE8));
        EXPECT_EQ(GetPixel(dc.Handle(), w / 2, h - 1), RGB(0, 0, 0));
    }
    frame->SetUIStyle(WinXP);  // a three-pixel outer line
    EXPECT_EQ(Insets(), (TFrameInsets{3, 3, 3, 3}));
    EXPECT_EQ(DefaultStyleFor(form.get()), WinXP);
    EXPECT_EQ(form->Constraints().MinHeight(), frame->TitleBar()->Height() + 3);

    // The sample skin's border pictures are five pixels wide and high.
    auto theme = SampleTheme();
    frame->SetFileTheme(theme.get());
    frame->SetUIStyle(FromThemeFile);
    const int left = SampleSkinPicture(L"SKIN2_FORMLEFTBORDER")->Width();
    const int right = SampleSkinPicture(L"SKIN2_FORMRIGHTBORDER")->Width();
    const int bottom = SampleSkinPicture(L"SKIN2_FORMBOTTOMBORDER1")->Height();
    EXPECT_EQ(Insets(), (TFrameInsets{left, 3, right, bottom}));
    EXPECT_EQ(BorderAnswer(), std::max(left, 4));
    frame->SetFileTheme(nullptr);

    // The published font is the title bar's; the panel keeps its own for
    // the controls placed on it.
    EXPECT_EQ(GetObjectProp(frame, L"Font"), &frame->TitleBar()->Font());
    const int panelSize = frame->Font().Size();
    auto font = MakeOwned<TFont>();
    font->SetSize(panelSize + 7);
    SetObjectProp(frame, L"Font", font.get());
    EXPECT_EQ(frame->TitleBar()->Font().Size(), panelSize + 7);
    EXPECT_EQ(frame->Font().Size(), panelSize);
}

// The system's new window rectangle is what the frame works from, not the
// move's WINDOWPOS: a recompute in place need not give a position.
TEST_F(FormFrameTest, TheClientAreaComesFromTheRectangleTheSystemHandsIn)
{
    AddFrame();
    ShowForm();
    RECT system{0, 0, 0, 0};  // the captionless form's own frame, which its procedure takes off
    AdjustWindowRectEx(&system, static_cast<DWORD>(Style()), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_EXSTYLE)));
    WINDOWPOS position{Window(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE};
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = RECT{100, 50, 400, 250};
    params.lppos = &position;
    SendMessageW(Window(), WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    // DeepBlue, old borders of 4: one row lower at the bottom, as (100, 50, 400, 251).
    EXPECT_EQ(TRect(params.rgrc[0].left, params.rgrc[0].top, params.rgrc[0].right, params.rgrc[0].bottom),
              TRect(100 - system.left, 50 - system.top, 400 - system.right, 251 - system.bottom));
    // Asked without a move, the frame leaves the question to the form.
    RECT rect{100, 50, 400, 250};
    SendMessageW(Window(), WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(TRect(rect.left, rect.top, rect.right, rect.bottom),
              TRect(100 - system.left, 50 - system.top, 400 - system.right, 250 - system.bottom));
}

TEST_F(FormFrameTest, ASecondFrameIsRefusedAndTheFirstKeepsItsForm)
{
    TkypForm* first = AddFrame();
    ShowForm();
    const int components = form->ComponentCount();
    try {
        AddFrame();
        ADD_FAILURE() << "a second frame was made";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), L"Sorry, You can create only one TkypForm component in one form!");
    }
    EXPECT_EQ(form->ComponentCount(), components);
    EXPECT_EQ(form->ControlCount(), 1);
    EXPECT_EQ(form->Controls(0), first);
    EXPECT_EQ(Style() & WS_CAPTION, 0);
    EXPECT_EQ(BorderAnswer(), 3);
    EXPECT_EQ(Insets(), (TFrameInsets{3, 3, 3, 2}));

    // A frame on anything but a form is a plain panel.
    auto owner = MakeOwned<TComponent>(nullptr);
    auto* panel = New<TkypForm>(owner.get());
    EXPECT_EQ(panel->Form(), nullptr);
    EXPECT_EQ(panel->TitleBar(), nullptr);
    EXPECT_EQ(panel->InactiveCaptionColor(), clInactiveCaption);
    EXPECT_TRUE(panel->TitleBarDrawAppIcon());
}

TEST_F(FormFrameTest, RemovalGivesTheFormItsCaptionAndProcedureAndKeepsLaterHooks)
{
    form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    TkypForm* frame = AddFrame();
    ShowForm();
    auto watcher = MakeOwned<TComponent>(nullptr);
    int seen = 0;
    form->AddWindowHook(watcher.get(), [&seen](TMessage& message, const TWindowHookNext& next) {
        if (message.Msg == KYPM_BORDERWIDTH) ++seen;
        next(message);
    });
    EXPECT_EQ(BorderAnswer(), 3);
    EXPECT_EQ(seen, 1);
    FreeObject(frame);
    EXPECT_EQ(Style() & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(BorderAnswer(), 0);  // the form's own procedure: no answer
    EXPECT_EQ(seen, 2);
    EXPECT_FALSE(Region());
    // The system's own frame is back.
    RECT frameOnly{0, 0, 0, 0};
    AdjustWindowRectEx(&frameOnly, static_cast<DWORD>(Style()), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_EXSTYLE)));
    EXPECT_EQ(Insets(), (TFrameInsets{-frameOnly.left, -frameOnly.top, frameOnly.right, frameOnly.bottom}));
}

TEST_F(FormFrameTest, TheFrameOutlivesItsFormsWindowAndTheHookGoesWhicheverGoesFirst)
{
    TkypForm* frame = AddFrame();
    frame->SetUIStyle(WinXP);
    ShowForm();
    // A window made anew comes with its caption: the frame takes it off
    // again and cuts the new window's corners.
    form->RecreateWnd();
    Pump();
    EXPECT_EQ(Style() & WS_CAPTION, 0);
    EXPECT_EQ(BorderAnswer(), 3);
    ASSERT_TRUE(Region());
    EXPECT_FALSE(PtInRegion(Region().get(), 0, 0));

    form->DestroyHandle();
    frame->SetBorderColor(clRed);  // paints nothing and makes no window
    EXPECT_FALSE(form->HandleAllocated());
    FreeObject(frame);
    EXPECT_EQ(BorderAnswer(), 0);
    EXPECT_EQ(Style() & WS_CAPTION, WS_CAPTION);

    // A form freed with its frame takes the frame along.
    auto watch = MakeOwned<TFreeWatch>(AddFrame());
    ShowForm();
    form.reset();
    Pump();
    EXPECT_TRUE(watch->Gone());
}

TEST_F(FormFrameTest, BuiltInStylesRoundTheTopCornersOnly)
{
    TkypForm* frame = AddFrame();
    ShowForm();
    const TRect window = WindowRect();
    const int w = window.Width(), h = window.Height();
    // DeepBlue: square all round.
    for (TPoint corner : {TPoint(0, 0), TPoint(w - 1, 0), TPoint(0, h - 1), TPoint(w - 1, h - 1)})
        EXPECT_TRUE(PtInRegion(Region().get(), corner.X, corner.Y)) << corner.X << "," << corner.Y;

    frame->SetUIStyle(WinXP);
    EXPECT_EQ(frame->RoundCorner(), 13);
    EXPECT_FALSE(PtInRegion(Region().get(), 0, 0));
    EXPECT_FALSE(PtInRegion(Region().get(), w - 1, 0));
    EXPECT_TRUE(PtInRegion(Region().get(), w / 2, 0));
    EXPECT_TRUE(PtInRegion(Region().get(), 6, 6));
    EXPECT_TRUE(PtInRegion(Region().get(), 0, h - 1));
    EXPECT_TRUE(PtInRegion(Region().get(), w - 1, h - 1));
    EXPECT_FALSE(PtInRegion(Region().get(), w, h / 2));

    frame->SetRoundCornerBottom(13);
    EXPECT_FALSE(PtInRegion(Region().get(), 0, h - 1));
    EXPECT_FALSE(PtInRegion(Region().get(), w - 1, h - 1));
    frame->SetRoundCornerBottom(0);

    frame->SetTitleBarVisible(false);
    EXPECT_EQ(frame->RoundCorner(), 0);
    frame->SetRoundCorner(13);  // kept by the bar; a hidden bar means square corners
    EXPECT_TRUE(PtInRegion(Region().get(), 0, 0));
}

TEST_F(FormFrameTest, TheSampleSkinCutsTheBottomCornersThroughItsKeyColour)
{
    TkypForm* frame = AddFrame();
    ShowForm();
    auto theme = SampleTheme();
    frame->SetFileTheme(theme.get());
    frame->SetUIStyle(FromThemeFile);
    ASSERT_TRUE(CopperSkin::SKIN2_BOTTOMBORDERNEEDREGION);
    ASSERT_FALSE(CopperSkin::SKIN2_TITLEBARNEEDREGION);
    const TRect window = WindowRect();
    const int w = window.Width(), h = window.Height();
    // The bottom picture's corner pixels are the key colour, its middle is not.
    ASSERT_TRUE(CopperSkin::SKIN2_BOTTOMBORDERTHREESECT);
    auto leftCorner = SampleSkinPicture(L"SKIN2_FORMBOTTOMBORDER1");
    auto rightCorner = SampleSkinPicture(L"SKIN2_FORMBOTTOMBORDER3");
    auto middle = SampleSkinPicture(L"SKIN2_FORMBOTTOMBORDER2");
    const TColor key = CopperSkin::SKIN2_TRANSCOLOR;
    const int bh = leftCorner->Height();
    ASSERT_EQ(leftCorner->Canvas().Pixels(0, bh - 1), key);
    ASSERT_EQ(rightCorner->Canvas().Pixels(rightCorner->Width() - 1, bh - 1), key);
    ASSERT_NE(middle->Canvas().Pixels(0, bh - 1), key);
    TRegionHandle region = Region();
    ASSERT_TRUE(region);
    EXPECT_FALSE(PtInRegion(region.get(), 0, h - 1));
    EXPECT_FALSE(PtInRegion(region.get(), w - 1, h - 1));
    EXPECT_TRUE(PtInRegion(region.get(), w / 2, h - 1));
    EXPECT_TRUE(PtInRegion(region.get(), 0, 0));  // the title is not cut
    EXPECT_TRUE(PtInRegion(region.get(), w - 1, h - bh - 1));
    frame->SetFileTheme(nullptr);
}

TEST_F(FormFrameTest, AMaximisedFormCoversTheWorkAreaAndRestoresToItsBounds)
{
    TkypForm* frame = AddFrame();
    frame->SetUIStyle(WinXP);
    ShowForm();
    const TRect normal = WindowRect();
    form->SetWindowState(TWindowState::wsMaximized);
    Pump();
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(WindowRect(), TRect(area.left - 2, area.top - 2, area.right + 2, area.bottom - 1));
    // The frame, its outline and its corners follow the window.
    const TRect window = WindowRect();
    EXPECT_EQ(frame->Width(), window.Width() - 6);
    EXPECT_EQ(frame->Height(), window.Height() - 6);
    EXPECT_TRUE(PtInRegion(Region().get(), window.Width() / 2, window.Height() - 1));
    EXPECT_FALSE(PtInRegion(Region().get(), window.Width() - 1, 0));
    EXPECT_TRUE(PtInRegion(Region().get(), window.Width() - 1, window.Height() - 1));
    form->SetWindowState(TWindowState::wsNormal);
    Pump();
    EXPECT_EQ(WindowRect(), normal);
    EXPECT_TRUE(PtInRegion(Region().get(), normal.Width() - 1, normal.Height() - 1));
    EXPECT_FALSE(PtInRegion(Region().get(), normal.Width(), normal.Height() - 1));
}

TEST_F(FormFrameTest, AFormMadeMaximisedIsMaximisedFramedAndRestoresToItsFirstBounds)
{
    const TRect first = form->BoundsRect();
    form->SetWindowState(TWindowState::wsMaximized);
    TkypForm* frame = AddFrame();
    ShowForm();
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const TRect maximised(area.left - 2, area.top - 2, area.right + 2, area.bottom - 1);
    PumpUntil([&] { return IsZoomed(Window()) && WindowRect() == maximised; }, 2000, "the maximised frame");
    EXPECT_TRUE(IsZoomed(Window()));
    EXPECT_EQ(WindowRect(), maximised);
    const TRect window = WindowRect();
    EXPECT_EQ(frame->Width(), window.Width() - 6);
    EXPECT_TRUE(PtInRegion(Region().get(), window.Width() / 2, window.Height() - 1));
    // The system would restore it elsewhere; the frame puts it back.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(Window(), &placement);
    placement.rcNormalPosition = RECT{10, 10, 210, 160};
    SetWindowPlacement(Window(), &placement);
    form->SetWindowState(TWindowState::wsNormal);
    Pump();
    EXPECT_EQ(WindowRect(), first);
}

// The frames share one count of these notices: a second form made
// maximised, which finds it run out, goes through the same ones as the first.
TEST_F(FormFrameTest, ASecondFormMadeMaximisedIsFramedLikeTheFirst)
{
    int notices[2] = {0, 0};
    for (int& count : notices) {
        auto made = MakeOwned<TForm>(nullptr);
        made->SetBounds(80, 80, 300, 200);
        made->SetWindowState(TWindowState::wsMaximized);
        made->AddWindowHook(nullptr, [&count](TMessage& message, const TWindowHookNext& next) {
            if (message.Msg == WM_SIZE) ++count;
            next(message);
        });
        New<TkypForm>(made.get());
        made->Show();
        const HWND window = made->Handle();
        PumpUntil([&] { return IsZoomed(window) && made->BoundsRect() == MaximisedFrameBounds(); }, 2000,
                  "the maximised frame");
    }
    EXPECT_EQ(notices[1], notices[0]);
}

TEST_F(FormFrameTest, AThemeOfAnotherOwnerGoneLeavesEverythingOnTheFrameInDeepBlue)
{
    TkypForm* frame = AddFrame();
    frame->SetUIStyle(WinXP);
    auto* box = Add<TkypCheckBox>(10, 40, 120, 20, frame);
    ShowForm();
    auto theme = SampleTheme();
    frame->SetFileTheme(theme.get());
    frame->SetUIStyle(FromThemeFile);
    frame->SetUIStyleAutoUpdateSub(true);
    frame->SetUIStyle(FromThemeFile);
    EXPECT_EQ(box->FileTheme(), theme.get());
    EXPECT_EQ(frame->TitleBar()->FileTheme(), theme.get());
    EXPECT_EQ(frame->Color(), static_cast<TColor>(CopperSkin::SKIN2_FORMCOLOR));
    frame->SetUIStyleAutoUpdateSub(false);  // the fallback reaches the controls all the same

    theme.reset();
    EXPECT_EQ(frame->FileTheme(), nullptr);
    EXPECT_EQ(frame->UIStyle(), DeepBlue);  // not the WinXP chosen before the skin file
    EXPECT_EQ(frame->TitleBar()->FileTheme(), nullptr);
    EXPECT_EQ(frame->TitleBar()->UIStyle(), DeepBlue);
    EXPECT_EQ(box->FileTheme(), nullptr);
    EXPECT_EQ(box->UIStyle(), DeepBlue);
    EXPECT_EQ(frame->Color(), TColor(0xE8E8E8));  // DeepBlue's form colour
    EXPECT_EQ(Insets(), (TFrameInsets{3, 3, 3, 2}));
    frame->Repaint();  // nothing of the theme is touched any more
    Pump();
    const int h = WindowRect().Height();
    EXPECT_EQ(WindowPixel(0, h / 2), RGB(0, 0, 0));  // DeepBlue's line, then its form colour
    EXPECT_EQ(WindowPixel(2, h / 2), RGB(0xE8, 0xE8, 0xE8));
}

// Controls made on a framed form start in the frame's style, whichever
// control stands first on the form; before any frame they start in DeepBlue.
TEST_F(FormFrameTest, ControlsMadeOnAFramedFormStartInTheFramesStyle)
{
    auto* before = Add<TkypCustomButton>(10, 10, 80, 24);
    EXPECT_EQ(before->UIStyle(), DeepBlue);
    TkypForm* frame = AddFrame();
    for (TkypUIStyle style : {Protein, MacOS}) {
        frame->SetUIStyle(style);
        EXPECT_EQ(Add<TkypCustomButton>(10, 40, 80, 24, frame)->UIStyle(), style);
        EXPECT_EQ(Add<TkypCheckBox>(10, 70, 120, 20, frame)->UIStyle(), style);
        EXPECT_EQ(Add<TkypRadioButton>(10, 100, 120, 20, frame)->UIStyle(), style);
    }
}

TEST_F(FormFrameTest, AltSpaceOpensTheSystemMenuOfTheFormItCameTo)
{
    TkypForm* frame = AddFrame();
    ShowForm();
    auto other = MakeOwned<TForm>(nullptr);
    other->SetBorderStyle(TFormBorderStyle::bsNone);  // no system menu of its own to open
    other->SetBounds(500, 60, 200, 150);
    other->Show();
    int menus = 0;
    frame->TitleBar()->DefPopupMenu()->OnPopup = [&menus](TObject*) {
        ++menus;
        PostMessageW(PopupListWindow(), WM_KEYDOWN, VK_ESCAPE, 1);
    };
    PostMessageW(other->Handle(), WM_SYSCHAR, VK_SPACE, kAltKeyData);
    Pump();
    EXPECT_EQ(menus, 0);
    PostMessageW(frame->TitleBar()->Handle(), WM_SYSCHAR, VK_SPACE, kAltKeyData);
    Pump();
    EXPECT_EQ(menus, 1);
    // With no main form it opens below the frame's own form's title bar.
    EXPECT_EQ(frame->TitleBar()->DefPopupMenu()->PopupPoint(),
              TPoint(form->Left(), form->Top() + frame->TitleBar()->Height()));
}

TEST_F(FormFrameTest, MenuShortcutsReachTheFramesMenuFromAnyWindowOfTheForm)
{
    TkypForm* frame = AddFrame();
    int clicks = 0;
    TMainMenu* menu = CountingMenu(form.get(), clicks);
    frame->SetMenu(menu);
    auto* box = Add<TkypCheckBox>(10, 40, 120, 20, frame);
    ShowForm();
    // The menu shows as the frame's bar under the title bar, not as the form's.
    EXPECT_EQ(form->Menu(), nullptr);
    ASSERT_NE(frame->MenuBar(), nullptr);
    EXPECT_GT(frame->MenuBarHeight(), 0);
    EXPECT_EQ(frame->MenuBarHeight(), frame->MenuBar()->Height());
    EXPECT_EQ(frame->MenuBar()->Top(), frame->TitleBar()->Height());
    box->SetFocus();
    CtrlKey(box, 'R');
    EXPECT_EQ(clicks, 1);
    KeyDown(box, 'R');  // R alone is no shortcut
    EXPECT_EQ(clicks, 1);
    FreeObject(menu);
    EXPECT_EQ(frame->Menu(), nullptr);
    EXPECT_EQ(frame->MenuBar(), nullptr);
    EXPECT_EQ(frame->MenuBarHeight(), 0);
    // The frame asks a menu gone no more: the key reaches the box.
    int boxKeys = 0;
    CountKeyDowns(box, boxKeys);
    CtrlKey(box, 'R');
    EXPECT_EQ(boxKeys, 1);
}

TEST_F(FormFrameTest, TwoFramedFormsTakeAShortcutOnceAndTheFocusedControlNeverSeesIt)
{
    auto other = MakeOwned<TForm>(nullptr);
    other->SetBounds(520, 60, 200, 150);
    New<TkypForm>(other.get());  // the older hook, asked last
    other->Show();
    TkypForm* frame = AddFrame();
    int clicks = 0;
    frame->SetMenu(CountingMenu(form.get(), clicks));
    auto* box = Add<TkypCheckBox>(10, 40, 120, 20, frame);
    ShowForm();
    box->SetFocus();
    int boxKeys = 0;
    CountKeyDowns(box, boxKeys);
    CtrlKey(box, 'R');
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(boxKeys, 0);
    KeyDown(form.get(), 'R');
    CtrlKey(form.get(), 'R');
    EXPECT_EQ(clicks, 2) << "the form window's own key fires the item once";
}

// Form A's shortcut brings framed form B forward; B's item of the same
// key stays quiet.
TEST_F(FormFrameTest, AKeyOneFrameTookIsNotJudgedAgainByTheFormItBroughtForward)
{
    auto other = MakeOwned<TForm>(nullptr);
    other->SetBounds(520, 60, 200, 150);
    int otherClicks = 0;
    New<TkypForm>(other.get())->SetMenu(CountingMenu(other.get(), otherClicks));  // the older hook, asked last
    other->Show();
    TkypForm* frame = AddFrame();
    int clicks = 0;
    TMainMenu* menu = CountingMenu(form.get(), clicks);
    menu->Items()->Items(0)->OnClick = [&](TObject*) {
        ++clicks;
        SetForegroundWindow(other->Handle());
    };
    frame->SetMenu(menu);
    ShowForm();
    CtrlKey(form.get(), 'R');
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(other->Active());
    EXPECT_EQ(otherClicks, 0);
}

TEST_F(FormFrameTest, AFrameFreedFromOnResizeWhileMaximisingLetsTheSizeNoticeFinish)
{
    TPoisonFreedMemory poison;
    TkypForm* frame = AddFrame();
    ShowForm();
    const TRect fitted = MaximisedFrameBounds();
    // The notice of the frame's own fitting, sent inside the system's.
    form->OnResize = [&](TObject*) {
        if (frame && IsZoomed(Window()) && WindowRect() == fitted) FreeAndNil(frame);
    };
    form->SetWindowState(TWindowState::wsMaximized);
    Pump();
    EXPECT_EQ(poison.Faults(), 0);
    EXPECT_EQ(frame, nullptr);
    EXPECT_EQ(Style() & WS_CAPTION, WS_CAPTION);
    form->OnResize = nullptr;
}

TEST_F(FormFrameTest, ASkinFileWithoutBorderPicturesLeavesTheSystemsMinimumBorder)
{
    TempDir dir;
    const String skin = dir.File("bare.skn");
    WriteSkinFile(skin, {BitmapRecord("SKIN2_TITLEBAR1", 30, 28, 0x203040), BitmapRecord("SKIN2_TITLEBAR2", 6, 28, 0x3070B0),
                         BitmapRecord("SKIN2_TITLEBAR3", 24, 28, 0x2050A0), BitmapRecord("SKIN2_FORMLEFTBORDER", 7, 4, 0x102030),
                         IntegerRecord("SKIN2_FORMCOLOR", 0x808080), IntegerRecord("SKIN2_TRANSCOLOR", 0xFF00FF),
                         BooleanRecord("SKIN2_BOTTOMBORDERNEEDREGION", 1)});
    auto theme = MakeOwned<TkypFileTheme>(nullptr);
    theme->SetThemeFile(skin);
    ASSERT_TRUE(theme->Ready());
    TkypForm* frame = AddFrame();
    ShowForm();
    frame->SetFileTheme(theme.get());
    frame->SetUIStyle(FromThemeFile);
    Pump();
    // No right or bottom picture: nothing of them, the narrowest border the
    // frame keeps at the right, the built-in bottom strip.
    EXPECT_EQ(Insets(), (TFrameInsets{7, 3, 4, 2}));
    EXPECT_EQ(BorderAnswer(), 7);
    const TRect window = WindowRect();
    EXPECT_TRUE(PtInRegion(Region().get(), 0, window.Height() - 1));
    EXPECT_TRUE(PtInRegion(Region().get(), window.Width() - 1, window.Height() - 1));
    // The left picture stretched down its side; the bare right side in the form colour.
    frame->PaintFormBorder();
    EXPECT_EQ(WindowPixel(3, window.Height() / 2), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(WindowPixel(window.Width() - 2, window.Height() / 2), RGB(0x80, 0x80, 0x80));
    frame->SetFileTheme(nullptr);
}

TEST_F(FormFrameTest, AFrameFreedWhileTheFormHandlesAMessageLetsTheMessageFinish)
{
    TPoisonFreedMemory poison;
    TkypForm* frame = AddFrame();
    ShowForm();
    int resizes = 0;
    form->OnResize = [&](TObject*) {
        ++resizes;
        if (frame) FreeAndNil(frame);
    };
    form->SetWidth(form->Width() + 20);
    EXPECT_EQ(frame, nullptr);
    EXPECT_EQ(poison.Faults(), 0);
    EXPECT_EQ(Style() & WS_CAPTION, WS_CAPTION);
    const int before = resizes;
    form->SetWidth(form->Width() + 20);  // the form's own procedure takes it
    EXPECT_EQ(resizes, before + 1);
    EXPECT_EQ(BorderAnswer(), 0);
}

// A form made maximised and restored elsewhere: the frame puts it back to
// its first bounds, whose own size notice frees the frame.
TEST_F(FormFrameTest, AFrameFreedWhileItPutsTheFormBackToItsFirstBoundsLetsTheSizeNoticeFinish)
{
    TPoisonFreedMemory poison;
    const TRect first = form->BoundsRect();
    form->SetWindowState(TWindowState::wsMaximized);
    TkypForm* frame = AddFrame();
    ShowForm();
    ASSERT_TRUE(IsZoomed(Window()));
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(Window(), &placement);
    placement.rcNormalPosition = RECT{100, 100, 500, 400};
    SetWindowPlacement(Window(), &placement);
    form->OnResize = [&](TObject*) {
        if (frame && !IsZoomed(Window()) && WindowRect() == first) FreeAndNil(frame);
    };
    form->SetWindowState(TWindowState::wsNormal);
    Pump();
    EXPECT_EQ(frame, nullptr);
    EXPECT_EQ(poison.Faults(), 0);
    form->OnResize = nullptr;
}

// A frame's own setter raising from a handler halfway through a style.
TEST_F(FormFrameTest, AStyleThatRaisesHalfwayLeavesTheFramePaintingAndCutting)
{
    TkypForm* frame = AddFrame();
    ShowForm();
    bool raise = true;
    frame->AddWindowHook(nullptr, [&raise](TMessage& message, const TWindowHookNext& next) {
        if (raise && message.Msg == CM_COLORCHANGED) throw Exception(L"colour refused");
        next(message);
    });
    EXPECT_THROW(frame->SetUIStyle(WinXP), Exception);
    raise = false;
    frame->SetUIStyle(WinXP);
    EXPECT_FALSE(PtInRegion(Region().get(), 0, 0)) << "WinXP's rounded corner";
}

TEST_F(FormFrameTest, RepaintsAndAttachDetachCyclesLeakNoHandles)
{
    {
        TkypForm* frame = AddFrame();
        ShowForm();
        frame->PaintFormBorder();
        Pump();
        const int gdi = CountGdiObjects(), windows = CountThreadWindows();
        for (int i = 0; i < 1000; ++i) {
            frame->PaintFormBorder();
            RedrawWindow(Window(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        }
        Pump();
        EXPECT_EQ(CountGdiObjects(), gdi);
        EXPECT_EQ(CountThreadWindows(), windows);
        FreeObject(frame);
    }
    auto theme = SampleTheme();
    auto cycle = [this, &theme](int i) {
        TkypForm* frame = AddFrame();
        if (i % 2) {
            frame->SetFileTheme(theme.get());
            frame->SetUIStyle(FromThemeFile);
        }
        Pump();
        FreeObject(frame);
    };
    cycle(0);  // what the styles and the skin file keep once read
    cycle(1);
    Pump();
    const int gdi = CountGdiObjects(), windows = CountThreadWindows(), icons = CountIconHandles();
    for (int i = 0; i < 100; ++i) cycle(i);
    Pump();
    EXPECT_EQ(CountGdiObjects(), gdi);
    EXPECT_EQ(CountThreadWindows(), windows);
    EXPECT_EQ(CountIconHandles(), icons);
}
