// What the recorder decides about its files: the three qualities, the name
// of the next recording, and which recordings the encoder has turned into
// MP3 files whose WAV files may go.
#pragma once

#include <cstdint>
#include <vector>

#include "StringList.h"

enum class TRecordingQuality { High, Middle, Low };

struct TRecordingFormat {
    uint16_t Channels;
    uint16_t BitsPerSample;
    int32_t SamplesPerSecond;
    bool EncodeOnStop;  // to MP3, replacing the WAV file
};

TRecordingFormat FormatOf(TRecordingQuality quality);

// The WAV file of the next recording: Prefix followed by the smallest
// number from 1 whose MP3 and WAV names are both free, so a recording never
// replaces an earlier one of either kind, nor an MP3 the encoder is still to
// write (QueuedMp3s).
String FreeRecordingName(const String& prefix, const TStrings* queuedMp3s = nullptr);

// The bookkeeping between the record, stop and end-of-encoding commands.
//
// - Each recording decides for itself whether it is encoded: a failed
//   encoding earlier does not make a middle- or low-quality recording go
//   to MP3.
// - Only WAV files that the stop command handed to the encoder are deleted,
//   each once its own MP3 file is finished: the convert command deletes
//   nothing of the user's, and a WAV whose encoding failed stays.
class TRecordingBook {
public:
    // The record command: the new recording's WAV name, now CurrentFileName.
    String BeginRecording(const String& prefix, TRecordingQuality quality, const TStrings* queuedMp3s = nullptr);
    // The stop command: whether the stopped recording is to be encoded;
    // if so, CurrentFileName becomes the MP3 name and the WAV is remembered.
    // A recording is handed over once.
    bool TakeForEncoding(String& wavFile, String& mp3File);
    // The encoder finished WavFile: true when it is a recording handed over
    // by TakeForEncoding, whose WAV is then deleted (once its MP3 exists).
    bool Encoded(const String& wavFile);
    // The encoder gave up on WavFile: true when it is such a recording,
    // which keeps its WAV.
    bool EncodingFailed(const String& wavFile);
    // Recordings handed over whose encoding has not ended yet.
    bool EncodingPending() const { return !encodedRecordings_.empty(); }
    // Adds the MP3 names of those recordings to Mp3s.
    void AwaitedMp3s(TStrings& mp3s) const;

    // Empty before the first recording; the file the play command plays.
    const String& CurrentFileName() const { return currentFileName_; }
    bool ConvertAfterRecording() const { return convertAfterRecording_; }

private:
    String currentFileName_;
    bool convertAfterRecording_ = false;
    bool Forget(const String& wavFile);

    std::vector<String> encodedRecordings_;
};
