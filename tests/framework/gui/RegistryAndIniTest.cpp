// The registry and settings files, on keys and files of the test's own.
#include <gtest/gtest.h>

#include "IniFiles.h"
#include "Registry.h"
#include "TempDir.h"

namespace {

const String kTestKey = L"\\Software\\Quorvell.Tests\\Registry\\";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { TRegistry().DeleteKey(kTestKey); }
    void TearDown() override { TRegistry().DeleteKey(L"\\Software\\Quorvell.Tests"); }
};

}  // namespace

TEST_F(RegistryTest, OpenWithoutCreatingFailsUntilTheKeyIsMade)
{
    TRegistry registry;
    EXPECT_FALSE(registry.OpenKey(kTestKey, false));
    EXPECT_EQ(registry.CurrentKey(), nullptr);
    EXPECT_THROW(registry.ReadString(L"x"), ERegistryException);

    ASSERT_TRUE(registry.OpenKey(kTestKey, true));
    EXPECT_EQ(registry.CurrentPath(), L"Software\\Quorvell.Tests\\Registry");
    // A relative path continues from the current key.
    ASSERT_TRUE(registry.OpenKey(L"Inner", true));
    EXPECT_EQ(registry.CurrentPath(), L"Software\\Quorvell.Tests\\Registry\\Inner");
    registry.CloseKey();
    EXPECT_TRUE(registry.OpenKey(kTestKey + L"Inner", false));
}

TEST_F(RegistryTest, StringsRoundTripAndOtherTypesAreRefused)
{
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kTestKey, true));
    EXPECT_EQ(registry.ReadString(L"missing"), L"");
    registry.WriteString(L"MusicPath", L"C:\\Music\\take");
    registry.WriteString(L"Empty", L"");
    registry.WriteExpandString(L"Expand", L"%TEMP%\\take");
    registry.WriteString(L"Long", String(5000, L'x'));

    TRegistry reader(KEY_READ);
    ASSERT_TRUE(reader.OpenKey(kTestKey, false));
    EXPECT_EQ(reader.ReadString(L"MusicPath"), L"C:\\Music\\take");
    EXPECT_EQ(reader.ReadString(L"Empty"), L"");
    EXPECT_EQ(reader.ReadString(L"Expand"), L"%TEMP%\\take");  // as stored
    EXPECT_EQ(reader.ReadString(L"Long"), String(5000, L'x'));

    const DWORD number = 7;
    RegSetValueExW(registry.CurrentKey(), L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    EXPECT_THROW(reader.ReadString(L"Number"), ERegistryException);
    // A read-only key refuses writes with the registry's error.
    EXPECT_THROW(reader.WriteString(L"MusicPath", L"other"), ERegistryException);
}

TEST(IniFile, ReadsValuesAndFallsBackToTheDefault)
{
    TempDir dir;
    WriteFileBytes(dir.File("tips.ini"), "[Show]\r\nIsShow=0\r\nLong=" + std::string(3000, 'y') + "\r\n");
    TIniFile ini(dir.File("tips.ini"));
    EXPECT_EQ(ini.ReadString(L"Show", L"IsShow", L"-1"), L"0");
    EXPECT_EQ(ini.ReadString(L"show", L"isshow", L"-1"), L"0");  // names ignore case
    EXPECT_EQ(ini.ReadString(L"Show", L"Long", L""), String(3000, L'y'));
    EXPECT_EQ(ini.ReadString(L"Show", L"Other", L"-1"), L"-1");
    EXPECT_EQ(ini.ReadString(L"Hide", L"IsShow", L"-1"), L"-1");
    EXPECT_EQ(TIniFile(dir.File("missing.ini")).ReadString(L"Show", L"IsShow", L"-1"), L"-1");
}
