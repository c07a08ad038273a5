// The recorder's settings in the current user's registry.
#pragma once

#include "SysUtils.h"

// Where the recorder keeps its settings, and the recording name prefix.
inline const String kSettingsKey = L"\\Software\\Velmarsh\\Quorvell\\";
inline const String kMusicPathName = L"MusicPath";

// Value := the string value Name of Key, or empty: a missing key or value
// and a value of another type all read as empty, silently.
void ReadSettingString(const String& key, const String& name, String& value);
// Stores Value as REG_SZ, making Key when missing. A key that cannot be
// opened or made writes nothing silently; a failing write raises
// ERegistryException.
void WriteSettingString(const String& key, const String& name, const String& value);

// The stored recording name prefix; empty when none was chosen.
String ReadMusicPath();
void WriteMusicPath(const String& prefix);
