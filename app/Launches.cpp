#include "Launches.h"

#include <shellapi.h>

#include "Dialogs.h"
#include "FileSystem.h"
#include "IniFiles.h"

namespace {

void ShellOpen(HWND owner, const String& target)
{
    ShellExecuteW(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

String HelpFilePath(const String& folder) { return folder + L"help.chm"; }
String UpdateProgramPath(const String& folder) { return folder + L"update\\update.exe"; }
// The doubled delimiter after the folder is harmless: the system reads it
// as one.
String TipsSettingsPath(const String& folder) { return folder + L"\\Tips\\Halvoria.ini"; }
String TipsProgramPath(const String& folder) { return folder + L"\\Tips\\Halvoria.exe"; }

void OpenHelpFile(HWND owner, const String& folder) { ShellOpen(owner, HelpFilePath(folder)); }

void OpenHomePage(HWND owner) { ShellOpen(owner, kHomePageAddress); }

bool StartUpdateProgram(const String& folder)
{
    const String program = UpdateProgramPath(folder);
    if (!FileExists(program)) {
        ShowMessage(kUpdateMissingMessage);
        return false;
    }
    ShellOpen(nullptr, program);
    return true;
}

void OpenRecordingSource() { WinExec("sndvol32.exe /r", SW_SHOWNORMAL); }

bool TipsWanted(const String& folder)
{
    const TIniFile settings(TipsSettingsPath(folder));
    return StrToBool(settings.ReadString(L"Show", L"IsShow", L"-1"));
}

void StartTipsProgram(const String& folder) { ShellOpen(nullptr, TipsProgramPath(folder)); }

void ShowTips(const String& folder)
{
    // Asking the shell for a program that is not there costs the start the
    // loading of the shell and COM libraries.
    if (TipsWanted(folder) && FileExists(TipsProgramPath(folder))) StartTipsProgram(folder);
}
