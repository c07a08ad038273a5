// Numbers that the title bar, the menu bar and both skinned frames share,
// named once. Plain constants: the native core builds with them too.
#pragma once

// The top rows of the title pictures that lie under a skin frame's top
// border: a bar inside a frame is this much lower than its first picture,
// and its buttons, icon and caption this much higher.
constexpr int kFrameTitleRows = 3;

// The height a form frame gives its menu bar until told otherwise.
constexpr int kMenuBarHeight = 22;

// The title-button strip: 18 equal pieces, three (normal, mouse over,
// pressed) for each of the six standard pictures.
constexpr int kTitleButtonStripPieces = 18;

// The MDI frame's minimum width takes a sixth of that strip's width: three
// of its pieces, room for three buttons side by side, as the MDI frame's
// three child control buttons.
constexpr int kMDIChildButtonCount = 3;
constexpr int kMDIMinWidthStripDivisor = kTitleButtonStripPieces / kMDIChildButtonCount;
static_assert(kMDIMinWidthStripDivisor == 6);
