#include "ConvertRequest.h"

#include "FileSystem.h"

String ConvertOntoItselfText(const String& fileName)
{
    return fileName + L" is already an MP3 file; it can not be converted onto itself.";
}

String ReplaceMp3Question(const String& mp3File) { return mp3File + L" already exists. Replace it?"; }

bool TConvertRequests::Approve(const String& source, const TStrings& queued, const TAskReplace& askReplace)
{
    const String mp3 = ChangeFileExt(source, L".mp3");
    // Names differing in letter case are one file on Windows.
    if (SameText(mp3, source)) throw EConvertOntoItself(ConvertOntoItselfText(source));
    const bool ours = queued.IndexOf(mp3) >= 0 || converted_.IndexOf(mp3) >= 0;
    if (!ours && FileExists(mp3) && !askReplace(mp3)) return false;
    if (converted_.IndexOf(mp3) < 0) converted_.Add(mp3);
    return true;
}
