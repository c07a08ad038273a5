// The non-client geometry of a skinned form frame as plain arithmetic: the
// client rectangle the frame asks the system for, its answer to the title
// bar's border-width question, and its edge hit test.
#pragma once

#include "Types.h"

// The frame's borders: the skin file's border pictures (0 in a built-in
// style, or for a missing picture), the outer line of a built-in style,
// and the form's own frame measured before the caption was removed.
struct TkypFrameBorders {
    int LeftBorderWidth = 0;
    int RightBorderWidth = 0;
    int BottomBorderWidth = 0;
    int BorderWidth = 1;
    int OldLeftBorderWidth = 4;
    int OldBottomBorderWidth = 4;
};

// An unskinned frame thickness outside 0 .. 12 cannot be right: 4.
int SaneFrameThickness(int measured);

// The rectangle handed on as the window rectangle for a window whose new
// bounds are Window. The system's own frame is taken off it afterwards, so
// the old thicknesses are added back and the frame's own borders taken off.
TRect FrameClientRect(const TRect& window, const TkypFrameBorders& borders);

// The left border width the title bar must allow for.
int FrameBorderWidthAnswer(const TkypFrameBorders& borders);

// A child form that was not sizeable when skinned offers no sizing edges:
// a sizing answer of the system becomes a plain border.
int FrameHitTest(int systemAnswer, bool fixedEdges);

// The MDI frame's minimum width from a skin file: the title picture's left
// (T1) and right (T3) pieces, one title button's width, and room for the
// title bar's buttons (ButtonCount below 0: there is no title bar).
int MDIFrameMinWidth(bool fiveSections, int t1, int t3, int buttonWidth, int buttonCount);
