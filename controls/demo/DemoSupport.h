// What the demos share: their command line, the look they give a skinned
// component (a built-in style or a skin file), pictures of what they show
// and ending by themselves, for scripted runs and screenshots.
//
// Every demo reads these options:
//
//   --style NAME   MacOS, WinXP, DeepBlue (default), Protein or BlueGlass
//   --skin FILE    a skin file (the style is then the file's)
//   --seconds N    closes by itself after N seconds
//   --capture FILE saves a picture as a BMP file and closes
#pragma once

#include <functional>
#include <vector>

#include "Classes.h"
#include "KYPMgr.h"
#include "KYPStyle.h"
#include "Menus.h"
#include "Types.h"

class TWinControl;

// A built-in style by name, any letter case, or FromThemeFile (which looks
// DeepBlue without a skin file, as every skinned class does); an unknown
// name gives DeepBlue.
TkypUIStyle StyleNamed(const String& name);

// Options are "--name" alone or "--name value"; one given twice counts
// the last time.
class TDemoCommandLine {
public:
    TDemoCommandLine(int argc, const wchar_t* const* argv);

    bool Has(const wchar_t* flag) const;
    // The argument after Option; Otherwise when Option is absent or last.
    String Value(const wchar_t* option, const String& otherwise = String()) const;
    long Number(const wchar_t* option, long otherwise = 0) const;

    TkypUIStyle Style() const { return StyleNamed(Value(L"--style")); }
    String Skin() const { return Value(L"--skin"); }
    unsigned Seconds() const;
    String Capture() const { return Value(L"--capture"); }

private:
    // The index of the value after Option's last occurrence; 0 for none.
    size_t ValueIndex(const wchar_t* option) const;

    std::vector<String> args_;  // the program's name first
};

// The program's own command line, read once.
const TDemoCommandLine& DemoCommandLine();

// The theme of the --skin file, owned by Owner; null without --skin.
TkypFileTheme* DemoTheme(TComponent* owner);

// Gives a skinned component the skin file's look when there is a theme,
// else the built-in style.
template <class Skinned>
void ApplyDemoLook(Skinned& skinned, TkypFileTheme* theme, TkypUIStyle style)
{
    if (theme) {
        skinned.SetFileTheme(theme);
        skinned.SetUIStyle(FromThemeFile);
    } else {
        skinned.SetUIStyle(style);
    }
}

// A new item of Parent's, owned by Owner.
TMenuItem* AddMenuItem(TComponent* owner, TMenuItem* parent, const String& caption, TShortCut shortCut = scNone);

// The whole screen, and a window's place on it.
TRect ScreenArea();
TRect WindowArea(TWinControl& window);

// Saves what the screen shows in Area as a BMP file; the part of Area
// beyond the screen's edges is left out, for the screen has nothing there.
void SaveScreen(TRect area, const String& fileName);

// Runs Action once, Milliseconds from now, while Owner lives.
void RunOnce(TComponent* owner, unsigned milliseconds, std::function<void()> action);

// Ends the program as the command line asks: with --capture, CaptureAfter
// milliseconds from now, once Capture has saved the picture to the file;
// with --seconds, after that many seconds; else it stays open. Answers the
// milliseconds until the end, 0 for none.
unsigned EndAsAsked(TComponent* owner, unsigned captureAfter, std::function<void(const String&)> capture);
