// Shared steps of the skinned controls' off-screen painting: each control
// draws its whole face into one bitmap and copies it to the window at once,
// so the face never flickers and WM_ERASEBKGND can be ignored.
#pragma once

#include "Bitmap.h"
#include "Controls.h"

// Sizes Face to Control and fills it with what lies under the control:
// the parent's own painting when Transparent, else the control's Color.
void PaintFaceBackground(TBitmap& face, TControl& control, bool transparent);

// What trimming leaves: anything above a space.
bool HasVisibleText(const String& text);
