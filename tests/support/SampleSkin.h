// The sample skin as the build writes it (resources/skins/generate.py):
// the skin file, its encrypted copy, and what the generator says it holds:
// each picture as a BMP file of its own, and CopperSkin.h's values.
#pragma once

#include "Bitmap.h"
#include "CopperSkin.h"
#include "FileSystem.h"
#include "SysUtils.h"

// The build tree's resources/skins, seen from the test programs in bin.
inline String SampleSkinFolder() { return ExtractFilePath(ProgramFileName()) + L"..\\resources\\skins\\"; }
inline String SampleSkinFile() { return SampleSkinFolder() + L"Copper.skn"; }
inline String LockedSampleSkinFile() { return SampleSkinFolder() + L"CopperLocked.skn"; }
inline const wchar_t* SampleSkinPassword() { return QUORVELL_SAMPLE_SKIN_PASSWORD; }

// The picture of Key (as "SKIN2_BUTTON") that the generator wrote beside
// the skin: read straight from its BMP file, not through the skin reader.
inline TOwned<TBitmap> SampleSkinPicture(const String& key)
{
    auto picture = MakeOwned<TBitmap>();
    picture->LoadFromFile(SampleSkinFolder() + L"Copper\\" + key + L".bmp");
    return picture;
}
