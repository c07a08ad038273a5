// The window layer's message path: binding, the switch into typed
// handlers, replaced window procedures, errors escaping handlers, graphic
// children, recreation and timers.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Controls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "PumpUntil.h"
#include "StdCtrls.h"

namespace {

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class TProbe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<std::string> Log;
    int Paints = 0;

protected:
    void MouseDown(TMouseButton button, TShiftState, int x, int y) override
    {
        Log.push_back("down " + std::to_string(static_cast<int>(button)) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseUp(TMouseButton button, TShiftState, int, int) override
    {
        Log.push_back("up " + std::to_string(static_cast<int>(button)));
    }
    void MouseMove(TShiftState, int x, int y) override
    {
        Log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    }
    void KeyDown(WORD& key, TShiftState) override { Log.push_back("key " + std::to_string(key)); }
    void Paint() override { ++Paints; }
};

class TGraphicProbe : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    std::vector<std::string> Log;
    TColor Fill = clRed;

protected:
    void Paint() override
    {
        Canvas().Brush().SetColor(Fill);
        Canvas().FillRect(ClientRect());
        Log.push_back("paint");
    }
    void MouseDown(TMouseButton, TShiftState, int x, int y) override
    {
        Log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseUp(TMouseButton, TShiftState, int x, int y) override
    {
        Log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    }
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Application->OnException = [this](TObject*, const Exception& error) { errors.push_back(error.Message()); };
        form = MakeOwned<TForm>(nullptr);
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        form->SetBounds(50, 50, 200, 150);
        form->SetColor(clWhite);
    }
    void TearDown() override { Application->OnException = nullptr; }

    std::vector<String> errors;
    TOwned<TForm> form;
};

TEST_F(WindowTest, MessagesReachTheTypedHandlersWithTheirArguments)
{
    auto* probe = New<TProbe>(form.get());
    probe->SetParent(form.get());
    probe->SetBounds(10, 10, 50, 40);
    HWND window = probe->Handle();
    EXPECT_EQ(FindControl(window), probe);

    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, At(3, 4));
    SendMessageW(window, WM_RBUTTONUP, 0, At(3, 4));
    SendMessageW(window, WM_MOUSEMOVE, 0, At(-2, 7));
    PostMessageW(window, WM_KEYDOWN, 'A', 0);
    Application->ProcessMessages();

    const std::vector<std::string> expected{"down 1 3,4", "up 1", "move -2,7", "key 65"};
    EXPECT_EQ(probe->Log, expected);
}

TEST_F(WindowTest, ALeftReleaseInsideAfterAPressIsOneClick)
{
    auto* probe = New<TProbe>(form.get());
    probe->SetParent(form.get());
    probe->SetBounds(0, 0, 50, 40);
    int clicks = 0;
    probe->OnClick = [&](TObject*) { ++clicks; };
    HWND window = probe->Handle();

    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageW(window, WM_LBUTTONUP, 0, At(5, 5));
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageW(window, WM_LBUTTONUP, 0, At(80, 5));  // released outside
    SendMessageW(window, WM_LBUTTONUP, 0, At(5, 5));   // no press before it
    EXPECT_EQ(clicks, 1);
}

TEST_F(WindowTest, NoHandlerRunsAfterTheWindowIsDestroyed)
{
    auto* probe = New<TProbe>(form.get());
    HWND window = probe->Handle();
    DestroyWindow(window);
    EXPECT_FALSE(probe->HandleAllocated());
    EXPECT_EQ(FindControl(window), nullptr);
    SendMessageW(window, WM_LBUTTONDOWN, 0, At(1, 1));
    EXPECT_TRUE(probe->Log.empty());

    // And a freed control's window is gone with it.
    HWND second = New<TProbe>(form.get())->Handle();
    form->DestroyComponents();
    EXPECT_FALSE(IsWindow(second));
}

TEST_F(WindowTest, AReplacedWindowProcSeesMessagesFirstAndCanHandOn)
{
    auto* probe = New<TProbe>(form.get());
    HWND window = probe->Handle();
    std::vector<UINT> seen;
    TWndMethod previous = probe->WindowProc;
    probe->WindowProc = [&](TMessage& message) {
        seen.push_back(message.Msg);
        if (message.Msg != WM_MOUSEMOVE) previous(message);
    };
    SendMessageW(window, WM_MOUSEMOVE, 0, At(1, 1));
    probe->Perform(WM_LBUTTONDOWN, 0, At(2, 2));
    EXPECT_EQ(probe->Log, std::vector<std::string>{"down 0 2,2"});
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0], static_cast<UINT>(WM_MOUSEMOVE));
}

TEST_F(WindowTest, AnErrorInAHandlerReachesTheApplicationAndTheLoopGoesOn)
{
    auto* probe = New<TProbe>(form.get());
    probe->SetBounds(0, 0, 20, 20);
    int clicks = 0;
    probe->OnClick = [&](TObject*) {
        if (++clicks == 2) throw EInOutError(L"handler failed", 5);
        throw Exception(L"handler failed");
    };
    // The application hears each error as the kind it was raised as.
    std::vector<int> codes;
    Application->OnException = [&](TObject*, const Exception& error) {
        errors.push_back(error.Message());
        const auto* inOut = dynamic_cast<const EInOutError*>(&error);
        codes.push_back(inOut ? inOut->ErrorCode : -1);
    };
    HWND window = probe->Handle();
    for (int i = 0; i < 2; ++i) {
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(1, 1));
        PostMessageW(window, WM_LBUTTONUP, 0, At(1, 1));
    }
    Application->ProcessMessages();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(errors, (std::vector<String>{L"handler failed", L"handler failed"}));
    EXPECT_EQ(codes, (std::vector<int>{-1, 5}));
}

TEST_F(WindowTest, GraphicChildrenArePaintedAndGivenTheMouseByTheirParent)
{
    auto* below = New<TGraphicProbe>(form.get());
    below->SetParent(form.get());
    below->SetBounds(10, 10, 40, 40);
    below->Fill = clBlue;
    auto* above = New<TGraphicProbe>(form.get());
    above->SetParent(form.get());
    above->SetBounds(30, 30, 40, 40);
    form->Show();
    Application->ProcessMessages();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);

    TClientDC dc(form->Handle());
    EXPECT_EQ(GetPixel(dc.Handle(), 15, 15), RGB(0, 0, 255));   // only the lower one
    EXPECT_EQ(GetPixel(dc.Handle(), 35, 35), RGB(255, 0, 0));   // the upper one on top
    EXPECT_EQ(GetPixel(dc.Handle(), 75, 75), RGB(255, 255, 255));  // the form's colour
    EXPECT_EQ(GetPixel(dc.Handle(), 69, 69), RGB(255, 0, 0));   // clipped to its bounds...
    EXPECT_EQ(GetPixel(dc.Handle(), 70, 70), RGB(255, 255, 255));  // ...and no further

    // Topmost child first; coordinates become the child's; it keeps the
    // mouse until the release even outside its bounds.
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(35, 35));
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, At(15, 15));
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(15, 15));
    EXPECT_EQ(above->Log.back(), "up -15,-15");
    EXPECT_EQ(std::count(above->Log.begin(), above->Log.end(), "down 5,5"), 1);
    EXPECT_EQ(below->Log.back(), "down 5,5");
}

TEST_F(WindowTest, KeyPreviewLetsTheFormTakeKeysFirst)
{
    auto* probe = New<TProbe>(form.get());
    probe->SetParent(form.get());
    std::vector<WORD> formKeys;
    form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        formKeys.push_back(key);
        if (key == 'X') key = 0;  // eaten
    };
    form->SetKeyPreview(true);
    SendMessageW(probe->Handle(), WM_KEYDOWN, 'X', 0);
    SendMessageW(probe->Handle(), WM_KEYDOWN, 'Y', 0);
    EXPECT_EQ(formKeys, (std::vector<WORD>{'X', 'Y'}));
    EXPECT_EQ(probe->Log, std::vector<std::string>{"key 89"});
}

TEST_F(WindowTest, RecreatingAWindowKeepsItsObjectAndTellsTheWatchers)
{
    auto* probe = New<TProbe>(form.get());
    probe->SetParent(form.get());
    probe->SetBounds(5, 6, 30, 20);
    HWND first = probe->Handle();
    int created = 0;
    const int hook = probe->AddHandleCreatedHandler([&](TWinControl*) { ++created; });
    probe->RecreateWnd();
    EXPECT_EQ(created, 1);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(FindControl(probe->Handle()), probe);
    RECT bounds{};
    GetWindowRect(probe->Handle(), &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 30);
    probe->RemoveHandleCreatedHandler(hook);
    probe->RecreateWnd();
    EXPECT_EQ(created, 1);
}

TEST_F(WindowTest, AWindowMadeBeforeItHadAParentBecomesItsChild)
{
    auto* probe = New<TProbe>(form.get());
    probe->SetBounds(3, 4, 10, 10);
    probe->HandleNeeded();
    probe->SetParent(form.get());
    EXPECT_EQ(GetParent(probe->Handle()), form->Handle());
    EXPECT_TRUE(GetWindowLongW(probe->Handle(), GWL_STYLE) & WS_CHILD);
}

TEST_F(WindowTest, AnAutoSizedLabelFollowsItsCaption)
{
    auto* label = New<TLabel>(form.get());
    label->SetParent(form.get());
    label->SetCaption(L"W");
    const int narrow = label->Width();
    label->SetCaption(L"WWWWWWWW");
    EXPECT_GT(label->Width(), narrow * 4);
    label->SetAutoSize(false);
    label->SetCaption(L"W");
    EXPECT_GT(label->Width(), narrow * 4);
}

TEST_F(WindowTest, ClientSizeOfAFormSizesItsWindowAroundIt)
{
    for (auto style : {TFormBorderStyle::bsNone, TFormBorderStyle::bsSizeable, TFormBorderStyle::bsDialog}) {
        TOwned<TForm> framed = MakeOwned<TForm>(nullptr);
        framed->SetBorderStyle(style);
        framed->SetClientWidth(321);
        framed->SetClientHeight(123);
        framed->HandleNeeded();
        RECT client{};
        GetClientRect(framed->Handle(), &client);
        EXPECT_EQ(client.right, 321) << static_cast<int>(style);
        EXPECT_EQ(client.bottom, 123) << static_cast<int>(style);
    }
}

TEST(TimerTest, FiresWhileEnabledAndStopsWhenDisabledOrFreed)
{
    Application->Initialize();
    int ticks = 0;
    TOwned<TTimer> timer = MakeOwned<TTimer>(nullptr);
    timer->SetInterval(10);
    timer->SetOnTimer([&](TObject*) { ++ticks; });
    PumpUntil([&] { return ticks >= 3; }, 3000, "three ticks");

    timer->SetEnabled(false);
    Application->ProcessMessages();
    const int stopped = ticks;
    WaitFor(60);  // six intervals: time for ticks of a timer left running
    EXPECT_EQ(ticks, stopped);

    timer->SetEnabled(true);
    timer.reset();  // freed while running: no tick reaches the freed object
    WaitFor(60);  // the same six intervals
    EXPECT_EQ(ticks, stopped);
}

TEST(ApplicationTest, RunEndsOnTerminateAndFreesItsForms)
{
    TOwned<TApplication> application = MakeOwned<TApplication>(nullptr);
    bool shown = false, destroyed = false;
    TForm* form = nullptr;
    application->CreateForm(form);
    application->CreateForm<TForm>();
    EXPECT_EQ(application->MainForm(), form);
    form->OnShow = [&](TObject*) { shown = true; };
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    TOwned<TTimer> stop = MakeOwned<TTimer>(nullptr);
    stop->SetInterval(20);
    stop->SetOnTimer([&](TObject*) { application->Terminate(); });
    application->Run();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(application->Terminated());
    EXPECT_EQ(application->MainForm(), nullptr);
    EXPECT_EQ(application->ComponentCount(), 0);
}

TEST(ApplicationTest, TheApplicationWindowOwnsTheFormsAndMinimisesTheMainForm)
{
    TOwned<TApplication> application = MakeOwned<TApplication>(nullptr);
    TForm* form = application->CreateForm<TForm>();
    form->Show();
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), Application->Handle());
    SendMessageW(application->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(form->Handle()));
}

}  // namespace
