// The skinned MDI frame's own cascade and tile: after the system has
// arranged the children, they are placed again by KYPMDIArrange's
// arithmetic, in the order of the form's MDI children.
#pragma once

#include "Forms.h"

void CascadeMDIChildren(TForm& form);

// As the frame always has: the form's top- and bottom-aligned controls
// count also while hidden, and the width is the form's client width, not
// that of the MDI client inside it.
void TileMDIChildren(TForm& form);
