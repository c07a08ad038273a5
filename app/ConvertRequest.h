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

String ConvertOntoItselfText(const String& fileName);
String ReplaceMp3Question(const String& mp3File);

class TConvertRequests {
public:
    // Whether Mp3File may be replaced; asked only about an existing file.
    using TAskReplace = std::function<bool(const String& mp3File)>;

    // Whether Source may be converted to its MP3 now. Not asked about are
    // MP3 files the encoder still has to write in this run (Queued, the
    // encoder's output list) and those an earlier conversion of this
    // program run wrote. Raises EConvertOntoItself.
    bool Approve(const String& source, const TStrings& queued, const TAskReplace& askReplace);

private:
    TStringList converted_;  // MP3 files approved in this program run
};
