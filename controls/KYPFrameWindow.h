// What the skinned form frame and the skinned MDI frame both do to the
// form window they skin: the caption bits, the measured unskinned frame,
// the skin file's border settings, the painted border and the region.
#pragma once

#include <windows.h>

#include <functional>

#include "Forms.h"
#include "GdiHandles.h"
#include "KYPFormBorder.h"
#include "KYPFormGeometry.h"
#include "KYPMgr.h"
#include "Messages.h"

class TkypTitleBar;

// Recomputes the window's frame in place (no size, move, z-order or activation).
void RecomputeFrame(HWND window);
// Takes WS_CAPTION off and recomputes the frame; false when it was off already.
bool StripCaptionBits(HWND window);
void RestoreCaptionBits(HWND window);
// The left and bottom thickness of the window's own frame as the system
// lays it out now, each sane (SaneFrameThickness).
void MeasureWindowFrame(HWND window, int& left, int& bottom);
// A frame shows no system frame of a single line: such forms (and none or
// tool windows) become dialogs; the style the form had is returned.
TFormBorderStyle TakeDialogBorder(TForm& form);
// A dialog frame shows the form's icon, else the application's, else the system's.
void SetDialogFrameIcon(TForm& form);
// The window's size as a rectangle at (0, 0).
TRect WindowExtent(HWND window);
// A maximised frame covers the work area, its own edges just outside.
void FitToWorkArea(TForm& form);

// WM_NCCALCSIZE: the window's new rectangle becomes the one the frame
// hands on to the form's own procedure (FrameClientRect).
void FrameCalcSize(TMessage& message, const TkypFrameBorders& borders);
// WM_NCPAINT / WM_NCACTIVATE: the frame paints the whole non-client area
// (title bar, then PaintFrame), except for an iconic form, whose own
// procedure draws it (PassOn).
void FrameNonClientPaint(TMessage& message, TForm& form, TkypTitleBar* titleBar,
    const std::function<void()>& paintFrame, const std::function<void()>& passOn);
// Where the client area starts in the window, as the system laid it out:
// the title bar lines its picture up with the border's copy of it. The
// arithmetic alone assumes the system's frame of a sizeable window.
int MeasuredBorderWidthAnswer(HWND window, const TkypFrameBorders& borders);

// The skin file's side of a frame's borders; all zero in a built-in style.
struct TkypFrameSkin {
    int LeftBorderWidth = 0;
    int RightBorderWidth = 0;
    int BottomBorderWidth = 0;
    TColor TransparentColor = clFuchsia;
    bool TitleNeedRegion = false;
    bool BottomNeedRegion = false;
    int TitleRegionMin = -1, TitleRegionMax = -1;
    int BottomRegionMin = -1, BottomRegionMax = -1;

    // A picture the skin file lacks counts as no border at all. The title
    // bar's image learns the transparent colour.
    void Read(const TkypFileTheme& theme, TkypTitleBar* titleBar);
    void Clear();
    TkypFrameBorders Borders(int borderWidth, int oldLeft, int oldBottom) const;
};

// The frame painted on the window's DC: from the skin file when Theme is
// given, else the built-in Look (its title sections filled in here).
void PaintFrameOnWindow(HWND window, TkypFrameBorder& border, const TkypFrameLayout& layout,
                        const TkypFileTheme* theme, TkypTitleBar* titleBar, TkypStyleFrameLook look);
// The outline a skin file cuts (the plain rectangle unless it asks for a
// cut), composing the bottom border first when its width is stale.
TRegionHandle SkinFrameRegion(const TRect& extent, TkypFrameBorder& border, const TkypFrameSkin& skin,
                              const TkypFileTheme& theme, TkypTitleBar* titleBar, bool cut);
// Hands Region to the window, which owns it once set.
void SetFrameRegion(HWND window, TRegionHandle region);
