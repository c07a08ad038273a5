#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "FileSystem.h"

bool FileExists(const String& fileName)
{
    struct stat info;
    return ::stat(ToUtf8(fileName).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsDeviceName(const String& fileName)
{
    struct stat info;
    return ::stat(ToUtf8(fileName).c_str(), &info) == 0 && (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) || S_ISFIFO(info.st_mode));
}

bool RemoveFile(const String& fileName) { return ::unlink(ToUtf8(fileName).c_str()) == 0; }

bool RenameFileOver(const String& source, const String& target)
{
    return std::rename(ToUtf8(source).c_str(), ToUtf8(target).c_str()) == 0;
}

int64_t FileSizeOf(const String& fileName)
{
    struct stat info;
    return ::stat(ToUtf8(fileName).c_str(), &info) == 0 ? static_cast<int64_t>(info.st_size) : -1;
}

String ProgramFileName()
{
    char buffer[4096];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length > 0 ? FromUtf8(std::string(buffer, static_cast<size_t>(length))) : String();
}

String TempDirectory()
{
    const char* dir = std::getenv("TMPDIR");
    String path = FromUtf8(dir && *dir ? dir : "/tmp");
    if (path.back() != L'/') path += L'/';
    return path;
}
