// TkypImageButton: the push button whose face is one of four pictures
// chosen by state. Everything but the pictures, the auto-size rule and the
// focus rectangle is the skinned button's; its look never depends on the
// style or a theme file.
#pragma once

#include "KYPButton.h"

class TkypImageButton : public TkypCustomButton {
public:
    explicit TkypImageButton(TComponent* owner);
    ~TkypImageButton() override;

    // Always FromThemeFile: no picture comes from a style.
    TkypUIStyle UIStyle() const override { return FromThemeFile; }

    bool DrawFocused() const { return m_DrawFocused; }
    void SetDrawFocused(bool drawFocused);
    bool Stretch() const { return m_Stretch; }
    void SetStretch(bool stretch);

    // Owned and never replaced; the setters copy into them. PicNormal also
    // stands in for each of the others while that one is empty.
    TPicture* PicNormal() const { return m_PicNormal.get(); }
    TPicture* PicMouseOn() const { return m_PicMouseOn.get(); }
    TPicture* PicMouseDown() const { return m_PicMouseDown.get(); }
    TPicture* PicDisabled() const { return m_PicDisabled.get(); }
    void SetPicNormal(TPersistent* picture) { AssignPicture(*m_PicNormal, picture); }
    void SetPicMouseOn(TPersistent* picture) { AssignPicture(*m_PicMouseOn, picture); }
    void SetPicMouseDown(TPersistent* picture) { AssignPicture(*m_PicMouseDown, picture); }
    void SetPicDisabled(TPersistent* picture) { AssignPicture(*m_PicDisabled, picture); }

protected:
    void ResizeToStyle() override;
    void DrawPicture(TCanvas& canvas, TBitmap* bitmap) override;
    void PaintFocusRect(TCanvas& canvas) override;
    void GetNormalPicture(TBitmap* bitmap) override;
    void GetMouseOnPicture(TBitmap* bitmap) override;
    void GetMouseDownPicture(TBitmap* bitmap) override;
    void GetDisabledPicture(TBitmap* bitmap) override;

private:
    void AssignPicture(TPicture& field, TPersistent* picture);
    void CopyPicture(TPicture& preferred, TBitmap* bitmap);

    TOwned<TPicture> m_PicNormal;
    TOwned<TPicture> m_PicMouseOn;
    TOwned<TPicture> m_PicMouseDown;
    TOwned<TPicture> m_PicDisabled;
    bool m_Stretch = false;
    bool m_DrawFocused = false;
};
