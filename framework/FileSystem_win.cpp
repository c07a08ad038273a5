#include <windows.h>

#include "FileSystem.h"

bool FileExists(const String& fileName)
{
    const DWORD attributes = GetFileAttributesW(fileName.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsDeviceName(const String& fileName)
{
    // What opens but is neither a file nor a folder (which does not open
    // this way): NUL, a port, a device of Wine's Unix side.
    if (FileExists(fileName)) return false;
    const HANDLE device = CreateFileW(fileName.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE) return false;
    CloseHandle(device);
    return true;
}

bool RemoveFile(const String& fileName) { return DeleteFileW(fileName.c_str()) != 0; }

bool RenameFileOver(const String& source, const String& target)
{
    return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

int64_t FileSizeOf(const String& fileName)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(fileName.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

String ProgramFileName()
{
    String path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

String TempDirectory()
{
    return ReadSizedText([](wchar_t* buffer, uint32_t size) { return GetTempPathW(size, buffer); }, MAX_PATH + 1);
}
