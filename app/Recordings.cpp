#include "Recordings.h"

#include "FileSystem.h"

TRecordingFormat FormatOf(TRecordingQuality quality)
{
    switch (quality) {
    case TRecordingQuality::High: return {2, 16, 44100, true};
    case TRecordingQuality::Middle: return {1, 16, 22050, false};
    case TRecordingQuality::Low: break;
    }
    return {1, 8, 11025, false};
}

String FreeRecordingName(const String& prefix)
{
    // Ends: every number names a different pair of files, and a directory
    // holds finitely many.
    for (uint64_t number = 1;; ++number) {
        const String base = prefix + UIntToStr(number);
        if (!FileExists(base + L".mp3") && !FileExists(base + L".wav")) return base + L".wav";
    }
}

String TRecordingBook::BeginRecording(const String& prefix, TRecordingQuality quality)
{
    currentFileName_ = FreeRecordingName(prefix);
    convertAfterRecording_ = FormatOf(quality).EncodeOnStop;
    return currentFileName_;
}

bool TRecordingBook::TakeForEncoding(String& wavFile, String& mp3File)
{
    if (!convertAfterRecording_ || currentFileName_.empty()) return false;
    wavFile = currentFileName_;
    mp3File = ChangeFileExt(wavFile, L".mp3");
    currentFileName_ = mp3File;
    encodedRecordings_.push_back(wavFile);
    convertAfterRecording_ = false;  // a recording is handed over once
    return true;
}

int TRecordingBook::FinishEncoding()
{
    int deleted = 0;
    for (const String& wav : encodedRecordings_)
        if (FileExists(ChangeFileExt(wav, L".mp3")) && RemoveFile(wav)) ++deleted;
    encodedRecordings_.clear();
    convertAfterRecording_ = false;
    return deleted;
}
