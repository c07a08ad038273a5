// Reading order of controls and the system locale that enables
// right-to-left layout.
#pragma once

enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

struct TSysLocale {
    // A Middle-East locale: only then do controls lay out right to left.
    bool MiddleEast = false;
};

// Read from the system when the program starts; tests may change it.
extern TSysLocale SysLocale;
