// What the run-time library knows of the user's locale, and the reading
// order a control or menu asks for. Right-to-left drawing happens only
// when both agree: the control asks for it and the locale is a Middle-East
// one.
#pragma once

#include <windows.h>

enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

struct TSysLocale {
    LCID DefaultLCID = 0;
    LANGID PriLangID = 0;
    bool FarEast = false;
    // Read once at start-up; code and tests may set it to try the
    // right-to-left paths on any system.
    bool MiddleEast = false;
};

extern TSysLocale SysLocale;

// Whether something with this mode is drawn right to left here.
inline bool UseRightToLeftReading(TBiDiMode mode)
{
    return mode != TBiDiMode::bdLeftToRight && SysLocale.MiddleEast;
}
