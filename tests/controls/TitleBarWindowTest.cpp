// The title bar on a real form under Wine, driven by posted mouse
// messages: hot and pressed faces, minimise, maximise, the system's move,
// double clicks, the vetoes, the system menu, the question to the form,
// handle counts over many repaints, and pictures of every style.
#include "WindowHarness.h"

#include <algorithm>
#include <filesystem>
#include <tuple>
#include <vector>

#include "HandleCounts.h"
#include "KYPForm.h"
#include "KYPMgr.h"
#include "KYPPopupMenu.h"
#include "KYPTitleBar.h"
#include "KYPThemes.h"
#include "SampleSkin.h"
#include "SkinFileSupport.h"
#include "TempDir.h"

namespace {

// Counts the system moves that a press starts, and stops each one before
// its modal loop runs.
int g_moves = 0;
LRESULT CALLBACK CountMoves(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_SYSCOMMAND && (wParam & 0xFFF0) == SC_MOVE) {
        ++g_moves;
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class TitleBarWindowTest : public WindowHarness {
protected:
    void SetUp() override
    {
        WindowHarness::SetUp();
        g_moves = 0;
        hook_ = SetWindowsHookExW(WH_CBT, CountMoves, nullptr, GetCurrentThreadId());
        SysLocale.MiddleEast = false;
        bar = New<TkypTitleBar>(form.get());
        bar->SetParent(form.get());
        bar->SetCaption(L"Quorvell");
        ShowForm();
    }
    void TearDown() override
    {
        UnhookWindowsHookEx(hook_);
        SysLocale.MiddleEast = false;
        WindowHarness::TearDown();
    }

    // The left edge of a default DeepBlue button: close, maximise, minimise.
    int ButtonLeft(int fromRight) const { return bar->Width() - 20 * (fromRight + 1); }
    void Click(int x, int y)
    {
        Hover(bar, x, y);
        Press(bar, x, y);
        Release(bar, x, y);
    }
    void ClickButton(int fromRight) { Click(ButtonLeft(fromRight) + 9, 10); }

    // The form framed in place of the loose bar, in a skin written from Records.
    TkypForm* FrameInSkinFile(TempDir& dir, const char* name, const std::vector<TSkinRecord>& records)
    {
        const String skin = dir.File(name);
        WriteSkinFile(skin, records);
        theme_ = MakeOwned<TkypFileTheme>(nullptr);
        theme_->SetThemeFile(skin);
        EXPECT_TRUE(theme_->CanUse());
        FreeObject(bar);
        bar = nullptr;
        return New<TkypForm>(form.get());
    }
    // The title picture at Index and the frame's top border, both in the
    // skin's form colour (0x808080) at the middle of their top rows.
    void ExpectTitleAndTopBorderInTheFormColour(TkypForm* frame, int index)
    {
        frame->TitleBar()->ForcePaint();
        frame->PaintFormBorder();
        TBitmap* title = nullptr;
        frame->TitleBar()->GetTitleImage(index, title);
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->Canvas().Pixels(title->Width() / 2, 1), kSkinFormColour);
        TWindowDC dc(form->Handle());
        EXPECT_EQ(GetPixel(dc.Handle(), form->Width() / 2, 1), RGB(0x80, 0x80, 0x80));
    }
    static constexpr TColor kSkinFormColour = 0x808080;
    TOwned<TkypFileTheme> theme_;

    static TOwned<TBitmap> Strip(const wchar_t* name = L"DEEPBLUE_TITLEBTN")
    {
        auto bitmap = MakeOwned<TBitmap>();
        bitmap->LoadFromResourceName(GetModuleHandleW(nullptr), name);
        return bitmap;
    }
    // Piece (1 .. 18) of the 19-pixel DeepBlue strip shows at (X, Y) of Shot.
    static bool ShowsPiece(TBitmap& shot, int x, int y, int piece)
    {
        TOwned<TBitmap> strip = Strip();
        for (int row = 0; row < 19; ++row)
            for (int column = 0; column < 19; ++column)
                if (shot.ScanLine(y + row)[x + column] != strip->ScanLine(row)[(piece - 1) * 19 + column]) return false;
        return true;
    }
    static TRect WindowRect(TWinControl* control)
    {
        RECT rect{};
        GetWindowRect(control->Handle(), &rect);
        return rect;
    }

    TkypTitleBar* bar = nullptr;

private:
    HHOOK hook_ = nullptr;
};

}  // namespace

TEST_F(TitleBarWindowTest, TheButtonUnderTheCursorShowsItsHotAndPressedFaces)
{
    EXPECT_EQ(SendMessageW(form->Handle(), KYPM_BORDERWIDTH, 0, 0), 0);  // a plain form
    EXPECT_EQ(bar->Width(), form->ClientWidth());
    EXPECT_EQ(bar->Top(), 0);

    TOwned<TBitmap> shot = Snapshot(bar);
    EXPECT_TRUE(ShowsPiece(*shot, ButtonLeft(0), 2, 16));  // close
    EXPECT_TRUE(ShowsPiece(*shot, ButtonLeft(1), 2, 7));   // maximise
    EXPECT_TRUE(ShowsPiece(*shot, ButtonLeft(2), 2, 13));  // minimise

    Hover(bar, ButtonLeft(1) + 18, 20);  // the far corner still counts
    EXPECT_EQ(bar->InButtons(), 2);
    EXPECT_TRUE(ShowsPiece(*Snapshot(bar), ButtonLeft(1), 2, 8));
    Press(bar, ButtonLeft(1) + 18, 20);
    EXPECT_TRUE(bar->MouseIsDown());
    EXPECT_TRUE(ShowsPiece(*Snapshot(bar), ButtonLeft(1), 2, 9));
    EXPECT_EQ(g_moves, 0);  // a press on a button moves nothing
    Leave(bar);
    EXPECT_EQ(bar->InButtons(), -1);
    Release(bar, 200, 10);  // off every button: nothing happens
    EXPECT_FALSE(bar->MouseIsDown());
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
    EXPECT_TRUE(ShowsPiece(*Snapshot(bar), ButtonLeft(1), 2, 7));
}

TEST_F(TitleBarWindowTest, MinimiseLeavesTheFormIconicUnlessVetoed)
{
    int asked = 0;
    bar->OnMinClick = [&asked](TObject*, bool& allow) { allow = ++asked > 1; };
    ClickButton(2);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(IsIconic(form->Handle()));
    ClickButton(2);
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(IsIconic(form->Handle()));
    EXPECT_EQ(form->WindowState(), TWindowState::wsMinimized);
}

TEST_F(TitleBarWindowTest, MaximiseFillsTheWorkAreaPastItsEdgesAndRestoresUnlessVetoed)
{
    bool allow = false;
    bar->OnMaxClick = [this, &allow](TObject* sender, bool& answer) {
        EXPECT_EQ(sender, static_cast<TObject*>(bar));
        answer = allow;
    };
    const TRect before = WindowRect(form.get());
    ClickButton(1);
    EXPECT_EQ(WindowRect(form.get()), before);

    allow = true;
    ClickButton(1);
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(WindowRect(form.get()), TRect(area.left - 2, area.top - 2, area.right + 2, area.bottom - 1));
    EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
    EXPECT_TRUE(ShowsPiece(*Snapshot(bar), ButtonLeft(1), 2, 10));  // the restore glyph

    // A press on the caption of a maximised form moves nothing.
    Hover(bar, 200, 10);
    Press(bar, 200, 10);
    Release(bar, 200, 10);
    EXPECT_EQ(g_moves, 0);

    ClickButton(1);
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
    EXPECT_TRUE(ShowsPiece(*Snapshot(bar), ButtonLeft(1), 2, 7));
}

TEST_F(TitleBarWindowTest, ACaptionPressMovesTheFormAndTheRightButtonDoesNothing)
{
    Hover(bar, 200, 10);
    Post(bar, WM_RBUTTONDOWN, MK_RBUTTON, At(200, 10));
    Post(bar, WM_RBUTTONUP, 0, At(200, 10));
    EXPECT_EQ(g_moves, 0);
    Press(bar, 200, 10);
    EXPECT_EQ(g_moves, 1);
    EXPECT_FALSE(bar->MouseIsDown());  // the press went to the system's move
    Release(bar, 200, 10);
    Hover(bar, ButtonLeft(0) + 5, 10);
    Post(bar, WM_RBUTTONDOWN, MK_RBUTTON, At(ButtonLeft(0) + 5, 10));
    Post(bar, WM_RBUTTONUP, 0, At(ButtonLeft(0) + 5, 10));
    EXPECT_TRUE(form->Visible());
}

TEST_F(TitleBarWindowTest, DoubleClicksMaximiseAndRestoreOnTheCaptionAndCloseOnTheIcon)
{
    auto doubleClick = [this](int x, int y) {
        Hover(bar, x, y);
        Post(bar, WM_LBUTTONDBLCLK, MK_LBUTTON, At(x, y));
        Release(bar, x, y);
    };
    doubleClick(200, 10);
    EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
    doubleClick(200, 10);
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
    bar->Buttons()->Items(2)->SetVisible(false);
    doubleClick(200, 10);
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
    int menus = 0;
    bar->DefPopupMenu()->OnPopup = [&menus](TObject*) {
        ++menus;
        PostMessageW(PopupListWindow(), WM_KEYDOWN, VK_ESCAPE, 1);
    };
    doubleClick(5, 5);  // the application's icon stands for the control box
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(menus, 0);  // the release after it opens no menu for the closed form
}

TEST_F(TitleBarWindowTest, CustomAndHelpButtonsFireTheirEventsWithTheirIndex)
{
    TkypTitleBarButton* custom = bar->Buttons()->Add();
    TkypTitleBarButton* close = bar->Buttons()->Items(1);
    custom->SetPicNormal(close->PicNormal());
    custom->SetPicMouseOn(close->PicMouseOn());
    custom->SetPicMouseDown(close->PicMouseDown());
    bar->AddHelpBtn();
    std::vector<int> customs, helps;
    bar->OnCustomBtnsClick = [&customs](TObject*, int index) { customs.push_back(index); };
    bar->OnHelpBtnClick = [&helps](TObject*, int index) { helps.push_back(index); };
    ClickButton(3);
    ClickButton(4);
    EXPECT_EQ(customs, std::vector<int>{4});
    EXPECT_EQ(helps, std::vector<int>{5});

    // Pressed on maximise, released on close: the release decides.
    Hover(bar, ButtonLeft(1) + 5, 10);
    Press(bar, ButtonLeft(1) + 5, 10);
    Hover(bar, ButtonLeft(0) + 5, 10);
    Release(bar, ButtonLeft(0) + 5, 10);
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
}

TEST_F(TitleBarWindowTest, TheSystemMenuFollowsTheButtonsAndItsItemsActOnTheForm)
{
    TkypTitleBarPopupMenu* menu = bar->DefPopupMenu();
    TMenuItem* items = menu->Items();
    ASSERT_EQ(items->Count(), 4);
    EXPECT_EQ(items->Items(0)->Caption(), L"\u6700\u5C0F\u5316(&N)");
    EXPECT_EQ(items->Items(1)->Caption(), L"\u6700\u5927\u5316/\u8FD8\u539F(&X)");
    EXPECT_TRUE(items->Items(2)->IsLine());
    EXPECT_EQ(items->Items(3)->Caption(), L"\u5173\u95ED(&C)");
    EXPECT_EQ(menu->TitleBar(), bar);

    std::vector<bool> enabled;
    menu->OnPopup = [&enabled, items](TObject*) {
        enabled = {items->Items(0)->Enabled(), items->Items(1)->Enabled(), items->Items(3)->Enabled()};
        PostMessageW(PopupListWindow(), WM_KEYDOWN, VK_ESCAPE, 1);
    };
    bar->Buttons()->Items(3)->SetVisible(false);
    bar->Buttons()->Items(1)->SetButtonType(kypCustom);
    menu->Popup(100, 100);
    Pump();
    EXPECT_EQ(enabled, (std::vector<bool>{false, true, false}));

    // Right to left on a Middle-East system it opens 176 pixels further right.
    SysLocale.MiddleEast = true;
    bar->SetParentBiDiMode(false);
    bar->SetBiDiMode(TBiDiMode::bdRightToLeft);
    menu->Popup(100, 100);
    Pump();
    EXPECT_EQ(menu->PopupPoint(), TPoint(276, 100));

    int vetoes = 0;
    bar->OnMinClick = [&vetoes](TObject*, bool& allow) { allow = ++vetoes > 1; };
    menu->MinItemClick(nullptr);
    EXPECT_FALSE(IsIconic(form->Handle()));
    menu->MaxItemClick(nullptr);
    EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
    menu->MaxItemClick(nullptr);
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
    menu->CloseItemClick(nullptr);
    EXPECT_FALSE(form->Visible());
}

TEST_F(TitleBarWindowTest, ReleasingOnTheIconOpensTheSystemMenuBelowTheBarAndKeysChooseIt)
{
    TkypTitleBarPopupMenu* menu = bar->DefPopupMenu();
    menu->OnPopup = [](TObject*) {
        for (WORD key : {VK_DOWN, VK_RETURN}) {
            PostMessageW(PopupListWindow(), WM_KEYDOWN, key, 1);
            PostMessageW(PopupListWindow(), WM_KEYUP, key, kKeyUpData);
        }
    };
    const TPoint below = bar->ClientToScreen(TPoint(0, bar->Height()));
    Click(8, 8);
    Pump();
    EXPECT_EQ(menu->PopupPoint(), below);
    EXPECT_TRUE(IsIconic(form->Handle()));
}

TEST_F(TitleBarWindowTest, AControlBoxMenuOpensBelowTheBarFurtherRightWhenMirroredAndNeverLeftOfTheScreen)
{
    auto* menu = New<TkypPopupMenu>(form.get());
    menu->Items()->Add(New<TMenuItem>(menu));
    menu->OnPopup = [](TObject*) { PostMessageW(PopupListWindow(), WM_KEYDOWN, VK_ESCAPE, 1); };
    TkypTitleBarButton* box = bar->Buttons()->Items(0);
    ASSERT_EQ(box->ButtonType(), kypControlBox);
    box->SetControlBoxMenu(menu);
    Click(8, 8);
    Pump();
    EXPECT_EQ(menu->PopupPoint(), bar->ClientToScreen(TPoint(0, bar->Height())));

    SysLocale.MiddleEast = true;
    bar->SetParentBiDiMode(false);
    bar->SetBiDiMode(TBiDiMode::bdRightToLeft);
    box->DoClick();
    Pump();
    EXPECT_EQ(menu->PopupPoint(), bar->ClientToScreen(TPoint(176, bar->Height())));
    form->SetLeft(-400);
    box->DoClick();
    Pump();
    EXPECT_EQ(menu->PopupPoint(), TPoint(0, bar->ClientToScreen(TPoint(0, bar->Height())).Y));
}

TEST_F(TitleBarWindowTest, TheMaximiseGlyphFollowsAStateSetElsewhereOnceAskedAndTheMainFormMinimisesAsTheSystemDoes)
{
    form->SetWindowState(TWindowState::wsMaximized);
    Pump();
    bar->ProcessMaxBtn();
    EXPECT_TRUE(ShowsPiece(*Snapshot(bar), ButtonLeft(1), 2, 10));  // the restore glyph
    form->SetWindowState(TWindowState::wsNormal);
    Pump();
    bar->ProcessMaxBtn();
    EXPECT_TRUE(ShowsPiece(*Snapshot(bar), ButtonLeft(1), 2, 7));

    // The main form goes down with the application, through the system's command.
    TForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_EQ(Application->MainForm(), main);
    main->SetBounds(100, 100, 300, 200);
    auto* mainBar = New<TkypTitleBar>(main);
    mainBar->SetParent(main);
    main->Show();
    Pump();
    int commands = 0;
    main->AddWindowHook(nullptr, [&commands](TMessage& message, const TWindowHookNext& next) {
        if (message.Msg == WM_SYSCOMMAND && (message.WParam & 0xFFF0) == SC_MINIMIZE) ++commands;
        next(message);
    });
    TkypTitleBarButton* minimise = mainBar->Buttons()->Items(3);
    ASSERT_EQ(minimise->ButtonType(), kypMin);
    minimise->DoClick();
    Pump();
    EXPECT_EQ(commands, 1);
    EXPECT_TRUE(IsIconic(main->Handle()));
    FreeObject(main);
}

// A see-through face shows the title behind it where it has its key
// colour (its bottom-left pixel), an opaque one shows the key colour.
TEST_F(TitleBarWindowTest, ATransparentFaceShowsTheTitleThroughItsKeyColour)
{
    TkypTitleBarButton* close = bar->Buttons()->Items(1);
    TBitmap* face = close->PicNormal()->Bitmap();
    const int w = face->Width(), h = face->Height();
    const auto paint = [&](bool hole) {
        face->Canvas().Brush().SetColor(hole ? clRed : clFuchsia);
        face->Canvas().FillRect(TRect(0, 0, w, h));
        face->Canvas().SetPixels(0, h - 1, clFuchsia);
        face->Canvas().Brush().SetColor(clFuchsia);
        face->Canvas().FillRect(TRect(w / 2 - 2, h / 2 - 2, w / 2 + 3, h / 2 + 3));
    };
    const int x = ButtonLeft(0), y = 2;
    const auto pixel = [](TBitmap& shot, int px, int py) { return shot.Canvas().Pixels(px, py); };
    close->SetTransparent(true);
    paint(false);  // all see-through: the title alone
    const TColor behind = pixel(*Snapshot(bar), x + w / 2, y + h / 2);
    ASSERT_NE(behind, clFuchsia);
    paint(true);
    TOwned<TBitmap> shot = Snapshot(bar);
    EXPECT_EQ(pixel(*shot, x + w / 2, y + h / 2), behind);
    EXPECT_EQ(pixel(*shot, x + 2, y + 2), clRed);
    close->SetTransparent(false);
    EXPECT_EQ(pixel(*Snapshot(bar), x + w / 2, y + h / 2), clFuchsia);
}

TEST_F(TitleBarWindowTest, NonClientMouseMessagesGoToTheFormOrToTheDefaultHandling)
{
    std::vector<UINT> seen;
    TWndMethod old = form->WindowProc;
    form->WindowProc = [&seen, old](TMessage& message) {
        if (message.Msg >= WM_NCMOUSEMOVE && message.Msg <= WM_NCLBUTTONUP) seen.push_back(message.Msg);
        old(message);
    };
    bar->Perform(WM_NCMOUSEMOVE, HTCLIENT, 0);
    bar->Perform(WM_NCLBUTTONUP, HTCLIENT, 0);
    form->WindowProc = old;
    EXPECT_EQ(seen, (std::vector<UINT>{WM_NCMOUSEMOVE, WM_NCLBUTTONUP}));

    TOwned<TkypTitleBar> loose = MakeOwned<TkypTitleBar>(nullptr);
    EXPECT_EQ(loose->Perform(WM_NCLBUTTONDOWN, HTCAPTION, 0), 0);  // no form: nothing to hand it to
    // Painted without a form it has no buttons for the mouse to be over,
    // though the cursor lies where its close button would be.
    loose->SetBounds(0, 0, bar->Width(), bar->Height());
    SetCursorPos(ButtonLeft(0) + 9, 10);
    TOwned<TBitmap> shot = Snapshot(loose.get());
    EXPECT_EQ(loose->InButtons(), -1);
}

TEST_F(TitleBarWindowTest, ThousandsOfHoverRepaintsKeepTheHandleCountsFlat)
{
    auto counts = [] { return std::tuple<int, int, int>(CountGdiObjects(), CountIconHandles(), CountThreadWindows()); };
    ASSERT_FALSE(Application->Icon().Empty());  // the program's MAINICON: the bar draws a 16 x 16 copy of it
    for (int i = 0; i < 20; ++i) Hover(bar, i % 2 ? ButtonLeft(1) + 4 : 8, 8);
    const auto before = counts();
    for (int i = 0; i < 1000; ++i) Hover(bar, i % 2 ? ButtonLeft(1) + 4 : 8 + i % 3, 8);
    const auto after = counts();
    EXPECT_GT(std::get<0>(before), 0);
    EXPECT_GT(std::get<1>(before), 0);  // the bar's copy of the application's icon
    EXPECT_EQ(after, before);
}

TEST_F(TitleBarWindowTest, AnInactiveCaptionTakesItsColourWithoutChangingTheFont)
{
    bar->SetCaption(L"MMMMMMMM");
    bar->SetInactiveCaptionColor(0x00FF00);
    auto greens = [this] {
        TOwned<TBitmap> shot = Snapshot(bar);
        int count = 0;
        for (int y = 0; y < shot->Height(); ++y)
            for (int x = 0; x < shot->Width(); ++x) count += shot->ScanLine(y)[x] == 0x00FF00u;
        return count;
    };
    EXPECT_EQ(greens(), 0);
    bar->SetFormActive(false);
    EXPECT_GT(greens(), 20);
    EXPECT_EQ(bar->Font().Color(), clWhite);
}

// ---------------------------------------------------------------- pictures

TEST_F(TitleBarWindowTest, PicturesOfEveryStyleActiveAndInactiveHotPressedAndRightToLeft)
{
    const std::filesystem::path dir = "screens";
    std::filesystem::create_directories(dir);
    form->SetWidth(520);
    bar->SetCaption(L"Quorvell - a small skinned sound recorder");
    const std::pair<TkypUIStyle, const wchar_t*> styles[] = {
        {MacOS, L"macos"}, {WinXP, L"winxp"}, {DeepBlue, L"deepblue"}, {Protein, L"protein"}, {BlueGlass, L"blueglass"}};
    auto save = [&](const String& name) {
        TOwned<TBitmap> shot = Snapshot(bar);
        shot->SaveToFile((dir / (L"titlebar_" + name + L".bmp")).wstring());
        return shot;
    };
    auto same = [](TBitmap& a, TBitmap& b, const TRect& r) {
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (a.Canvas().Pixels(x, y) != b.Canvas().Pixels(x, y)) return false;
        return true;
    };
    auto count = [](TBitmap& shot, const TRect& r, TColor colour) {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += shot.Canvas().Pixels(x, y) == colour;
        return n;
    };
    const TColor inactive = ColorToRGB(clInactiveCaption);
    TOwned<TBitmap> deepBlue;
    for (const auto& [style, name] : styles) {
        SCOPED_TRACE(String(name));
        bar->SetUIStyle(style);
        Leave(bar);
        bar->SetFormActive(true);
        TOwned<TBitmap> active = save(String(name) + L"_active");
        bar->SetFormActive(false);
        TOwned<TBitmap> dim = save(String(name) + L"_inactive");
        bar->SetFormActive(true);
        const TPicture* face = bar->Buttons()->Items(2)->PicNormal();
        const int maxLeft = bar->Width() - bar->RightBtnXOffset() - 2 - 2 * face->Width();
        const TRect maximise(maxLeft, bar->BtnTop(), maxLeft + face->Width(), bar->BtnTop() + face->Height());
        Hover(bar, maxLeft + 4, bar->BtnTop() + 4);
        TOwned<TBitmap> hot = save(String(name) + L"_hot");
        Press(bar, maxLeft + 4, bar->BtnTop() + 4);
        TOwned<TBitmap> pressed = save(String(name) + L"_pressed");
        Leave(bar);
        Release(bar, 200, 2);

        // The style's left picture at the left edge, above the icon.
        TOwned<TBitmap> left = MakeOwned<TBitmap>();
        left->Assign(bar->Sections()->Items(0)->Picture()->Bitmap());
        EXPECT_EQ(active->Canvas().Pixels(1, 0), left->Canvas().Pixels(1, 0));
        // The maximise button's three faces differ, and only it changes.
        EXPECT_FALSE(same(*active, *hot, maximise));
        EXPECT_FALSE(same(*hot, *pressed, maximise));
        EXPECT_TRUE(same(*active, *hot, TRect(0, 0, maxLeft - 30, bar->Height())));
        // Only the caption takes the inactive colour.
        const TRect caption(0, 0, maxLeft - 30, bar->Height());
        EXPECT_GT(count(*dim, caption, inactive), count(*active, caption, inactive));
        if (style == DeepBlue) deepBlue = std::move(active);
    }
    SysLocale.MiddleEast = true;
    bar->SetParentBiDiMode(false);
    bar->SetBiDiMode(TBiDiMode::bdRightToLeft);
    bar->SetUIStyle(DeepBlue);
    TOwned<TBitmap> rtl = save(L"deepblue_rtl");
    // The caption leaves the left, where the icon stays, for the buttons' side.
    const int top = bar->BtnTop(), buttons = bar->Width() - 60;
    EXPECT_TRUE(same(*deepBlue, *rtl, TRect(0, 0, 20, bar->Height())));
    EXPECT_FALSE(same(*deepBlue, *rtl, TRect(21, top, 60, top + 12)));
    EXPECT_FALSE(same(*deepBlue, *rtl, TRect(buttons - 40, top, buttons - 10, top + 12)));
}

// ------------------------------------------------------------- skin files

namespace {

class TFrameOnForm : public TCustomPanel, public IkypTitleBarFrame {
public:
    using TCustomPanel::TCustomPanel;
    bool IsMDIFrame() const override { return false; }
    void PaintFormBorder() override { ++borderPaints; }
    int borderPaints = 0;
};

}  // namespace

TEST_F(TitleBarWindowTest, AFiveSectionSkinGrowsItsCaptionSectionWithTheCaptionInsideAFrame)
{
    TempDir dir;
    const String skin = dir.File("five.skn");
    WriteSkinFile(skin, {BitmapRecord("SKIN2_TITLEBAR1", 30, 28, 0x203040), BitmapRecord("SKIN2_TITLEBAR2", 6, 28, 0x3070B0),
                            BitmapRecord("SKIN2_TITLEBAR3", 24, 28, 0x2050A0), BitmapRecord("SKIN2_TITLEBAR4", 4, 28, 0x102860),
                            BitmapRecord("SKIN2_TITLEBAR5", 40, 28, 0x203040), BitmapRecord("SKIN2_TITLEBUTTONS", 18 * 16, 16, 0xE0E0E0),
                            BooleanRecord("SKIN2_TITLEFIVESECT", 1), IntegerRecord("SKIN2_TITLEBARICONPOSX", 6),
                            IntegerRecord("SKIN2_TITLEBARICONPOSY", 7), IntegerRecord("SKIN2_TITLEBARCAPTIONTOP", 10),
                            IntegerRecord("SKIN2_TITLEBARBUTTONPOSX", 8), IntegerRecord("SKIN2_TITLEBARBUTTONPOSY", 9),
                            IntegerRecord("SKIN2_TITLEFONTCOLOR", 0xFFFFFF), IntegerRecord("SKIN2_FORMCOLOR", 0x808080),
                            IntegerRecord("SKIN2_TRANSCOLOR", 0xFF00FF)});
    TkypFileTheme* theme = New<TkypFileTheme>(form.get());
    theme->SetThemeFile(skin);
    ASSERT_TRUE(theme->Ready());
    TFrameOnForm* frame = New<TFrameOnForm>(form.get());
    frame->SetParent(form.get());
    frame->SetBounds(0, 0, form->ClientWidth(), 100);
    TkypTitleBar* framed = New<TkypTitleBar>(form.get());
    framed->SetParent(frame);
    framed->SetFileTheme(theme);
    framed->SetUIStyle(FromThemeFile);
    EXPECT_EQ(framed->Height(), 25);  // less the frame's three top rows
    EXPECT_EQ(framed->BtnTop(), 6);
    EXPECT_EQ(framed->IconTop(), 4);

    // The caption section (RGB 3070B0) ends LeftBtnXOffset + the
    // caption's width + 17 pixels past where the left section began (-3).
    auto captionSectionEnd = [framed] {
        TOwned<TBitmap> shot = Snapshot(framed);
        int end = -1;
        for (int x = 0; x < shot->Width(); ++x)
            if (shot->ScanLine(20)[x] == 0x3070B0u) end = x + 1;
        return end;
    };
    TBitmap ruler;
    ruler.Canvas().SetFont(framed->Font());
    framed->SetCaption(L"Short");
    const int shortEnd = captionSectionEnd();
    EXPECT_EQ(shortEnd, -3 + 6 + ruler.Canvas().TextWidth(L"Short") + 17);
    EXPECT_EQ(framed->DrawingCap(), L"Short");
    framed->SetCaption(L"A rather longer caption");
    EXPECT_EQ(captionSectionEnd(), -3 + 6 + ruler.Canvas().TextWidth(L"A rather longer caption") + 17);
    EXPECT_GT(frame->borderPaints, 1);

    TBitmap* image = nullptr;
    framed->GetTitleImage(-1, image);
    EXPECT_EQ(image->Width(), framed->Width() + 6);
    EXPECT_EQ(image->Height(), 28);
    std::filesystem::create_directories("screens");
    Snapshot(framed)->SaveToFile(L"screens/titlebar_skinfile_five.bmp");
}

TEST_F(TitleBarWindowTest, TheSampleSkinGivesItsSizesPicturesAndBothLayouts)
{
    namespace skin = CopperSkin;
    TkypFileTheme* theme = New<TkypFileTheme>(form.get());
    theme->SetThemeFile(SampleSkinFile());
    ASSERT_TRUE(theme->Ready());
    form->SetWidth(520);
    bar->SetCaption(L"Quorvell - a small skinned sound recorder");
    bar->SetFileTheme(theme);
    bar->SetUIStyle(FromThemeFile);

    TOwned<TBitmap> left = SampleSkinPicture(L"SKIN2_TITLEBAR1");
    TOwned<TBitmap> strip = SampleSkinPicture(L"SKIN2_TITLEBUTTONS");
    EXPECT_EQ(bar->Sections()->Count(), 3);
    EXPECT_EQ(bar->Height(), left->Height());
    EXPECT_EQ(bar->BtnTop(), skin::SKIN2_TITLEBARBUTTONPOSY);
    EXPECT_EQ(bar->LeftBtnXOffset(), skin::SKIN2_TITLEBARICONPOSX);
    EXPECT_EQ(bar->Font().Color(), skin::SKIN2_TITLEFONTCOLOR);
    // The left section (40 pixels) and the right one (110), which is wider
    // than the four 18-pixel buttons behind their 6-pixel inset.
    EXPECT_EQ(form->Constraints().MinWidth(), 150);
    TkypTitleBarButton* close = bar->Buttons()->Items(1);
    EXPECT_EQ(close->Transparent(), skin::SKIN2_TITLEBTNTRANS);
    for (int y = 0; y < strip->Height(); ++y)
        for (int x = 0; x < strip->Width() / 18; ++x)
            ASSERT_EQ(close->PicMouseOn()->Bitmap()->ScanLine(y)[x], strip->ScanLine(y)[16 * strip->Width() / 18 + x]);

    std::filesystem::create_directories("screens");
    auto save = [this](const wchar_t* name) { Snapshot(bar)->SaveToFile(String(L"screens/titlebar_copper_") + name + L".bmp"); };
    save(L"active");
    bar->SetFormActive(false);
    save(L"inactive");
    bar->SetFormActive(true);
    // The 18-pixel close button, 6 pixels and the one of a plain form in from the right.
    const int closeLeft = bar->Width() - 25;
    Hover(bar, closeLeft + 4, bar->BtnTop() + 4);
    EXPECT_EQ(bar->InButtons(), 1);
    save(L"hot");
    Leave(bar);

    theme->SetThemeFile(SampleSkinFolder() + L"CopperFive.skn");
    bar->SetFileTheme(theme);
    EXPECT_EQ(bar->Sections()->Count(), 5);
    EXPECT_TRUE(bar->Sections()->Items(1)->CapSec());
    save(L"five");
    EXPECT_EQ(bar->DrawingCap(), bar->Caption());
    SysLocale.MiddleEast = true;
    bar->SetParentBiDiMode(false);
    bar->SetBiDiMode(TBiDiMode::bdRightToLeft);
    theme->SetThemeFile(SampleSkinFile());
    bar->SetFileTheme(theme);
    save(L"rtl");
}

// A three-section skin without its middle picture: the title image shows
// the form colour there, never what the built-in style before it drew.
TEST_F(TitleBarWindowTest, WhereNoPictureCoversTheTitleImageItShowsTheFormColour)
{
    TempDir dir;
    auto* frame = FrameInSkinFile(dir, "gap.skn",
                                  {BitmapRecord("SKIN2_TITLEBAR1", 30, 28, 0x203040), BitmapRecord("SKIN2_TITLEBAR3", 24, 28, 0x2050A0),
                                   IntegerRecord("SKIN2_FORMCOLOR", kSkinFormColour), IntegerRecord("SKIN2_TRANSCOLOR", 0xFF00FF)});
    Pump();  // DeepBlue's pictures across the title image
    frame->SetFileTheme(theme_.get());
    frame->SetUIStyle(FromThemeFile);
    Pump();
    ExpectTitleAndTopBorderInTheFormColour(frame, -1);
    frame->SetFileTheme(nullptr);
}

TEST_F(TitleBarWindowTest, ARightSectionDrawnOnInPlaceShowsItsNewPixels)
{
    for (int i = 0; i < bar->Buttons()->Count(); ++i) bar->Buttons()->Items(i)->SetVisible(false);
    TkypTitleBarSection* right = bar->Sections()->Items(1);
    ASSERT_EQ(right->Align(), kypRight);
    Snapshot(bar);
    TCanvas& canvas = right->Picture()->Bitmap()->Canvas();
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(TRect(0, 0, right->Picture()->Width(), right->Picture()->Height()));
    EXPECT_EQ(Snapshot(bar)->Canvas().Pixels(bar->Width() - 2, bar->Height() / 2), clRed);
}

// A form without a window resizes inside the call, so its handler's
// exception leaves the bar's theme setter.
TEST_F(TitleBarWindowTest, AThemeThatRaisesHalfwayLeavesTheBarSettingItsFontColour)
{
    auto windowless = MakeOwned<TForm>(nullptr);
    auto* other = New<TkypTitleBar>(windowless.get());
    other->SetParent(windowless.get());
    windowless->Constraints().SetMinWidth(0);
    windowless->SetWidth(40);  // the skin's minimum width resizes it
    windowless->OnResize = [](TObject*) { throw Exception(L"resize refused"); };
    auto theme = MakeOwned<TkypFileTheme>(nullptr);
    theme->SetThemeFile(SampleSkinFile());
    EXPECT_THROW(other->SetFileTheme(theme.get()), Exception);
    windowless->OnResize = nullptr;
    other->SetUIStyle(MacOS);
    EXPECT_EQ(other->Font().Color(), clBlack);
}

// A skin that cuts its title through the key colour: there the frame's top
// border shows the form colour, never what a built-in style drawn in
// between left in the bar's pictures.
TEST_F(TitleBarWindowTest, TheTopBorderShowsTheFormColourThroughTheTitlesKeyAfterAStyleSwitch)
{
    TempDir dir;
    constexpr TColor kKey = 0xFF00FF;
    auto* frame = FrameInSkinFile(
        dir, "cut.skn",
        {BitmapRecord("SKIN2_TITLEBAR1", 30, 28, 0x203040), BitmapRecord("SKIN2_TITLEBAR2", 6, 28, kKey),
         BitmapRecord("SKIN2_TITLEBAR3", 24, 28, 0x2050A0), IntegerRecord("SKIN2_FORMCOLOR", kSkinFormColour),
         IntegerRecord("SKIN2_TRANSCOLOR", kKey), BooleanRecord("SKIN2_TITLEBARNEEDREGION", 1),
         IntegerRecord("SKIN2_TITLEBARREGIONMINY", 10), IntegerRecord("SKIN2_TITLEBARREGIONMAXY", 12)});
    frame->SetFileTheme(theme_.get());
    frame->SetUIStyle(FromThemeFile);
    Pump();
    frame->SetUIStyle(DeepBlue);
    Pump();
    frame->SetUIStyle(FromThemeFile);
    Pump();
    ExpectTitleAndTopBorderInTheFormColour(frame, -2);
    frame->SetFileTheme(nullptr);
}
