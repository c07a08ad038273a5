// TLameCoder: encodes each file of InputFiles into the file at the same
// place of OutputFiles through the encoder library, with begin, file,
// progress, error and end events, and a cancel flag. Everything runs on the
// caller's thread; the application's messages are processed after every
// chunk, so a handler may cancel the run.
//
// A WAV input (the 44-byte PCM header) is encoded at its own rate and
// channel count, 8-bit samples widened to 16 bits; raw input (no header)
// with the component's SampleRate and Mode.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <vector>

#include "Classes.h"
#include "Lame_dll.h"
#include "StringList.h"
#include "Streams.h"
#include "WaveHeader.h"

class ELameError : public Exception {
    using Exception::Exception;
};

enum TLameMode : int32_t { STEREO, JSTEREO, DUALCHANNEL, MONO };
enum MPEG_QUALITY : uint8_t { NORMAL_QUALITY, LOW_QUALITY, HIGH_QUALITY, VOICE_QUALITY };

using TProcessFileEvent = std::function<void(TObject* sender, uint16_t num, const String& fileName)>;
using TProgressEvent = std::function<void(TObject* sender, uint16_t percentComplete)>;
using TFileErrorEvent =
    std::function<void(TObject* sender, uint16_t num, const String& fileName, const Exception& error)>;

// The encoder library's version numbers, read when the object is made.
// The library's version numbers, asked for on first reading: a program
// that never encodes does not load the library at start.
class TLameVersion : public TPersistent {
public:
    void Assign(TPersistent* source) override;

    uint8_t DLLMajorVersion() const { return Read().byDLLMajorVersion; }
    uint8_t DLLMinorVersion() const { return Read().byDLLMinorVersion; }
    uint8_t MajorVersion() const { return Read().byMajorVersion; }
    uint8_t MinorVersion() const { return Read().byMinorVersion; }
    void SetDLLMajorVersion(uint8_t value) { Written().byDLLMajorVersion = value; }
    void SetDLLMinorVersion(uint8_t value) { Written().byDLLMinorVersion = value; }
    void SetMajorVersion(uint8_t value) { Written().byMajorVersion = value; }
    void SetMinorVersion(uint8_t value) { Written().byMinorVersion = value; }

private:
    const TBEVersion& Read() const;
    TBEVersion& Written();
    mutable TBEVersion FBeV{};
    mutable bool FRead = false;
};

class TLameCoder : public TComponent {
public:
    explicit TLameCoder(TComponent* owner);
    ~TLameCoder() override;
    void Assign(TPersistent* source) override;

    uint32_t SampleRate() const { return FSampleRate; }
    void SetSampleRate(uint32_t value) { FSampleRate = value; }
    TLameMode Mode() const { return static_cast<TLameMode>(FMode); }
    void SetMode(int32_t ordinal);  // 0 to 3; other values are ignored
    uint32_t Bitrate() const { return FBitrate; }
    void SetBitrate(uint32_t value) { FBitrate = value; }
    uint32_t MaxBitrate() const { return FMaxBitrate; }
    void SetMaxBitrate(uint32_t value) { FMaxBitrate = value; }
    MPEG_QUALITY Quality() const { return FQuality; }
    void SetQuality(MPEG_QUALITY value) { FQuality = value; }
    bool Private() const { return FPrivate != 0; }
    void SetPrivate(bool value) { FPrivate = ToLongBool(value); }
    bool CRC() const { return FCRC != 0; }
    void SetCRC(bool value) { FCRC = ToLongBool(value); }
    bool Copyright() const { return FCopyright != 0; }
    void SetCopyright(bool value) { FCopyright = ToLongBool(value); }
    bool Original() const { return FOriginal != 0; }
    void SetOriginal(bool value) { FOriginal = ToLongBool(value); }
    bool WriteVBRHeader() const { return FWriteVBRHeader != 0; }
    void SetWriteVBRHeader(bool value) { FWriteVBRHeader = ToLongBool(value); }
    bool EnableVBR() const { return FEnableVBR != 0; }
    // Also asks for the VBR header, which a VBR stream needs.
    void SetEnableVBR(bool value);
    int32_t VBRQuality() const { return FVBRQuality; }
    void SetVBRQuality(int32_t value) { FVBRQuality = value; }

    TStrings* InputFiles() const { return FInputFiles.get(); }
    // Copies the list and names an output for each input: its name with
    // the extension replaced by DefaultExt.
    void SetInputFiles(TStrings* value);
    TStrings* OutputFiles() const { return FOutputFiles.get(); }
    void SetOutputFiles(TStrings* value);
    TLameVersion* LameVersion() const { return FLameVersion.get(); }
    const String& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const String& value) { FDefaultExt = value; }
    const String& Mp3FileName() const { return FFileName; }
    void SetMp3FileName(const String& value) { FFileName = value; }

    // Given by the library when a file is prepared.
    uint32_t NumSamples() const { return FNumSamples; }
    uint32_t BufSize() const { return FBufSize; }

    TNotifyEvent OnBeginProcess;
    TProcessFileEvent OnBeginFile;
    TProcessFileEvent OnEndFile;
    TNotifyEvent OnEndProcess;
    TProgressEvent OnProgress;
    // A file that failed (Num its index, FileName its input): it has been
    // taken out of both lists, and the run goes on with the next file.
    TFileErrorEvent OnFileError;

    // Opens a library stream with the current settings and allocates the
    // output buffer; returns the library's result.
    uint32_t PrepareCoder();
    uint32_t UnPrepareCoder(void* buf, uint32_t& dwWrite);
    void CloseCoder();
    uint32_t EncodeBuffer(void* inBuf, void* outBuf, uint32_t& outP);

    // Ends the run after the chunk under way: a new output keeps what was
    // written, a replaced one stays as it was before the run.
    void CancelProcess() { FCancelProcess = true; }
    // True while ProcessFiles runs (its handlers may run other commands).
    bool Running() const { return FRunning; }
    // Encodes every input into its output. An output that exists already
    // stays as it was until its replacement is complete (written beside it
    // as "<output>.part", then renamed over it). A file that fails
    // (ELameError, or the stream error of a file that cannot be opened or
    // created) is released, its partly written output removed, and it
    // leaves both lists; the files after it are still encoded. Its failure goes to
    // OnFileError; without that handler the first failure is raised once
    // the run is through, and OnEndProcess does not fire. An exception from
    // an event handler ends the run at once and reaches the caller, after
    // the same release.
    void ProcessFiles();

private:
    static int32_t ToLongBool(bool value) { return value ? -1 : 0; }
    void FillConfig(uint32_t sampleRate, int32_t mode);
    class TFileGuard;
    uint32_t OpenStream(uint32_t sampleRate, int32_t mode);
    // False when the run was cancelled during the file.
    bool ProcessFile(int index);
    void FileFailed(int index, const Exception& error, std::exception_ptr& firstFailure);
    // The input's layout from its first bytes: sets the stream's rate and
    // mode, the chunk and the byte count to encode.
    void ReadInputLayout(const String& fileName, uint32_t& sampleRate, int32_t& mode);
    // Opens the library's stream for the file and sizes its chunks.
    void PrepareFile(uint32_t sampleRate, int32_t mode);
    bool EncodeChunks();
    const int16_t* ChunkValues(uint32_t bytes, uint32_t& values);
    void Flush();
    void CleanUp();
    [[noreturn]] void Fail(const String& message);
    // Runs an event handler; what it raises ends the run.
    template <class Call>
    void Fire(Call&& call);

    uint32_t FSampleRate = 44100;
    uint32_t FReSampleRate = 0;
    int32_t FMode = STEREO;
    uint32_t FBitrate = 128;
    uint32_t FMaxBitrate = 320;
    MPEG_QUALITY FQuality = NORMAL_QUALITY;
    uint32_t FMpegVersion = 0;
    uint32_t FPsyModel = 0;
    uint32_t FEmphasis = 0;
    int32_t FPrivate = 0;
    int32_t FCRC = -1;
    int32_t FCopyright = 0;
    int32_t FOriginal = 0;
    int32_t FWriteVBRHeader = 0;
    int32_t FEnableVBR = 0;
    int32_t FVBRQuality = 4;
    TOwned<TStringList> FInputFiles;
    TOwned<TStringList> FOutputFiles;
    TOwned<TLameVersion> FLameVersion;
    String FDefaultExt;
    String FFileName;
    TBECONFIG FBeConfig{};
    HBE_STREAM FHBeStream = 0;
    bool FStreamOpen = false;
    uint32_t FNumSamples = 0;
    uint32_t FBufSize = 0;
    std::vector<uint8_t> FInputBuf;
    std::vector<uint8_t> FOutputBuf;
    std::vector<int16_t> FWideBuf;  // 8-bit input widened
    std::unique_ptr<TFileStream> FMP3File;
    std::unique_ptr<TFileStream> FWAVFile;
    bool FCancelProcess = false;
    bool FRunning = false;
    bool FHandlerFailed = false;
    TWaveHeader FWave{};
    bool FWaveInput = false;
    uint32_t FChunk = 0;     // input bytes per chunk
    uint64_t FTotal = 0;     // input bytes to encode

};
