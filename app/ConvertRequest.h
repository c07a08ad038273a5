// What the convert command checks before a file goes to the encoder: its
// MP3 may not be the chosen file itself, and an MP3 that is already there
// is replaced only when the user says so.
#pragma once

#include <functional>

#include "StringList.h"

// The chosen file is an MP3 file: its MP3 would be the file itself.
class EConvertOntoItself : public Exception {
    using Exception::Exception;
};

// The chosen file's MP3 is a recording's that the encoder is still to write.
class EConvertOntoRecording : public Exception {
    using Exception::Exception;
};

String ConvertOntoItselfText(const String& fileName);
String ConvertOntoRecordingText(const String& fileName, const String& mp3File);
String ReplaceMp3Question(const String& mp3File);

class TConvertRequests {
public:
    // Whether Mp3File may be replaced.
    using TAskReplace = std::function<bool(const String& mp3File)>;

    // Whether Source is to go to the encoder now. Not if it is on the
    // encoder's lists already (QueuedInputs): that entry converts it. The
    // user is asked before its MP3 would replace another file's MP3: one
    // that is there, or one the encoder is still to write for another
    // input (QueuedOutputs); an MP3 whose last conversion in this program
    // run was from Source itself is replaced without a question. Raises
    // EConvertOntoItself, and EConvertOntoRecording for an MP3 of
    // RecordingMp3s, which no answer may replace: the recording's WAV goes
    // once its MP3 is written.
    bool Approve(const String& source, const TStrings& queuedInputs, const TStrings& queuedOutputs,
                 const TAskReplace& askReplace, const TStrings* recordingMp3s = nullptr);
    // The encoder finished converting Source into Mp3File.
    void Converted(const String& source, const String& mp3File);

private:
    // The source each MP3 was last converted from in this program run.
    TStringList convertedMp3s_;
    TStringList convertedSources_;
};
