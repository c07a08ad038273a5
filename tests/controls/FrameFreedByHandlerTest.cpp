// Every entry point of the skinned frames that runs handlers, crossed with
// each handler that runs during it freeing the frame (or its form, or the
// child's frame, or the loose title bar) on the spot: under the freed-memory
// poison no freed byte may be touched, the operation returns, and a new
// frame on the same form works. A row names the handlers it runs; the cell
// fails when the handler did not fire, so every cell tests what it says.
#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "FreedMemoryPoison.h"
#include "HeldKeys.h"
#include "MDIHarness.h"
#include "SampleSkin.h"

#include "ExtCtrls.h"
#include "KYPForm.h"
#include "KYPMDIForm.h"
#include "KYPTitleBar.h"
#include "Menus.h"

namespace {

// The handlers that free: the form's OnResize, a panel's on the frame, the
// form's activation (a message hook), the title bar's button events, a
// menu item's click, the bar's mouse events, the system's move.
enum TFreer : unsigned {
    kResize = 1, kPanel = 2, kActivate = 4, kTitleButton = 8, kMenu = 16, kMouse = 32, kMove = 64, kIcon = 128
};
constexpr TFreer kAllFreers[] = {kResize, kPanel, kActivate, kTitleButton, kMenu, kMouse, kMove, kIcon};

const char* const kFreerNames[] = {"OnResize", "a panel's OnResize", "activation", "a title-bar button event",
                                   "a menu item's click", "a mouse event", "the system's move", "the icon's message"};

template <class Fixture>
struct TRow {
    const char* name;
    unsigned freers;  // the handlers that run during it
    std::function<void(Fixture&)> run;
    std::function<void(Fixture&)> prepare = nullptr;  // before the handler is armed
};

// Stops each system move before its modal loop runs, and lets the move's
// handler (a cell's freer) run there.
std::function<void()> g_OnMove;
LRESULT CALLBACK StopMoves(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_SYSCOMMAND && (wParam & 0xFFF0) == SC_MOVE) {
        if (g_OnMove) g_OnMove();
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// What every table shares: the armed handler, which frees once, and the cell's run.
class FreedByHandler {
public:
    // The handler of kind Freer calls this; Victim frees what the cell frees.
    void Fire(TFreer freer)
    {
        if (armed_ != freer || (when && !when())) return;
        armed_ = 0;
        fired_ = true;
        victim_();
    }
    struct TVictim {
        const char* name;
        std::function<void()> free;
    };
    // Each cell: Make builds what it frees under the poison; Works checks,
    // once the handler freed it, that a new one works.
    template <class Fixture>
    void RunTable(Fixture& fixture, std::span<const TRow<Fixture>> rows, const std::vector<TVictim>& victims,
                  const std::function<void()>& make, const std::function<void()>& works)
    {
        for (const TRow<Fixture>& row : rows)
            for (TFreer freer : kAllFreers)
                for (const TVictim& victim : victims) {
                    if (!(row.freers & freer)) continue;
                    SCOPED_TRACE(std::string(row.name) + " / " + kFreerNames[std::countr_zero(unsigned{freer})] + " / " +
                                 victim.name);
                    TPoisonFreedMemory poison;
                    make();
                    if (row.prepare) row.prepare(fixture);
                    victim_ = victim.free;
                    fired_ = false;
                    armed_ = freer;
                    row.run(fixture);
                    Application->ProcessMessages();
                    armed_ = 0;
                    when = nullptr;
                    EXPECT_TRUE(fired_) << "the handler never ran";
                    EXPECT_EQ(poison.Faults(), 0);
                    works();
                }
    }
    static TOwned<TkypFileTheme> SampleTheme()
    {
        auto theme = MakeOwned<TkypFileTheme>(nullptr);
        theme->SetThemeFile(SampleSkinFile());
        return theme;
    }
    static void HoverAt(TWinControl* control, int x, int y)
    {
        const TPoint screen = control->ClientToScreen(TPoint(x, y));
        SetCursorPos(screen.X, screen.Y);
        PostMessageW(control->Handle(), WM_MOUSEMOVE, 0, At(x, y));
        Application->ProcessMessages();
    }
    // Pressed and released on the title bar's button Index (found by hovering).
    static void ClickTitleButton(TkypTitleBar* bar, int index)
    {
        for (int x = bar->Width() - 2; x > bar->Width() / 2; x -= 3) {
            HoverAt(bar, x, 10);
            if (bar->InButtons() != index) continue;
            const HWND window = bar->Handle();  // the press may free the bar
            PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(x, 10));
            PostMessageW(window, WM_LBUTTONUP, 0, At(x, 10));
            Application->ProcessMessages();
            return;
        }
        ADD_FAILURE() << "no title-bar button " << index;
    }
    static void AddCustomButton(TkypTitleBar* bar)
    {
        TkypTitleBarButton* close = bar->Buttons()->Items(1);
        TkypTitleBarButton* custom = bar->Buttons()->Add();
        custom->SetPicNormal(close->PicNormal());
        custom->SetPicMouseOn(close->PicMouseOn());
        custom->SetPicMouseDown(close->PicMouseDown());
    }
    void FireOnTitleButtons(TkypTitleBar* bar)
    {
        bar->OnMaxClick = bar->OnMinClick = [this](TObject*, bool&) { Fire(kTitleButton); };
        bar->OnCustomBtnsClick = [this](TObject*, int) { Fire(kTitleButton); };
    }
    // A menu whose item Ctrl+R fires the menu's freer.
    TMainMenu* FiringMenu(TForm* owner)
    {
        auto* menu = New<TMainMenu>(owner);
        auto* item = New<TMenuItem>(menu);
        item->SetCaption(L"&Record");
        item->SetShortCut(ShortCut('R', scCtrl));
        item->OnClick = [this](TObject*) { Fire(kMenu); };
        menu->Items()->Add(item);
        return menu;
    }
    // A panel filling Parent whose OnResize fires the panel's freer.
    void FiringPanel(TForm* owner, TWinControl* parent)
    {
        auto* panel = New<TPanel>(owner);
        panel->SetParent(parent);
        panel->SetAlign(TAlign::alClient);
        panel->OnResize = [this](TObject*) { Fire(kPanel); };
    }
    void FireOnActivation(TWinControl* control, UINT msg)
    {
        control->AddWindowHook(nullptr, [this, msg](TMessage& message, const TWindowHookNext& next) {
            next(message);
            if (message.Msg == msg && LOWORD(message.WParam) != WA_INACTIVE) Fire(kActivate);
        });
    }
    static void CtrlKey(HWND window, WORD key)
    {
        const THeldKeys ctrl{VK_CONTROL};
        PostMessageW(window, WM_KEYDOWN, key, 1);
        Application->ProcessMessages();
    }
    static bool IsRounded(HWND window)
    {
        TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
        return GetWindowRgn(window, region.get()) != ERROR && !PtInRegion(region.get(), 0, 0);
    }

    std::function<bool()> when;  // set by a row: the handler frees only once it holds
    TOwned<TkypFileTheme> theme = SampleTheme();
    unsigned armed_ = 0;
    bool fired_ = false;
    std::function<void()> victim_;
};

// ------------------------------------------------------------ the form frame

class FormFrameFreedTest : public WindowHarness, public FreedByHandler {
public:
    TForm* Form() { return form.get(); }
    TkypForm* frame = nullptr;

    // A shown form with its frame, a menu, a panel and a custom title button,
    // every handler ready to fire; made under the poison by each cell.
    void MakeFramedForm()
    {
        form = MakeOwned<TForm>(nullptr);
        form->SetBorderStyle(TFormBorderStyle::bsSingle);  // framed as a dialog, which shows an icon
        form->SetBounds(60, 60, 420, 300);
        form->OnResize = [this](TObject*) { Fire(kResize); };
        FireOnActivation(form.get(), WM_ACTIVATE);
        // Older than the frame's hook: the frame takes the new window after it.
        recreated = false;
        form->AddWindowHook(nullptr, [this](TMessage& message, const TWindowHookNext& next) {
            next(message);
            recreated = recreated || message.Msg == CM_RECREATEWND;
            if (message.Msg == WM_SETICON) Fire(kIcon);
        });
        frame = New<TkypForm>(form.get());
        frame->SetMenu(FiringMenu(form.get()));
        FiringPanel(form.get(), frame);
        AddCustomButton(frame->TitleBar());
        FireOnTitleButtons(frame->TitleBar());
        ShowForm();
    }
    bool HasCaption() { return GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_CAPTION; }
    bool recreated = false;
    void ClickButton(int index) { ClickTitleButton(frame->TitleBar(), index); }
    void Activate()
    {
        SetForegroundWindow(GetDesktopWindow());
        Pump();
        SetForegroundWindow(form->Handle());
    }
};

using FormRow = TRow<FormFrameFreedTest>;
using W = TWindowState;
const FormRow kFormRows[] = {
    {"style", kResize, [](auto& t) { t.frame->SetUIStyle(WinXP); }},
    {"skin file", kResize, [](auto& t) { t.frame->SetFileTheme(t.theme.get()), t.frame->SetUIStyle(FromThemeFile); }},
    {"title bar hidden", kPanel, [](auto& t) { t.frame->SetTitleBarVisible(false); }},
    {"maximise", kResize | kPanel, [](auto& t) { t.Form()->SetWindowState(W::wsMaximized); }},
    {"restore", kResize | kPanel, [](auto& t) { t.Form()->SetWindowState(W::wsNormal); },
     [](auto& t) { t.Form()->SetWindowState(W::wsMaximized); }},
    {"minimise", kResize, [](auto& t) { t.Form()->SetWindowState(W::wsMinimized); }},
    {"size", kResize | kPanel, [](auto& t) { t.Form()->SetWidth(t.Form()->Width() + 30); }},
    {"window made anew", kIcon, [](auto& t) { t.when = [&t] { return t.recreated; }, t.Form()->RecreateWnd(); }},
    {"activation", kActivate, [](auto& t) { t.Activate(); }},
    {"menu shortcut", kMenu, [](auto& t) { t.CtrlKey(t.Form()->Handle(), 'R'); }},
    {"maximise button", kTitleButton | kResize | kPanel, [](auto& t) { t.ClickButton(2); }},
    {"minimise button", kTitleButton | kResize, [](auto& t) { t.ClickButton(3); }},
    {"custom button", kTitleButton, [](auto& t) { t.ClickButton(4); }},
};

TEST_F(FormFrameFreedTest, NoHandlerFreeingTheFrameOrItsFormTouchesWhatItFreed)
{
    RunTable<FormFrameFreedTest>(*this, kFormRows,
        {{"the frame freed", [this] { FreeAndNil(frame); }}, {"the form freed", [this] { form.reset(); }}},
        [this] { MakeFramedForm(); },
        [this] {
            if (!form) MakeFramedForm();
            form->SetWindowState(TWindowState::wsNormal);
            FreeAndNil(frame);
            form->OnResize = nullptr;
            frame = New<TkypForm>(form.get());
            frame->SetUIStyle(WinXP);
            Pump();
            EXPECT_FALSE(HasCaption());
            EXPECT_TRUE(IsRounded(form->Handle()));
            form.reset();
        });
}

// ------------------------------------------------- the MDI frame with a child

class MDIFrameFreedTest : public MDIHarness, public FreedByHandler {
public:
    TkypMDIForm* frame = nullptr;
    TForm *child = nullptr, *other = nullptr;
    TkypForm* childFrame = nullptr;

    TForm* Mdi() { return mdi; }
    // The frame with a menu (also the window menu), a skinned child with a
    // panel on its frame, and a plain child; every handler ready to fire.
    void MakeFrameAndChildren()
    {
        mdi->SetWindowState(TWindowState::wsNormal);
        mdi->OnResize = [this](TObject*) { Fire(kResize); };
        frame = New<TkypMDIForm>(mdi);
        TMainMenu* menu = FiringMenu(mdi);
        auto* window = New<TMenuItem>(menu);
        window->SetCaption(L"&Window");
        window->Add(New<TMenuItem>(menu));
        menu->Items()->Add(window);
        mdi->SetWindowMenu(window);
        frame->SetMenu(menu);
        AddCustomButton(frame->TitleBar());
        FireOnTitleButtons(frame->TitleBar());
        FireOnActivation(mdi, WM_ACTIVATE);
        ShowFrame();
        other = ShowChild(200, 100, 240, 160);
        child = ShowChild(10, 10, 240, 160);
        child->OnResize = [this](TObject*) { Fire(kResize); };
        childFrame = New<TkypForm>(child);
        FiringPanel(child, childFrame);
        FireOnTitleButtons(childFrame->TitleBar());
        child->AddWindowHook(nullptr, [this](TMessage& message, const TWindowHookNext& next) {
            const HWND window = child->Handle();
            next(message);
            if (message.Msg == WM_MDIACTIVATE && reinterpret_cast<HWND>(message.LParam) == window) Fire(kActivate);
        });
        Pump();
    }
    void FreeAll()
    {
        mdi->OnResize = nullptr;
        mdi->SetWindowMenu(nullptr);
        while (mdi->MDIChildCount() > 0) FreeObject(mdi->MDIChildren(0));
        FreeAndNil(frame);
        for (int i = mdi->ComponentCount() - 1; i >= 0; --i) FreeObject(mdi->Components(i));
        child = other = nullptr;
        childFrame = nullptr;
        Pump();
    }
    void ClickEntryOf(TForm* target)
    {
        TkypMDIWindowMenu* entries = frame->WindowMenuEntries();
        for (int i = 0; i < entries->EntryCount(); ++i)
            if (entries->EntryWindow(entries->Entries(i)) == target->Handle()) return entries->Entries(i)->Click();
        ADD_FAILURE() << "no window-menu entry";
    }
    bool HasCaption() { return GetWindowLongPtrW(mdi->Handle(), GWL_STYLE) & WS_CAPTION; }
    bool TitleShows() { return childFrame && childFrame->TitleBarVisible(); }
};

using MDIRow = TRow<MDIFrameFreedTest>;
const MDIRow kMDIRows[] = {
    {"style", kResize, [](auto& t) { t.frame->SetUIStyle(WinXP); }},
    {"skin file", kResize, [](auto& t) { t.frame->SetFileTheme(t.theme.get()), t.frame->SetUIStyle(FromThemeFile); }},
    {"maximise", kResize, [](auto& t) { t.Mdi()->SetWindowState(W::wsMaximized); }},
    {"restore", kResize, [](auto& t) { t.Mdi()->SetWindowState(W::wsNormal); },
     [](auto& t) { t.Mdi()->SetWindowState(W::wsMaximized); }},
    {"minimise", kResize, [](auto& t) { t.Mdi()->SetWindowState(W::wsMinimized); }},
    {"window made anew", kResize, [](auto& t) { t.when = [&t] { return !t.HasCaption(); }, t.Mdi()->RecreateWnd(); }},
    {"child's style", kResize, [](auto& t) { t.childFrame->SetUIStyle(WinXP); }},
    {"child maximised", kResize | kPanel, [](auto& t) { t.child->SetWindowState(W::wsMaximized); }},
    {"child restored", kResize | kPanel, [](auto& t) { t.child->SetWindowState(W::wsNormal); },
     [](auto& t) { t.child->SetWindowState(W::wsMaximized); }},
    {"child's title bar hidden by its maximising", kPanel,
     [](auto& t) { t.when = [&t] { return !t.TitleShows(); }, t.child->SetWindowState(W::wsMaximized); }},
    {"child's title bar shown by its restoring", kPanel,
     [](auto& t) { t.when = [&t] { return t.TitleShows(); }, t.child->SetWindowState(W::wsNormal); },
     [](auto& t) { t.child->SetWindowState(W::wsMaximized); }},
    {"child activated", kActivate, [](auto& t) { t.child->BringToFront(); }, [](auto& t) { t.other->BringToFront(); }},
    {"window-menu entry", kActivate, [](auto& t) { t.ClickEntryOf(t.child); }, [](auto& t) { t.other->BringToFront(); }},
    {"menu shortcut", kMenu, [](auto& t) { t.CtrlKey(t.child->Handle(), 'R'); }},
    {"cascade", kResize, [](auto& t) { t.frame->Cascade(); }},
    {"tile", kResize, [](auto& t) { t.frame->Tile(); }},
    {"frame's maximise button", kTitleButton | kResize, [](auto& t) { t.ClickTitleButton(t.frame->TitleBar(), 2); }},
    {"child's maximise button", kTitleButton | kResize | kPanel,
     [](auto& t) { t.ClickTitleButton(t.childFrame->TitleBar(), 2); }},
};

TEST_F(MDIFrameFreedTest, NoHandlerFreeingTheFrameOrTheChildsFrameTouchesWhatItFreed)
{
    RunTable<MDIFrameFreedTest>(*this, kMDIRows,
        {{"the frame freed", [this] { FreeAndNil(frame); }}, {"the child's frame freed", [this] { FreeAndNil(childFrame); }}},
        [this] { MakeFrameAndChildren(); },
        [this] {
            FreeAll();
            mdi->SetWindowState(TWindowState::wsNormal);
            frame = New<TkypMDIForm>(mdi);
            frame->SetUIStyle(WinXP);
            Pump();
            EXPECT_FALSE(HasCaption());
            EXPECT_TRUE(IsRounded(mdi->Handle()));
            FreeAll();
        });
}

// ----------------------------------------------------------- the title bar

class TitleBarFreedTest : public WindowHarness, public FreedByHandler {
public:
    TkypTitleBar* bar = nullptr;
    TForm* Form() { return form.get(); }

    void SetUp() override
    {
        WindowHarness::SetUp();
        form->OnResize = [this](TObject*) { Fire(kResize); };
        g_OnMove = [this] { Fire(kMove); };
        hook_ = SetWindowsHookExW(WH_CBT, StopMoves, nullptr, GetCurrentThreadId());
        ShowForm();
    }
    void TearDown() override
    {
        UnhookWindowsHookEx(hook_);
        g_OnMove = nullptr;
        form->OnResize = nullptr;
        WindowHarness::TearDown();
    }
    // A loose bar on the form, every handler ready to fire.
    void MakeBar()
    {
        form->SetWindowState(TWindowState::wsNormal);
        bar = New<TkypTitleBar>(form.get());
        bar->SetParent(form.get());
        AddCustomButton(bar);
        FireOnTitleButtons(bar);
        bar->OnMouseDown = bar->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { Fire(kMouse); };
        bar->OnDblClick = [this](TObject*) { Fire(kMouse); };
        Pump();
    }
    void OnCaption(UINT msg)
    {
        Hover(bar, 150, 10);
        PostMessageW(bar->Handle(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, At(150, 10));
        Pump();
    }

private:
    HHOOK hook_ = nullptr;
};

using BarRow = TRow<TitleBarFreedTest>;
constexpr unsigned kClick = kTitleButton | kMouse;
const BarRow kBarRows[] = {
    {"maximise button", kClick | kResize, [](auto& t) { t.ClickTitleButton(t.bar, 2); }},
    {"restore button", kClick | kResize, [](auto& t) { t.ClickTitleButton(t.bar, 2); },
     [](auto& t) { t.Form()->SetWindowState(W::wsMaximized); }},
    {"minimise button", kClick | kResize, [](auto& t) { t.ClickTitleButton(t.bar, 3); }},
    {"custom button", kClick, [](auto& t) { t.ClickTitleButton(t.bar, 4); }},
    {"system menu's maximise", kTitleButton | kResize, [](auto& t) { t.bar->DefPopupMenu()->MaxItemClick(nullptr); }},
    {"system menu's minimise", kTitleButton | kResize, [](auto& t) { t.bar->DefPopupMenu()->MinItemClick(nullptr); }},
    {"caption double click", kClick | kResize, [](auto& t) { t.OnCaption(WM_LBUTTONDBLCLK); }},
    {"caption drag", kMouse | kMove, [](auto& t) { t.OnCaption(WM_LBUTTONDOWN); }},
    {"caption release", kMouse, [](auto& t) { t.OnCaption(WM_LBUTTONUP); }},
};

TEST_F(TitleBarFreedTest, NoHandlerFreeingTheBarTouchesWhatItFreed)
{
    RunTable<TitleBarFreedTest>(*this, kBarRows, {{"the bar freed", [this] { FreeAndNil(bar); }}}, [this] { MakeBar(); },
        [this] {
            FreeAndNil(bar);
            MakeBar();
            ClickTitleButton(bar, 2);
            EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
            FreeAndNil(bar);
        });
}

}  // namespace
