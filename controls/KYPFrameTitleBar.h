// The title bar's properties that both skinned frames publish as their
// own, forwarded to the frame's title bar (Frame::TitleBar(), null once
// freed), and their registration by name.
#pragma once

#include <utility>
#include <vector>

#include "KYPTitleBar.h"
#include "TypInfo.h"

template <class Frame>
class TkypTitleBarProperties {
public:
    // Kept by the title bar without a repaint.
    bool TitleBarCustom() const { return Bar() && Bar()->Custom(); }
    void SetTitleBarCustom(bool custom)
    {
        if (Bar()) Bar()->SetCustom(custom);
    }
    // The title bar's collections, copied into by the setters; null
    // without a title bar.
    TkypTitleBarButtons* TitleBarButtons() const { return Bar() ? Bar()->Buttons() : nullptr; }
    void SetTitleBarButtons(TkypTitleBarButtons* buttons)
    {
        if (Bar()) Bar()->SetButtons(buttons);
    }
    TkypTitleBarSections* TitleBarSections() const { return Bar() ? Bar()->Sections() : nullptr; }
    void SetTitleBarSections(TkypTitleBarSections* sections)
    {
        if (Bar()) Bar()->SetSections(sections);
    }
    bool TitleBarDrawAppIcon() const { return !Bar() || Bar()->DrawAppIcon(); }
    void SetTitleBarDrawAppIcon(bool draw)
    {
        if (Bar()) Bar()->SetDrawAppIcon(draw);
    }
    TColor InactiveCaptionColor() const { return Bar() ? Bar()->InactiveCaptionColor() : clInactiveCaption; }
    void SetInactiveCaptionColor(TColor color)
    {
        if (Bar()) Bar()->SetInactiveCaptionColor(color);
    }

protected:
    ~TkypTitleBarProperties() = default;

private:
    TkypTitleBar* Bar() const { return static_cast<const Frame*>(this)->TitleBar(); }
};

// Own followed by the title bar's properties, for RegisterProperties.
template <class Frame>
std::vector<TPropInfo> WithTitleBarProperties(std::vector<TPropInfo> own)
{
    using Props = TkypTitleBarProperties<Frame>;
    own.push_back(OrdinalProperty<Frame, bool>(L"TitleBarCustom", &Props::TitleBarCustom, &Props::SetTitleBarCustom));
    own.push_back(ObjectProperty<Frame, TkypTitleBarButtons>(L"TitleBarButtons", &Props::TitleBarButtons,
                                                             &Props::SetTitleBarButtons));
    own.push_back(ObjectProperty<Frame, TkypTitleBarSections>(L"TitleBarSections", &Props::TitleBarSections,
                                                              &Props::SetTitleBarSections));
    own.push_back(
        OrdinalProperty<Frame, bool>(L"TitleBarDrawAppIcon", &Props::TitleBarDrawAppIcon, &Props::SetTitleBarDrawAppIcon));
    own.push_back(OrdinalProperty<Frame, TColor>(L"InactiveCaptionColor", &Props::InactiveCaptionColor,
                                                 &Props::SetInactiveCaptionColor));
    return own;
}
