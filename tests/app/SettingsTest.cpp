// The settings in the registry, on a key of the test's own.
#include <gtest/gtest.h>

#include "Registry.h"
#include "SaveSeting.h"

namespace {

const String kKey = L"\\Software\\Quorvell.Tests\\Settings\\";

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { TRegistry().DeleteKey(kKey); }
    void TearDown() override { TRegistry().DeleteKey(L"\\Software\\Quorvell.Tests"); }
};

}  // namespace

TEST_F(SettingsTest, MissingKeyMissingValueAndOtherTypesReadAsEmpty)
{
    String value = L"stale";
    ReadSettingString(kKey, L"MusicPath", value);
    EXPECT_EQ(value, L"");

    WriteSettingString(kKey, L"Other", L"x");  // makes the key
    value = L"stale";
    ReadSettingString(kKey, L"MusicPath", value);
    EXPECT_EQ(value, L"");

    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kKey, false));
    const DWORD number = 1;
    RegSetValueExW(registry.CurrentKey(), L"MusicPath", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    value = L"stale";
    EXPECT_NO_THROW(ReadSettingString(kKey, L"MusicPath", value));
    EXPECT_EQ(value, L"");
}

TEST_F(SettingsTest, WrittenAndEmptyValuesReadBackAsStored)
{
    WriteSettingString(kKey, L"MusicPath", L"Z:\\music\\voice");
    String value;
    ReadSettingString(kKey, L"MusicPath", value);
    EXPECT_EQ(value, L"Z:\\music\\voice");

    WriteSettingString(kKey, L"MusicPath", L"");
    value = L"stale";
    ReadSettingString(kKey, L"MusicPath", value);
    EXPECT_EQ(value, L"");

    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kKey, false));
    registry.WriteExpandString(L"MusicPath", L"%USERPROFILE%\\voice");
    ReadSettingString(kKey, L"MusicPath", value);
    EXPECT_EQ(value, L"%USERPROFILE%\\voice");

    // Stored as REG_SZ, in the key named with its delimiters.
    WriteSettingString(kKey, L"MusicPath", L"Z:\\music\\voice");
    DWORD type = 0;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Quorvell.Tests\\Settings", L"MusicPath", RRF_RT_ANY, &type,
                           nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}
