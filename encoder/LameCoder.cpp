#include "LameCoder.h"

#include <cmath>
#include <cstring>

#include "ApplicationHook.h"
#include "LameLibrary.h"

TLameVersion::TLameVersion()
{
    // Without the library the numbers stay zero; the first encode reports it.
    if (LameLibraryAvailable()) beVersion(&FBeV);
}

void TLameVersion::Assign(TPersistent* source)
{
    if (auto* other = dynamic_cast<TLameVersion*>(source)) {
        FBeV.byDLLMajorVersion = other->FBeV.byDLLMajorVersion;
        FBeV.byDLLMinorVersion = other->FBeV.byDLLMinorVersion;
        FBeV.byMajorVersion = other->FBeV.byMajorVersion;
        FBeV.byMinorVersion = other->FBeV.byMinorVersion;
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

void TLameCoder::FillConfig()
{
    FBeConfig = TBECONFIG{};
    FBeConfig.Format.dwConfig = BE_CONFIG_LAME;
    TLHV1& c = FBeConfig.Format.LHV1;
    c.dwStructVersion = 1;
    c.dwStructSize = sizeof(TBECONFIG);
    c.dwSampleRate = FSampleRate;
    c.dwReSampleRate = 0;
    c.nMode = FMode;
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

uint32_t TLameCoder::PrepareCoder()
{
    FillConfig();
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
    FWAVFile.reset();
    FMP3File.reset();
    if (FStreamOpen) CloseCoder();
}

void TLameCoder::Fail(const String& message)
{
    CleanUp();
    throw ELameError(message);
}

namespace {

struct TRunningFlag {
    explicit TRunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~TRunningFlag() { flag_ = false; }
    bool& flag_;
};

}  // namespace

void TLameCoder::ProcessFiles()
{
    // A handler run between chunks may start another run; it would pull the
    // files and buffers from under this one.
    if (FRunning) throw ELameError(L"The encoder is busy with another file");
    TRunningFlag running(FRunning);

    FCancelProcess = false;
    if (OnBeginProcess) OnBeginProcess(this);
    for (int i = 0; i < FInputFiles->Count(); ++i) {
        if (!ProcessFile(i)) return;
        if (OnEndFile) OnEndFile(this, static_cast<uint16_t>(i), FOutputFiles->Get(i));
    }
    if (OnEndProcess) OnEndProcess(this);
}

void TLameCoder::OpenFiles(int index)
{
    try {
        FWAVFile = std::make_unique<TFileStream>(FInputFiles->Get(index), fmOpenRead | fmShareDenyWrite);
        FMP3File = std::make_unique<TFileStream>(FOutputFiles->Get(index), fmCreate | fmShareDenyNone);
    } catch (...) {
        CleanUp();
        throw;
    }
}

bool TLameCoder::ProcessFile(int index)
{
    const uint32_t prepared = PrepareCoder();
    if (prepared == BE_ERR_LIBRARY_MISSING)
        Fail(L"The MP3 encoder library could not be loaded: " + LameLibraryError());
    if (prepared != BE_ERR_SUCCESSFUL) Fail(L"beInitStream failed " + UIntToStr(prepared));

    if (OnBeginFile) OnBeginFile(this, static_cast<uint16_t>(index), FInputFiles->Get(index));
    OpenFiles(index);

    FWave = TWaveHeader{};
    FWAVFile->Read(&FWave, sizeof FWave);
    const uint64_t size = static_cast<uint64_t>(FWAVFile->Size());
    uint32_t chunk;
    uint64_t total;
    if (HasWaveMarker(FWave)) {
        if (size < sizeof FWave) Fail(L"Read Error");
        chunk = static_cast<uint16_t>(FNumSamples * FWave.BytesPerSample);
        total = size - sizeof FWave;
    } else {
        chunk = static_cast<uint16_t>(FMode == MONO ? FNumSamples : 2 * FNumSamples);
        total = size;
        FWAVFile->SetPosition(0);
    }
    // A block alignment of 0 (or one whose chunk wraps to 0 in 16 bits)
    // would never advance through the data.
    if (chunk == 0 && total > 0) Fail(L"Unsupported WAV header: the sample frame size is " + UIntToStr(FWave.BytesPerSample));

    if (!EncodeChunks(total, chunk)) return false;
    Flush();
    CleanUp();
    return true;
}

bool TLameCoder::EncodeChunks(uint64_t total, uint32_t chunk)
{
    FInputBuf.assign(chunk, 0);
    uint64_t done = 0;
    while (done != total) {
        const uint32_t n = done + chunk < total ? chunk : static_cast<uint32_t>(total - done);
        if (FWAVFile->Read(FInputBuf.data(), n) != n) Fail(L"Read Error");
        uint32_t written = 0;
        const uint32_t result = beEncodeChunk(FHBeStream, n / 2, reinterpret_cast<const int16_t*>(FInputBuf.data()),
                                              FOutputBuf.data(), &written);
        if (result != BE_ERR_SUCCESSFUL) Fail(L"beEncodeChunk failed " + UIntToStr(result));
        if (written > FOutputBuf.size() || FMP3File->Write(FOutputBuf.data(), written) != written) Fail(L"Write Error");
        done += n;
        const auto percent = static_cast<uint16_t>(std::trunc(static_cast<double>(done) / static_cast<double>(total) * 100));
        if (OnProgress) OnProgress(this, percent);
        ProcessApplicationMessages();
        if (FCancelProcess) {
            CleanUp();
            return false;
        }
    }
    return true;
}

void TLameCoder::Flush()
{
    uint32_t written = 0;
    UnPrepareCoder(FOutputBuf.data(), written);
    if (written > FOutputBuf.size() || FMP3File->Write(FOutputBuf.data(), written) != written) Fail(L"Write error");
}
