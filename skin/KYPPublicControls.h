// The shared helpers of the skinned classes that work on controls and
// forms: transparent backgrounds, the work area of a maximised form,
// bounds, the active-form test and property lookup by name.
#pragma once

#include "Controls.h"
#include "Forms.h"
#include "KYPStyle.h"
#include "Graphics.h"
#include "Types.h"

// Lets Control's parent paint (erase, then paint) into Canvas under the
// control, so the control looks transparent. No parent: nothing.
void DrawParentBackground(TCanvas& canvas, TControl* control);

// The work area of the main form's monitor, or the primary monitor's while
// there is no main form. Also stored in Rect.
TRect GetWorkAreaRect(TRect& rect);

// Left, Top, Width, Height in that order, each taking effect at once.
void SetControlBoundsRect(TControl* control, const TRect& rect);

// Whether Form counts as the application's active form (MDI-aware). With
// no main form it is Form's own Active flag, and False for a null form.
bool IsFormActive(TForm* form);

// Whether Component's class publishes a property of that name (any case).
bool HasProperty(TComponent* component, const String& name);

class TkypFileTheme;

// Hands a style and a theme to every direct child of Parent that publishes
// both "FileTheme" and "UIStyle": the theme first, then the style.
// Errors of the property setters reach the caller.
void ApplyThemeToChildren(TWinControl* parent, TkypUIStyle style, TkypFileTheme* theme);
