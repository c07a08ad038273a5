// File system helpers over the platform: the temporary directory, also
// when its name is longer than the buffers paths usually get.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "FileSystem.h"
#include "TempDir.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

// Points the process's temporary directory at Path for one scope.
class TTempVariables {
public:
    explicit TTempVariables(const fs::path& path)
    {
#ifdef _WIN32
        for (const wchar_t* name : {L"TMP", L"TEMP"}) {
            wchar_t old[32768];
            const DWORD length = GetEnvironmentVariableW(name, old, 32768);
            saved_.emplace_back(name, length ? std::optional<std::wstring>(old) : std::nullopt);
            SetEnvironmentVariableW(name, path.wstring().c_str());
        }
#else
        const char* old = std::getenv("TMPDIR");
        saved_.emplace_back(L"TMPDIR", old ? std::optional<std::wstring>(fs::path(old).wstring()) : std::nullopt);
        setenv("TMPDIR", path.c_str(), 1);
#endif
    }
    ~TTempVariables()
    {
        for (const auto& [name, value] : saved_) {
#ifdef _WIN32
            SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
#else
            if (value)
                setenv(fs::path(name).c_str(), fs::path(*value).c_str(), 1);
            else
                unsetenv(fs::path(name).c_str());
#endif
        }
    }

private:
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved_;
};

}  // namespace

// The longest temporary path Wine gives is MAX_PATH - 2 characters with
// the delimiter: with a longer TMP the system call answers 0, so no real
// path can outgrow the first buffer here (Windows documents MAX_PATH + 1
// as its longest answer). That the buffer grows to what the call asks for
// is judged with a stand-in for the call instead.
TEST(TempDirectory, IsTheWholeLongPathWithItsDelimiter)
{
    TempDir dir;
    fs::path longPath = dir.Path();
    for (int i = 0; longPath.wstring().size() < 240; ++i) longPath /= "a-long-folder-name-" + std::to_string(i);
    fs::create_directories(longPath);
    {
        TTempVariables variables(longPath);
        EXPECT_EQ(TempDirectory(), longPath.wstring() + String(1, fs::path::preferred_separator));
    }
    std::error_code ignored;
    fs::remove_all(dir.Path(), ignored);
}

TEST(ReadSizedText, AsksAgainWithTheSizeTheSystemNeeds)
{
    const String path = String(400, L'x') + L"\\";
    std::vector<uint32_t> sizes;
    const auto tempPath = [&](wchar_t* buffer, uint32_t size) -> uint32_t {
        sizes.push_back(size);
        if (size < path.size() + 1) return static_cast<uint32_t>(path.size() + 1);
        path.copy(buffer, path.size());
        buffer[path.size()] = L'\0';
        return static_cast<uint32_t>(path.size());
    };
    EXPECT_EQ(ReadSizedText(tempPath, 261), path);
    EXPECT_EQ(sizes, (std::vector<uint32_t>{261, 402}));
    EXPECT_EQ(ReadSizedText([](wchar_t*, uint32_t) { return 0u; }, 261), L"");
    sizes.clear();
    EXPECT_EQ(ReadSizedText(tempPath, 402), path);
    EXPECT_EQ(sizes.size(), 1u);
}
