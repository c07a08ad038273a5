#include "CreateWav.h"

#include "FileHandle.h"
#include "WaveHeader.h"

namespace {

// The code of a short write that the system did not report as an error.
constexpr int kDiskWriteError = 101;

[[noreturn]] void RaiseInOutError(const String& fileName, int errorCode)
{
    if (errorCode == 0) errorCode = kDiskWriteError;
    throw EInOutError(L"I/O error " + IntToStr(errorCode) + L" on \"" + fileName + L"\": " + SysErrorMessage(errorCode),
                      errorCode);
}

}  // namespace

void createwav(uint16_t channels, uint16_t resolution, int32_t rate, const String& fn)
{
    const TWaveHeader header = MakePcmWaveHeader(channels, resolution, static_cast<uint32_t>(rate));
    int error = 0;
    TFileHandle file = TFileHandle::Open(fn, TFileAccess::Write, TFileShare::Exclusive, TFileDisposition::CreateAlways, &error);
    if (!file.Valid()) RaiseInOutError(fn, error);
    if (file.Write(&header, sizeof header) != static_cast<int64_t>(sizeof header)) RaiseInOutError(fn, GetLastOSError());
    if (!file.Close()) RaiseInOutError(fn, GetLastOSError());
}
