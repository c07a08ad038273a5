#include <gtest/gtest.h>

#include "SysUtils.h"

TEST(StrToBool, IntegersByZeroWordsInAnyCaseAndNothingElse)
{
    EXPECT_TRUE(StrToBool(L"-1"));
    EXPECT_TRUE(StrToBool(L"1"));
    EXPECT_TRUE(StrToBool(L"+7"));
    EXPECT_TRUE(StrToBool(L"123456789012345678901234567890"));  // wider than any integer type
    EXPECT_FALSE(StrToBool(L"0"));
    EXPECT_FALSE(StrToBool(L"-000"));
    EXPECT_TRUE(StrToBool(L"tRUE"));
    EXPECT_FALSE(StrToBool(L"FALSE"));
    for (const wchar_t* bad : {L"", L"-", L"yes", L"1x", L" 1", L"truee"})
        EXPECT_THROW(StrToBool(bad), EConvertError) << ToUtf8(bad);
}
