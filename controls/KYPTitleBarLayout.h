// Where the title bar puts its sections, buttons, icon and caption: pure
// arithmetic over sizes and a way to measure text, so it is checked
// without a window. The title bar paints what this computes.
#pragma once

#include <cstdint>
#include <vector>

#include "KYPTextFit.h"
#include "SysUtils.h"
#include "Types.h"

enum TkypTitleBarAlign : uint8_t { kypLeft, kypRight, kypClient };
enum TkypTitleBarBtnType : uint8_t { kypMax, kypMin, kypClose, kypHelp, kypControlBox, kypCustom };

// How far the title image reaches past the bar: inside a skin frame over
// the side borders and the top border, so it covers the form's top edge.
struct TTitleInsets {
    int XOff = 0;
    int YOff = 0;
};
// BorderAnswer is the form's answer to KYPM_BORDERWIDTH.
TTitleInsets TitleInsets(bool inSkinFrame, bool mdiFormBar, int borderAnswer);

struct TTitleSectionSpec {
    int Width = 10;  // the section's Width property: the caption's neighbour budget
    TkypTitleBarAlign Align = kypLeft;
    bool CapSec = false;
    int PictureWidth = 0;
    int PictureHeight = 0;
};

enum class TSectionDraw {
    Plain,     // the picture at Work's top-left, and at Buf's
    Stretch,   // the picture stretched over Work and over Buf
    RightSide  // Plain, its transparent colour shown in the form colour on the bar
};

struct TSectionPlacement {
    int Index = 0;
    TSectionDraw Draw = TSectionDraw::Plain;
    TRect Work;  // in the bar's work bitmap
    TRect Buf;   // in the title image
};

struct TSectionsLayout {
    TSize BufSize;  // the title image
    std::vector<TSectionPlacement> Placements;  // in drawing order
    String DrawingCap;  // the shortened caption; empty without a caption section
    bool CaptionDrawn = false;
};

struct TSectionsInput {
    int BarWidth = 0;
    int BarHeight = 0;
    TTitleInsets Insets;
    int LeftBtnXOffset = 0;
    int ButtonsWidth = 0;  // every button, visible or not: its picture width plus the interval
    String Caption;
    std::vector<TTitleSectionSpec> Sections;
};

TSectionsLayout LayoutSections(const TSectionsInput& input, const TTextWidthFunc& textWidth);

struct TTitleButtonSpec {
    TkypTitleBarBtnType Type = kypCustom;
    bool Visible = true;
    bool Complete = true;  // all three pictures hold a graphic
    int Width = 0;         // of the normal picture
    int Height = 0;
};

enum class TButtonFace { Normal, Hot, Down };

struct TButtonPlacement {
    int Index = 0;
    TRect Rect;  // where it is drawn and hit (all edges inclusive for the hit)
    TButtonFace Face = TButtonFace::Normal;
};

struct TButtonsInput {
    int BarWidth = 0;
    int BorderAnswer = 0;
    int LeftBtnXOffset = 0;
    int RightBtnXOffset = 0;
    int ButtonInterval = 0;
    int BtnTop = 0;
    int IconTop = 0;
    bool DrawAppIcon = true;
    TPoint Cursor;  // in bar coordinates
    bool MouseDown = false;
    std::vector<TTitleButtonSpec> Buttons;
};

struct TButtonsLayout {
    std::vector<TButtonPlacement> Buttons;  // drawn, right to left in collection order
    int InButtons = -1;  // the button under the cursor
    int IconIndex = -1;  // the control-box button shown at the left
    bool AppIcon = false;  // the application's icon stands for it
    TRect IconRect;  // where the icon (16 x 16) or the control box's face is drawn
    TButtonFace IconFace = TButtonFace::Normal;
    int CaptionLeft = 0;  // L: the caption's left edge
    int ButtonsLeft = 0;  // R: the leftmost button position
};

TButtonsLayout LayoutButtons(const TButtonsInput& input);

// The caption as drawn between L and R: DrawingCap when the caption
// section shortened it, else cut with "..." to R - L.
String CaptionText(const String& drawingCap, const String& caption, int room, const TTextWidthFunc& textWidth);

struct TCaptionInput {
    bool Themed = false;
    int CapTop = 0;
    int BtnTop = 0;
    bool Protein = false;
    bool RightToLeft = false;
    int Left = 0;   // L
    int Right = 0;  // R
    int TextWidth = 0;
};
TPoint CaptionPosition(const TCaptionInput& input);
