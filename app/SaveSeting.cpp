#include "SaveSeting.h"

#include "Registry.h"

void ReadSettingString(const String& key, const String& name, String& value)
{
    value.clear();
    try {
        TRegistry registry;
        if (registry.OpenKey(key, false)) value = registry.ReadString(name);
    } catch (const ERegistryException&) {
        value.clear();
    }
}

void WriteSettingString(const String& key, const String& name, const String& value)
{
    TRegistry registry;
    if (registry.OpenKey(key, true)) registry.WriteString(name, value);
}

String ReadMusicPath()
{
    String prefix;
    ReadSettingString(kSettingsKey, kMusicPathName, prefix);
    return prefix;
}

void WriteMusicPath(const String& prefix) { WriteSettingString(kSettingsKey, kMusicPathName, prefix); }
