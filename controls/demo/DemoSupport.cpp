#include "DemoSupport.h"

#include <windows.h>

#include <cwchar>
#include <utility>

#include "Bitmap.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "GdiHandles.h"

TkypUIStyle StyleNamed(const String& name)
{
    const std::pair<const wchar_t*, TkypUIStyle> styles[] = {{L"FromThemeFile", FromThemeFile}, {L"MacOS", MacOS},
        {L"WinXP", WinXP}, {L"DeepBlue", DeepBlue}, {L"Protein", Protein}, {L"BlueGlass", BlueGlass}};
    for (const auto& [text, style] : styles)
        if (_wcsicmp(text, name.c_str()) == 0) return style;
    return DeepBlue;
}

TDemoCommandLine::TDemoCommandLine(int argc, const wchar_t* const* argv) : args_(argv, argv + argc) {}

bool TDemoCommandLine::Has(const wchar_t* flag) const
{
    for (size_t i = 1; i < args_.size(); ++i)
        if (args_[i] == flag) return true;
    return false;
}

size_t TDemoCommandLine::ValueIndex(const wchar_t* option) const
{
    size_t found = 0;
    for (size_t i = 1; i + 1 < args_.size(); ++i)
        if (args_[i] == option) found = i + 1;
    return found;
}

String TDemoCommandLine::Value(const wchar_t* option, const String& otherwise) const
{
    const size_t index = ValueIndex(option);
    return index ? args_[index] : otherwise;
}

long TDemoCommandLine::Number(const wchar_t* option, long otherwise) const
{
    const size_t index = ValueIndex(option);
    return index ? std::wcstol(args_[index].c_str(), nullptr, 10) : otherwise;
}

// A negative count would wrap round to a wait of weeks: it means none.
unsigned TDemoCommandLine::Seconds() const
{
    const long seconds = Number(L"--seconds");
    return seconds > 0 ? static_cast<unsigned>(seconds) : 0;
}

const TDemoCommandLine& DemoCommandLine()
{
    static const TDemoCommandLine line(__argc, __wargv);
    return line;
}

TkypFileTheme* DemoTheme(TComponent* owner)
{
    const String skin = DemoCommandLine().Skin();
    if (skin.empty()) return nullptr;
    auto* theme = New<TkypFileTheme>(owner);
    theme->SetThemeFile(skin);
    return theme;
}

TMenuItem* AddMenuItem(TComponent* owner, TMenuItem* parent, const String& caption, TShortCut shortCut)
{
    auto* item = New<TMenuItem>(owner);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    parent->Add(item);
    return item;
}

TRect ScreenArea() { return TRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)); }

TRect WindowArea(TWinControl& window)
{
    RECT bounds{};
    GetWindowRect(window.Handle(), &bounds);
    return bounds;
}

void SaveScreen(TRect area, const String& fileName)
{
    RECT cut{};
    const RECT wanted = area, screen = ScreenArea();
    IntersectRect(&cut, &wanted, &screen);
    area = cut;
    TBitmap picture;
    picture.SetSize(area.Width(), area.Height());
    const TClientDC screenDC(nullptr);
    BitBlt(picture.Canvas().Handle(), 0, 0, area.Width(), area.Height(), screenDC.Handle(), area.Left, area.Top,
           SRCCOPY);
    picture.SaveToFile(fileName);
}

void RunOnce(TComponent* owner, unsigned milliseconds, std::function<void()> action)
{
    auto* timer = New<TTimer>(owner);
    timer->SetInterval(milliseconds);
    timer->SetOnTimer([timer, action = std::move(action)](TObject*) {
        timer->SetEnabled(false);
        action();
    });
}

unsigned EndAsAsked(TComponent* owner, unsigned captureAfter, std::function<void(const String&)> capture)
{
    const TDemoCommandLine& line = DemoCommandLine();
    const String file = line.Capture();
    const unsigned milliseconds = !file.empty() ? captureAfter : line.Seconds() * 1000;
    if (milliseconds == 0) return 0;
    RunOnce(owner, milliseconds, [file, capture = std::move(capture)] {
        if (!file.empty()) capture(file);
        EndMenu();  // an open menu's loop would outlive the quit message
        Application->Terminate();
    });
    return milliseconds;
}
