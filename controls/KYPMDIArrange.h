// Where the skinned MDI frame puts its children when it cascades or tiles
// them, and its three child control buttons (close, restore, minimise) on
// the menu-bar row of a maximised child: pure arithmetic, checked without
// a window.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "KYPTitleBarLayout.h"
#include "Types.h"

// New bounds for each child of the frame's list, in that order; a
// minimised child keeps its place (no value). Sizes never go below 0.
using TkypChildBounds = std::vector<std::optional<TRect>>;

// Each child 80 % of the form's client width and 60 % of its height, the
// last list entry at (0, 0) and each one before it 22 px further down and
// right.
TkypChildBounds CascadeChildren(int clientWidth, int clientHeight, const std::vector<bool>& minimised);

// Side by side (Vertical) or one above the other, the last list entry
// first, 2 px apart. AlignedHeight is what the form's top- and
// bottom-aligned controls take, hidden ones too; a minimised child leaves
// a 25 px strip for the icons. Nothing moves when every child is minimised.
TkypChildBounds TileChildren(bool vertical, int clientWidth, int clientHeight, int alignedHeight,
    const std::vector<bool>& minimised);

// The buttons by their slot, right to left along the row.
enum class TkypChildButton : uint8_t { Close = 1, Restore = 2, Minimize = 3 };

struct TkypChildButtonPlace {
    int Left = 0;
    int Top = 0;
    int Tag = 0;
    int StripPiece = 0;  // of the three 16 x 16 pieces of the buttons' picture, from 1
};

// PanelWidth is the top panel's width; a form whose own frame was more
// than 4 px thick keeps the buttons 2 px lower.
TkypChildButtonPlace ChildButtonPlace(TkypChildButton button, int panelWidth, int oldLeftBorderWidth);

// The control buttons a maximised child shows: one for each minimise,
// maximise and close button of its frame's title bar.
struct TkypChildButtonsShown {
    bool Close = false;
    bool Restore = false;
    bool Minimize = false;
    bool operator==(const TkypChildButtonsShown&) const = default;
};
TkypChildButtonsShown ChildButtonsFor(const std::vector<TkypTitleBarBtnType>& titleBarButtons);

// What a click on the button with that tag does to the active child.
enum class TkypChildAction : uint8_t { None, Minimize, Restore, Close };
TkypChildAction ChildButtonAction(int tag);
