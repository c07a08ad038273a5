#include "Recordings.h"

#include <algorithm>

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

String FreeRecordingName(const String& prefix, const TStrings* queuedMp3s)
{
    // Ends: every number names a different pair of files, and a directory
    // holds finitely many.
    for (uint64_t number = 1;; ++number) {
        const String base = prefix + UIntToStr(number);
        const bool queued = queuedMp3s && queuedMp3s->IndexOf(base + L".mp3") >= 0;
        if (!queued && !FileExists(base + L".mp3") && !FileExists(base + L".wav")) return base + L".wav";
    }
}

String TRecordingBook::BeginRecording(const String& prefix, TRecordingQuality quality, const TStrings* queuedMp3s)
{
    currentFileName_ = FreeRecordingName(prefix, queuedMp3s);
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

bool TRecordingBook::Forget(const String& wavFile)
{
    const auto found = std::find(encodedRecordings_.begin(), encodedRecordings_.end(), wavFile);
    if (found == encodedRecordings_.end()) return false;
    encodedRecordings_.erase(found);
    return true;
}

bool TRecordingBook::Encoded(const String& wavFile)
{
    if (!Forget(wavFile)) return false;
    if (FileExists(ChangeFileExt(wavFile, L".mp3"))) RemoveFile(wavFile);
    return true;
}

bool TRecordingBook::EncodingFailed(const String& wavFile) { return Forget(wavFile); }

void TRecordingBook::AwaitedMp3s(TStrings& mp3s) const
{
    for (const String& wav : encodedRecordings_) mp3s.Add(ChangeFileExt(wav, L".mp3"));
}
