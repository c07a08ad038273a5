// Standard controls drawn by the framework itself.
#pragma once

#include "Controls.h"

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A line (or lines) of text on its parent, windowless.
class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    void SetText(const String& text) override;

protected:
    void Paint() override;
    void FontChanged() override;
    void Loaded() override;

private:
    void AdjustSize();
    UINT DrawFlags() const;

    bool transparent_ = false;
    bool autoSize_ = true;
    TAlignment alignment_ = TAlignment::taLeftJustify;
};
