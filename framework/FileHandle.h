// An open file of the operating system, owned: the one place where files are
// opened, read, written and closed. Streams and typed files build on it.
#pragma once

#include <cstdint>

#include "SysUtils.h"

enum class TFileAccess { Read, Write, ReadWrite };
enum class TFileShare { Exclusive, DenyWrite, DenyRead, DenyNone };
enum class TFileDisposition { OpenExisting, CreateAlways };
enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TFileHandle {
public:
    TFileHandle() = default;
    TFileHandle(TFileHandle&& other) noexcept;
    TFileHandle& operator=(TFileHandle&& other) noexcept;
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    ~TFileHandle() { Close(); }

    // An invalid handle on failure; the system error code is in *error.
    static TFileHandle Open(const String& fileName, TFileAccess access, TFileShare share,
                            TFileDisposition disposition, int* error);

    bool Valid() const { return handle_ != kInvalid; }
    // Byte counts actually moved; -1 on a system error.
    int64_t Read(void* buffer, int64_t count);
    int64_t Write(const void* buffer, int64_t count);
    // The new position, or -1.
    int64_t Seek(int64_t offset, TSeekOrigin origin);
    bool Truncate();  // at the current position
    // Closes the file; false when the system reported an error (data may be lost).
    bool Close();

private:
    static constexpr intptr_t kInvalid = -1;
    explicit TFileHandle(intptr_t handle) : handle_(handle) {}
    intptr_t handle_ = kInvalid;
};

// The system's text for an error code, without a trailing line break.
String SysErrorMessage(int errorCode);
int GetLastOSError();
