#include "ConvertRequest.h"

#include "FileSystem.h"

String ConvertOntoItselfText(const String& fileName)
{
    return fileName + L" is already an MP3 file; it can not be converted onto itself.";
}

String ConvertOntoRecordingText(const String& fileName, const String& mp3File)
{
    return fileName + L" can not be converted now: " + mp3File +
           L" is still to be written from a recording, which it would replace.";
}

String ReplaceMp3Question(const String& mp3File) { return mp3File + L" already exists. Replace it?"; }

bool TConvertRequests::Approve(const String& source, const TStrings& queuedInputs, const TStrings& queuedOutputs,
                               const TAskReplace& askReplace, const TStrings* recordingMp3s)
{
    const String mp3 = ChangeFileExt(source, L".mp3");
    // Names differing in letter case are one file on Windows.
    if (SameText(mp3, source)) throw EConvertOntoItself(ConvertOntoItselfText(source));
    if (queuedInputs.IndexOf(source) >= 0) return false;
    if (recordingMp3s && recordingMp3s->IndexOf(mp3) >= 0)
        throw EConvertOntoRecording(ConvertOntoRecordingText(source, mp3));
    const int converted = convertedMp3s_.IndexOf(mp3);
    const bool ours = converted >= 0 && SameText(convertedSources_.Get(converted), source);
    const bool replacesAnother = queuedOutputs.IndexOf(mp3) >= 0 || (!ours && FileExists(mp3));
    return !replacesAnother || askReplace(mp3);
}

void TConvertRequests::Converted(const String& source, const String& mp3File)
{
    const int known = convertedMp3s_.IndexOf(mp3File);
    if (known >= 0) {
        convertedSources_.Put(known, source);
        return;
    }
    convertedMp3s_.Add(mp3File);
    convertedSources_.Add(source);
}
