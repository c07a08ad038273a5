#include "LameCoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "ApplicationHook.h"
#include "FileHandle.h"
#include "FileSystem.h"
#include "LameLibrary.h"

const TBEVersion& TLameVersion::Read() const
{
    // Without the library the numbers stay zero; the first encode reports it.
    if (!FRead && LameLibraryAvailable()) beVersion(&FBeV);
    FRead = true;
    return FBeV;
}

TBEVersion& TLameVersion::Written()
{
    Read();
    return FBeV;
}

void TLameVersion::Assign(TPersistent* source)
{
    if (auto* other = dynamic_cast<TLameVersion*>(source)) {
        SetDLLMajorVersion(other->DLLMajorVersion());
        SetDLLMinorVersion(other->DLLMinorVersion());
        SetMajorVersion(other->MajorVersion());
        SetMinorVersion(other->MinorVersion());
        return;
    }
    TPersistent::Assign(source);
}

TLameCoder::TLameCoder(TComponent* owner)
    : TComponent(owner),
      FInputFiles(MakeOwned<TStringList>()),
      FOutputFiles(MakeOwned<TStringList>()),
      FLameVersion(MakeOwned<TLameVersion>()),
      FDefaultExt(L".mp3")
{
}

TLameCoder::~TLameCoder() { CleanUp(); }

void TLameCoder::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TLameCoder*>(source);
    if (!other) {
        TComponent::Assign(source);
        return;
    }
    FSampleRate = other->FSampleRate;
    FReSampleRate = other->FReSampleRate;
    FMode = other->FMode;
    FBitrate = other->FBitrate;
    FMaxBitrate = other->FMaxBitrate;
    FQuality = other->FQuality;
    FMpegVersion = other->FMpegVersion;
    FPsyModel = other->FPsyModel;
    FEmphasis = other->FEmphasis;
    FPrivate = other->FPrivate;
    FCRC = other->FCRC;
    FCopyright = other->FCopyright;
    FOriginal = other->FOriginal;
    FWriteVBRHeader = other->FWriteVBRHeader;
    FEnableVBR = other->FEnableVBR;
    FVBRQuality = other->FVBRQuality;
}

void TLameCoder::SetMode(int32_t ordinal)
{
    if (ordinal >= STEREO && ordinal <= MONO) FMode = ordinal;
}

void TLameCoder::SetEnableVBR(bool value)
{
    FEnableVBR = ToLongBool(value);
    FWriteVBRHeader = FEnableVBR;
}

void TLameCoder::SetInputFiles(TStrings* value)
{
    FInputFiles->Assign(value);
    FOutputFiles->Clear();
    for (int i = 0; i < FInputFiles->Count(); ++i) FOutputFiles->Add(ChangeFileExt(FInputFiles->Get(i), FDefaultExt));
}

void TLameCoder::SetOutputFiles(TStrings* value) { FOutputFiles->Assign(value); }

void TLameCoder::FillConfig(uint32_t sampleRate, int32_t mode)
{
    FBeConfig = TBECONFIG{};
    FBeConfig.Format.dwConfig = BE_CONFIG_LAME;
    TLHV1& c = FBeConfig.Format.LHV1;
    c.dwStructVersion = 1;
    c.dwStructSize = sizeof(TBECONFIG);
    c.dwSampleRate = sampleRate;
    c.dwReSampleRate = 0;
    c.nMode = mode;
    c.dwBitrate = FBitrate;
    c.dwMaxBitrate = FMaxBitrate;
    c.nQuality = FQuality;
    c.dwMpegVersion = 1;
    c.dwPsyModel = 0;
    c.dwEmphasis = 0;
    c.bPrivate = FPrivate;
    c.bCRC = FCRC;
    c.bCopyright = FCopyright;
    c.bOriginal = FOriginal;
    c.bWriteVBRHeader = FWriteVBRHeader;
    c.bEnableVBR = FEnableVBR;
    c.nVBRQuality = FVBRQuality;
}

uint32_t TLameCoder::PrepareCoder() { return OpenStream(FSampleRate, FMode); }

uint32_t TLameCoder::OpenStream(uint32_t sampleRate, int32_t mode)
{
    FillConfig(sampleRate, mode);
    const uint32_t result = beInitStream(&FBeConfig, &FNumSamples, &FBufSize, &FHBeStream);
    if (result == BE_ERR_SUCCESSFUL) {
        FOutputBuf.assign(FBufSize, 0);
        FStreamOpen = true;
    }
    return result;
}

uint32_t TLameCoder::UnPrepareCoder(void* buf, uint32_t& dwWrite)
{
    return beDeinitStream(FHBeStream, static_cast<uint8_t*>(buf), &dwWrite);
}

void TLameCoder::CloseCoder()
{
    FOutputBuf = {};
    beCloseStream(FHBeStream);
    FStreamOpen = false;
}

uint32_t TLameCoder::EncodeBuffer(void* inBuf, void* outBuf, uint32_t& outP)
{
    return beEncodeChunk(FHBeStream, FNumSamples, static_cast<const int16_t*>(inBuf), static_cast<uint8_t*>(outBuf),
                         &outP);
}

void TLameCoder::CleanUp()
{
    FInputBuf = {};
    FWideBuf = {};
    FWAVFile.reset();
    FMP3File.reset();
    if (FStreamOpen) CloseCoder();
}

void TLameCoder::Fail(const String& message) { throw ELameError(message); }

template <class Call>
void TLameCoder::Fire(Call&& call)
{
    try {
        call();
    } catch (...) {
        FHandlerFailed = true;
        throw;
    }
}

// Releases a file's stream, files and buffers however its encoding ends.
// Every output is written beside its target and renamed over it once
// finished, so the target is never a part of an MP3: a failure leaves an
// MP3 that was already there as it was and nothing beside it, and a
// program that ends halfway leaves at most the side file (a device is
// written in place and never removed).
class TLameCoder::TFileGuard {
public:
    explicit TFileGuard(TLameCoder& coder) : coder_(coder) {}
    TFileGuard(const TFileGuard&) = delete;
    TFileGuard& operator=(const TFileGuard&) = delete;
    ~TFileGuard()
    {
        coder_.CleanUp();
        if (!kept_ && !written_.empty() && FileExists(written_)) RemoveFile(written_);
    }
    void CreateOutput(const String& fileName)
    {
        target_ = fileName;
        replacing_ = FileExists(fileName);
        written_ = IsDeviceName(fileName) ? fileName : SideFileName(fileName);
        coder_.FMP3File = std::make_unique<TFileStream>(written_, fmCreate | fmShareDenyNone);
    }
    // Finished: the new output takes its place.
    void KeepOutput()
    {
        coder_.FMP3File.reset();
        if (written_ != target_ && !RenameFileOver(written_, target_))
            coder_.Fail(L"Cannot replace " + target_ + L": " + SysErrorMessage(GetLastOSError()));
        kept_ = true;
    }
    // Cancelled: a new output keeps what was written; a replacement is
    // dropped, so the old file stays whole.
    void KeepPartialOutput()
    {
        coder_.FMP3File.reset();
        kept_ = written_ == target_ || (!replacing_ && RenameFileOver(written_, target_));
    }

private:
    // A free name beside FileName for the file being written.
    static String SideFileName(const String& fileName)
    {
        String name = fileName + L".part";
        for (unsigned n = 2; FileExists(name); ++n) name = fileName + L"." + UIntToStr(n) + L".part";
        return name;
    }

    TLameCoder& coder_;
    String target_;
    String written_;  // the file the output goes into: one beside the target, or a device
    bool replacing_ = false;
    bool kept_ = false;
};

namespace {

struct TRunningFlag {
    explicit TRunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~TRunningFlag() { flag_ = false; }
    bool& flag_;
};

constexpr uint32_t kMp3SampleRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};

bool HasMarker(const char (&field)[4], const char* marker) { return std::memcmp(field, marker, 4) == 0; }

// Why the encoder cannot take a WAV input with this header; empty when it can.
String UnencodableReason(const TWaveHeader& h)
{
    if (!HasMarker(h.Marker1, "RIFF") || !HasMarker(h.Marker3, "fmt ") || h.Fixed1 != 16 || !HasMarker(h.Marker4, "data"))
        return L"its header is not the plain 44-byte PCM WAV header";
    if (h.FormatTag != WAVE_FORMAT_PCM_TAG) return L"its sound is not PCM (format tag " + UIntToStr(h.FormatTag) + L")";
    if (h.Channels != 1 && h.Channels != 2) return L"it has " + UIntToStr(h.Channels) + L" channels (MP3 holds 1 or 2)";
    if (h.BitsPerSample != 8 && h.BitsPerSample != 16)
        return L"its samples have " + UIntToStr(h.BitsPerSample) + L" bits (8 or 16 can be encoded)";
    if (h.BytesPerSample != h.Channels * h.BitsPerSample / 8)
        return L"its block alignment " + UIntToStr(h.BytesPerSample) + L" does not fit " + UIntToStr(h.Channels) +
               L" channels of " + UIntToStr(h.BitsPerSample) + L" bits";
    const uint32_t rate = h.SampleRate;  // a packed field binds to no reference
    if (std::find(std::begin(kMp3SampleRates), std::end(kMp3SampleRates), rate) == std::end(kMp3SampleRates))
        return L"MP3 cannot carry its sample rate of " + UIntToStr(rate) + L" Hz";
    return {};
}

}  // namespace

void TLameCoder::ProcessFiles()
{
    // A handler run between chunks may start another run; it would pull the
    // files and buffers from under this one.
    if (FRunning) throw ELameError(L"The encoder is busy with another file");
    TRunningFlag running(FRunning);

    FCancelProcess = false;
    FHandlerFailed = false;
    std::exception_ptr firstFailure;
    if (OnBeginProcess) OnBeginProcess(this);
    for (int i = 0; i < FInputFiles->Count();) {
        bool finished = false;
        try {
            finished = ProcessFile(i);
        } catch (const Exception& error) {
            if (FHandlerFailed) throw;
            FileFailed(i, error, firstFailure);
            continue;  // the next file has moved up to i
        }
        if (!finished) break;
        if (OnEndFile) OnEndFile(this, static_cast<uint16_t>(i), FOutputFiles->Get(i));
        ++i;
    }
    if (firstFailure) std::rethrow_exception(firstFailure);
    if (!FCancelProcess && OnEndProcess) OnEndProcess(this);
}

void TLameCoder::FileFailed(int index, const Exception& error, std::exception_ptr& firstFailure)
{
    const String fileName = FInputFiles->Get(index);
    FInputFiles->Delete(index);
    if (index < FOutputFiles->Count()) FOutputFiles->Delete(index);
    if (OnFileError)
        OnFileError(this, static_cast<uint16_t>(index), fileName, error);
    else if (!firstFailure)
        firstFailure = std::current_exception();
}

bool TLameCoder::ProcessFile(int index)
{
    const String input = FInputFiles->Get(index);
    TFileGuard guard(*this);
    FWAVFile = std::make_unique<TFileStream>(input, fmOpenRead | fmShareDenyWrite);
    uint32_t sampleRate = FSampleRate;
    int32_t mode = FMode;
    ReadInputLayout(input, sampleRate, mode);
    PrepareFile(sampleRate, mode);

    Fire([&] {
        if (OnBeginFile) OnBeginFile(this, static_cast<uint16_t>(index), input);
    });
    guard.CreateOutput(FOutputFiles->Get(index));
    if (!EncodeChunks()) {
        guard.KeepPartialOutput();
        return false;
    }
    Flush();
    guard.KeepOutput();
    return true;
}

void TLameCoder::PrepareFile(uint32_t sampleRate, int32_t mode)
{
    const uint32_t prepared = OpenStream(sampleRate, mode);
    if (prepared == BE_ERR_LIBRARY_MISSING)
        Fail(L"The MP3 encoder library could not be loaded: " + LameLibraryError());
    if (prepared != BE_ERR_SUCCESSFUL) Fail(L"beInitStream failed " + UIntToStr(prepared));
    // Whole sample frames only: the library refuses a part of one, and a
    // trailing part of a frame is no sound.
    const uint32_t frame = FWaveInput ? FWave.BytesPerSample : (mode == MONO ? 2 : 4);
    FChunk = static_cast<uint16_t>(FWaveInput ? FNumSamples * frame : (mode == MONO ? FNumSamples : 2 * FNumSamples));
    FChunk -= FChunk % frame;
    FTotal -= FTotal % frame;
    // A chunk that wraps to 0 in 16 bits would never advance through the data.
    if (FChunk == 0 && FTotal > 0)
        Fail(L"The library's chunk of " + UIntToStr(FNumSamples) + L" samples holds no whole frame of " +
             UIntToStr(frame) + L" bytes");
}

void TLameCoder::ReadInputLayout(const String& fileName, uint32_t& sampleRate, int32_t& mode)
{
    FWave = TWaveHeader{};
    FWAVFile->Read(&FWave, sizeof FWave);
    const uint64_t size = static_cast<uint64_t>(FWAVFile->Size());
    FWaveInput = HasWaveMarker(FWave);
    if (!FWaveInput) {
        FTotal = size;
        FWAVFile->SetPosition(0);
        return;
    }
    if (size < sizeof FWave) Fail(L"Read Error");
    const String reason = UnencodableReason(FWave);
    if (!reason.empty()) Fail(L"Cannot encode " + fileName + L": " + reason);
    FTotal = size - sizeof FWave;
    sampleRate = FWave.SampleRate;
    // Two channels keep the chosen kind of stereo; MONO would take them as one.
    if (FWave.Channels == 1)
        mode = MONO;
    else if (mode == MONO)
        mode = STEREO;
}

bool TLameCoder::EncodeChunks()
{
    FInputBuf.assign(FChunk, 0);
    uint64_t done = 0;
    while (done != FTotal) {
        const uint32_t n = done + FChunk < FTotal ? FChunk : static_cast<uint32_t>(FTotal - done);
        if (FWAVFile->Read(FInputBuf.data(), n) != n) Fail(L"Read Error");
        uint32_t values = 0;
        const int16_t* samples = ChunkValues(n, values);
        uint32_t written = 0;
        const uint32_t result = beEncodeChunk(FHBeStream, values, samples, FOutputBuf.data(), &written);
        if (result != BE_ERR_SUCCESSFUL) Fail(L"beEncodeChunk failed " + UIntToStr(result));
        if (written > FOutputBuf.size() || FMP3File->Write(FOutputBuf.data(), written) != written) Fail(L"Write Error");
        done += n;
        const auto percent = static_cast<uint16_t>(std::trunc(static_cast<double>(done) / static_cast<double>(FTotal) * 100));
        Fire([&] {
            if (OnProgress) OnProgress(this, percent);
        });
        Fire([] { ProcessApplicationMessages(); });
        if (FCancelProcess) return false;
    }
    return true;
}

const int16_t* TLameCoder::ChunkValues(uint32_t bytes, uint32_t& values)
{
    if (!FWaveInput || FWave.BitsPerSample != 8) {
        values = bytes / 2;
        return reinterpret_cast<const int16_t*>(FInputBuf.data());
    }
    // 8-bit PCM is unsigned, silence at 128.
    FWideBuf.resize(bytes);
    for (uint32_t i = 0; i < bytes; ++i) FWideBuf[i] = static_cast<int16_t>((FInputBuf[i] - 128) * 256);
    values = bytes;
    return FWideBuf.data();
}

void TLameCoder::Flush()
{
    uint32_t written = 0;
    UnPrepareCoder(FOutputBuf.data(), written);
    if (written > FOutputBuf.size() || FMP3File->Write(FOutputBuf.data(), written) != written) Fail(L"Write error");
}
