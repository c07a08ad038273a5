// The main window's popup menu as its form description has it: the look of
// sPM_menu and its items, top to bottom. The recorder and the menu demo
// build it from this one description.
#pragma once

#include <functional>

#include "FormLoader.h"
#include "KYPPopupMenu.h"

struct TRecorderMenuItem {
    const wchar_t* name;
    const wchar_t* caption;
};

inline constexpr TRecorderMenuItem kRecorderMenuItems[] = {
    {L"Help1", L"Help"},
    {L"QuorvellOnline1", L"Quorvell Online ..."},
    {L"N1", L"-"},
    {L"StartRecord1", L"Record"},
    {L"StopRecord1", L"Stop Record"},
    {L"N2", L"-"},
    {L"WavMp31", L"Wav->Mp3"},
    {L"N4", L"-"},
    {L"Play1", L"Play"},
    {L"StopPlay1", L"Stop Play"},
    {L"N3", L"-"},
    {L"Saveto1", L"Save to ..."},
    {L"AudioProperty1", L"Recording Source ..."},
    {L"N5", L"-"},
    {L"CheckUpdate1", L"Check Update ..."},
    {L"EverydayTips1", L"Everyday Tips..."},
    {L"Show1", L"Show Window"},
};

// Adds sPM_menu and then its items to the form being loaded; Bind sees
// each item once its caption is set (to give it its OnClick).
TkypPopupMenu* LoadRecorderMenu(TFormLoader& load, const std::function<void(TMenuItem&)>& bind = {});
