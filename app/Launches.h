// What the recorder starts outside itself: its help file, its home page,
// the update and tips programs beside it, and the system's recording
// controls. Folder is the program's directory with its trailing delimiter;
// the results of the shell's starts are not examined.
#pragma once

#include <windows.h>

#include "SysUtils.h"

// A placeholder host of our own, in a domain reserved for examples.
inline const String kHomePageAddress = L"https://www.quorvell.example/?r=X02";
inline const String kUpdateMissingMessage =
    L"The update package is not installed.\n"
    L"The newest version can be downloaded from https://www.quorvell.example/";

String HelpFilePath(const String& folder);
String UpdateProgramPath(const String& folder);
String TipsSettingsPath(const String& folder);
String TipsProgramPath(const String& folder);

void OpenHelpFile(HWND owner, const String& folder);
void OpenHomePage(HWND owner);
// Starts the update program and answers true (the recorder then ends);
// without it, tells the user where to get the newest version.
bool StartUpdateProgram(const String& folder);
void OpenRecordingSource();

// The tips settings' "IsShow" (default "-1") read as a Boolean; a value
// that is neither an integer nor a Boolean word is an EConvertError.
bool TipsWanted(const String& folder);
void StartTipsProgram(const String& folder);
// Starts the tips program when its settings ask for it.
void ShowTips(const String& folder);
