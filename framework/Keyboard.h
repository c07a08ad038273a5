// Helpers of the form's keyboard passes: accelerator characters of
// captions and the modifier keys of a key message.
#pragma once

#include <windows.h>

#include "Controls.h"
#include "SysUtils.h"

// Whether Caption marks Key as its accelerator: the character after a
// single "&" ("&&" is a literal ampersand), compared without case.
bool IsAccel(UINT key, const String& caption);

// Shift and Ctrl as they are held now; Alt from the key data's context bit.
TShiftState KeyDataToShiftState(LPARAM keyData);

// Keys the form may take for its controls before the focused one sees them.
bool IsDialogKey(WORD key);
