#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "FileHandle.h"

// Share modes have no equivalent here; the native build only runs tests.

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

TFileHandle TFileHandle::Open(const String& fileName, TFileAccess access, TFileShare, TFileDisposition disposition,
                              int* error)
{
    int flags = access == TFileAccess::Read ? O_RDONLY : access == TFileAccess::Write ? O_WRONLY : O_RDWR;
    if (disposition == TFileDisposition::CreateAlways) flags |= O_CREAT | O_TRUNC;
    const int fd = ::open(ToUtf8(fileName).c_str(), flags | O_CLOEXEC, 0644);
    if (error) *error = fd < 0 ? errno : 0;
    return fd < 0 ? TFileHandle() : TFileHandle(fd);
}

int64_t TFileHandle::Read(void* buffer, int64_t count)
{
    int64_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(static_cast<int>(handle_), static_cast<char*>(buffer) + done,
                                   static_cast<size_t>(count - done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        done += got;
    }
    return done;
}

int64_t TFileHandle::Write(const void* buffer, int64_t count)
{
    int64_t done = 0;
    while (done < count) {
        const ssize_t put = ::write(static_cast<int>(handle_), static_cast<const char*>(buffer) + done,
                                    static_cast<size_t>(count - done));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return done > 0 ? done : -1;
        done += put;
    }
    return done;
}

int64_t TFileHandle::Seek(int64_t offset, TSeekOrigin origin)
{
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    return ::lseek(static_cast<int>(handle_), offset, whence[static_cast<int>(origin)]);
}

bool TFileHandle::Truncate()
{
    const off_t position = ::lseek(static_cast<int>(handle_), 0, SEEK_CUR);
    return position >= 0 && ::ftruncate(static_cast<int>(handle_), position) == 0;
}

bool TFileHandle::Close()
{
    if (!Valid()) return true;
    const bool ok = ::close(static_cast<int>(handle_)) == 0;
    handle_ = kInvalid;
    return ok;
}

String SysErrorMessage(int errorCode) { return FromUtf8(std::strerror(errorCode)); }

int GetLastOSError() { return errno; }
