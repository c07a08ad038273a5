#include "KYPTitleBarLayout.h"

#include <algorithm>

#include "KYPFrameMetrics.h"

TTitleInsets TitleInsets(bool inSkinFrame, bool mdiFormBar, int borderAnswer)
{
    if (!inSkinFrame) return {};
    TTitleInsets insets;
    insets.XOff = borderAnswer != 0 ? -borderAnswer : (mdiFormBar ? -4 : -3);
    insets.YOff = -kFrameTitleRows;
    return insets;
}

namespace {

// Sections are laid from both ends inwards; the client section takes what
// is left in the middle, and the caption section grows with the caption.
class TSectionWalker {
public:
    TSectionWalker(const TSectionsInput& input, const TTextWidthFunc& textWidth)
        : in_(input), textWidth_(textWidth), left_(input.Insets.XOff), right_(input.BarWidth - input.Insets.XOff)
    {
    }

    TSectionsLayout Run()
    {
        const int xOff = in_.Insets.XOff;
        out_.BufSize = TSize{in_.BarWidth - 2 * xOff, in_.BarHeight - in_.Insets.YOff};
        int clientIndex = -1;
        for (int i = 0; i < static_cast<int>(in_.Sections.size()); ++i) {
            const TTitleSectionSpec& section = in_.Sections[static_cast<size_t>(i)];
            if (section.CapSec)
                PlaceCaption(i);
            else if (section.Align == kypLeft)
                PlaceLeft(i);
            else if (section.Align == kypRight)
                PlaceRight(i);
            else
                clientIndex = i;
        }
        if (clientIndex >= 0)
            // A bar narrower than its sides gets an empty middle, never a mirrored one.
            Add(clientIndex, TSectionDraw::Stretch, left_, std::max(right_, left_));
        if (!out_.CaptionDrawn) out_.DrawingCap.clear();
        return out_;
    }

private:
    void Add(int index, TSectionDraw draw, int from, int to)
    {
        const int height = in_.Sections[static_cast<size_t>(index)].PictureHeight;
        const int xOff = in_.Insets.XOff, yOff = in_.Insets.YOff;
        out_.Placements.push_back(
            TSectionPlacement{index, draw, TRect(from, yOff, to, yOff + height), TRect(from - xOff, 0, to - xOff, height)});
    }

    void PlaceCaption(int index)
    {
        const size_t next = static_cast<size_t>(index) + 1;
        const int nextWidth = next < in_.Sections.size() ? in_.Sections[next].Width : 0;
        const int room = in_.BarWidth - in_.LeftBtnXOffset - in_.ButtonsWidth - nextWidth - 21;
        out_.DrawingCap = EllipsisTextBy(textWidth_, in_.Caption, room);
        // A wide left section would make it negative, which mirrors the picture.
        const int width = std::max(0, textWidth_(out_.DrawingCap) + in_.LeftBtnXOffset + 17 - lastLeftWidth_);
        Add(index, TSectionDraw::Stretch, left_, left_ + width);
        left_ += width;
        out_.CaptionDrawn = true;
    }

    void PlaceLeft(int index)
    {
        const int width = in_.Sections[static_cast<size_t>(index)].PictureWidth;
        Add(index, TSectionDraw::Plain, left_, left_ + width);
        left_ += width;
        lastLeftWidth_ = width;
    }

    void PlaceRight(int index)
    {
        const int width = in_.Sections[static_cast<size_t>(index)].PictureWidth;
        Add(index, TSectionDraw::RightSide, right_ - width, right_);
        right_ -= width;
    }

    const TSectionsInput& in_;
    const TTextWidthFunc& textWidth_;
    TSectionsLayout out_;
    int left_;
    int right_;
    int lastLeftWidth_ = 0;
};

TButtonFace FaceAt(const TRect& rect, const TButtonsInput& in)
{
    // All four edges count, as the skin library's point test has it.
    const bool inside = in.Cursor.X >= rect.Left && in.Cursor.X <= rect.Right && in.Cursor.Y >= rect.Top &&
                        in.Cursor.Y <= rect.Bottom;
    if (!inside) return TButtonFace::Normal;
    return in.MouseDown ? TButtonFace::Down : TButtonFace::Hot;
}

}  // namespace

TSectionsLayout LayoutSections(const TSectionsInput& input, const TTextWidthFunc& textWidth)
{
    return TSectionWalker(input, textWidth).Run();
}

TButtonsLayout LayoutButtons(const TButtonsInput& in)
{
    TButtonsLayout out;
    const int b = in.BorderAnswer - 1;
    int r = in.BarWidth - in.RightBtnXOffset + b;
    for (int i = 0; i < static_cast<int>(in.Buttons.size()); ++i) {
        const TTitleButtonSpec& button = in.Buttons[static_cast<size_t>(i)];
        if (!button.Visible || !button.Complete) continue;
        if (button.Type == kypControlBox) {
            out.IconIndex = i;
            continue;
        }
        r -= button.Type == kypClose ? button.Width : button.Width + 1 + in.ButtonInterval;
        if (r + button.Width + 1 > in.BarWidth) r = in.BarWidth - button.Width - 1;
        const TRect rect(r, in.BtnTop, r + button.Width, in.BtnTop + button.Height);
        const TButtonFace face = FaceAt(rect, in);
        if (face != TButtonFace::Normal) out.InButtons = i;
        out.Buttons.push_back(TButtonPlacement{i, rect, face});
    }
    int l = std::max(0, in.LeftBtnXOffset - 4 - b);
    if (out.IconIndex >= 0) {
        const TTitleButtonSpec& box = in.Buttons[static_cast<size_t>(out.IconIndex)];
        const TRect hit(l, in.IconTop, l + box.Width, in.IconTop + box.Height);
        const TButtonFace face = FaceAt(hit, in);
        if (face != TButtonFace::Normal) out.InButtons = out.IconIndex;
        out.AppIcon = in.DrawAppIcon;
        if (in.DrawAppIcon) {
            out.IconRect = Bounds(l + 3, in.IconTop, 16, 16);
            l += 21;
        } else {
            out.IconRect = Bounds(l, in.IconTop - 1, box.Width, box.Height);
            out.IconFace = face;
            l += box.Width + 5;
        }
    }
    if (l == 0) l = 6;
    out.CaptionLeft = l;
    out.ButtonsLeft = r;
    return out;
}

String CaptionText(const String& drawingCap, const String& caption, int room, const TTextWidthFunc& textWidth)
{
    if (!drawingCap.empty()) return drawingCap;
    if (textWidth(caption) <= room) return caption;
    String text = caption;
    while (!text.empty() && textWidth(text + L"...") > room) text.pop_back();
    return text + L"...";
}

TPoint CaptionPosition(const TCaptionInput& in)
{
    const int y = in.Themed ? in.CapTop - kFrameTitleRows : (in.Protein ? in.BtnTop + 3 : in.BtnTop);
    const int x = in.RightToLeft ? in.Right - in.TextWidth - 10 : in.Left;
    return TPoint(x, y);
}
