#include <windows.h>

#include <algorithm>

#include "FileHandle.h"

namespace {

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

DWORD ShareFlags(TFileShare share)
{
    switch (share) {
    case TFileShare::Exclusive: return 0;
    case TFileShare::DenyWrite: return FILE_SHARE_READ;
    case TFileShare::DenyRead: return FILE_SHARE_WRITE;
    case TFileShare::DenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    }
    return 0;
}

DWORD AccessFlags(TFileAccess access)
{
    switch (access) {
    case TFileAccess::Read: return GENERIC_READ;
    case TFileAccess::Write: return GENERIC_WRITE;
    case TFileAccess::ReadWrite: return GENERIC_READ | GENERIC_WRITE;
    }
    return 0;
}

// ReadFile and WriteFile take 32-bit counts.
constexpr int64_t kMaxTransfer = 1 << 30;

}  // namespace

TFileHandle::TFileHandle(TFileHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = kInvalid; }

TFileHandle& TFileHandle::operator=(TFileHandle&& other) noexcept
{
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        other.handle_ = kInvalid;
    }
    return *this;
}

TFileHandle TFileHandle::Open(const String& fileName, TFileAccess access, TFileShare share,
                              TFileDisposition disposition, int* error)
{
    const DWORD create = disposition == TFileDisposition::CreateAlways ? CREATE_ALWAYS : OPEN_EXISTING;
    HANDLE h = CreateFileW(fileName.c_str(), AccessFlags(access), ShareFlags(share), nullptr, create,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (error) *error = static_cast<int>(GetLastError());
        return TFileHandle();
    }
    if (error) *error = 0;
    return TFileHandle(reinterpret_cast<intptr_t>(h));
}

int64_t TFileHandle::Read(void* buffer, int64_t count)
{
    int64_t done = 0;
    while (done < count) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min(count - done, kMaxTransfer));
        if (!ReadFile(AsHandle(handle_), static_cast<char*>(buffer) + done, want, &got, nullptr)) return -1;
        if (got == 0) break;
        done += got;
    }
    return done;
}

int64_t TFileHandle::Write(const void* buffer, int64_t count)
{
    int64_t done = 0;
    while (done < count) {
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(std::min(count - done, kMaxTransfer));
        if (!WriteFile(AsHandle(handle_), static_cast<const char*>(buffer) + done, want, &put, nullptr))
            return done > 0 ? done : -1;
        if (put == 0) break;
        done += put;
    }
    return done;
}

int64_t TFileHandle::Seek(int64_t offset, TSeekOrigin origin)
{
    static const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    LARGE_INTEGER distance, position;
    distance.QuadPart = offset;
    if (!SetFilePointerEx(AsHandle(handle_), distance, &position, methods[static_cast<int>(origin)])) return -1;
    return position.QuadPart;
}

bool TFileHandle::Truncate() { return SetEndOfFile(AsHandle(handle_)) != 0; }

bool TFileHandle::Close()
{
    if (!Valid()) return true;
    const bool ok = CloseHandle(AsHandle(handle_)) != 0;
    handle_ = kInvalid;
    return ok;
}

String SysErrorMessage(int errorCode)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(errorCode), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    String message = length ? String(text, length) : L"System error " + IntToStr(errorCode);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message;
}

int GetLastOSError() { return static_cast<int>(GetLastError()); }
