// TkypTitleBar: the skinned caption bar that a skinned form frame puts at
// the top of a form whose own caption it removed (or any form, aligned to
// its top): bitmap sections, the application icon, the caption and a row
// of caption buttons with hot and pressed pictures. It moves, maximises,
// minimises and closes its form and offers a system menu.
#pragma once

#include <functional>
#include <vector>

#include "Bitmap.h"
#include "Controls.h"
#include "KYPLifeToken.h"
#include "KYPMgr.h"
#include "KYPPopupMenu.h"
#include "KYPStyle.h"
#include "KYPTitleBarItems.h"
#include "KYPTitleBarLayout.h"

class TForm;

// Asked of the form the bar stands on: how far its skinned frame's left
// border reaches. Any other window answers 0.
constexpr UINT KYPM_BORDERWIDTH = 0x26C3;

// The seam to the skinned form frames: the frame panel that parents the
// bar, or the MDI frame component that owns it, says so through this.
class IkypTitleBarFrame {
public:
    virtual bool IsMDIFrame() const = 0;
    // The title image changed under the frame's borders.
    virtual void PaintFormBorder() = 0;

protected:
    ~IkypTitleBarFrame() = default;
};

using TkypTitleBarButtonClickEvent = std::function<void(TObject* sender, int buttonIndex)>;
using TkypTitleBarButtonClickEvent2 = std::function<void(TObject* sender, bool& allow)>;

class TkypTitleBar;

// The title bar's system menu: minimise, maximise/restore, close, each
// enabled while the bar shows the matching button.
class TkypTitleBarPopupMenu : public TkypPopupMenu {
public:
    explicit TkypTitleBarPopupMenu(TComponent* owner);

    TkypTitleBar* TitleBar() const { return m_TitleBar; }
    void SetTitleBar(TkypTitleBar* titleBar) { m_TitleBar = titleBar; }

    void Popup(int x, int y) override;

    void MinItemClick(TObject* sender);
    void MaxItemClick(TObject* sender);
    void CloseItemClick(TObject* sender);

private:
    TkypTitleBar* m_TitleBar = nullptr;  // not owned: the bar owns this menu
};

class TkypTitleBar : public TCustomPanel {
public:
    explicit TkypTitleBar(TComponent* owner);
    ~TkypTitleBar() override;
    void AfterConstruction() override;
    void BeforeDestruction() override;

    bool Custom() const { return m_Custom; }
    void SetCustom(bool custom) { m_Custom = custom; }
    // Not owned; watched, so a theme of another owner can go first.
    TkypFileTheme* FileTheme() const { return m_FileTheme.Theme(); }
    // Re-applies the style, keeping the font colour.
    void SetFileTheme(TkypFileTheme* theme);
    TkypUIStyle UIStyle() const { return m_UIStyle; }
    void SetUIStyle(TkypUIStyle style);
    bool AutoSize() const { return m_AutoSize; }
    // Either way the height follows the first section's picture.
    void SetAutoSize(bool autoSize);
    TkypTitleBarSections* Sections() const { return m_Sections; }
    void SetSections(TkypTitleBarSections* sections);
    TkypTitleBarButtons* Buttons() const { return m_Buttons; }
    void SetButtons(TkypTitleBarButtons* buttons);
    int ButtonInterval() const { return m_ButtonInterval; }
    void SetButtonInterval(int interval);
    // Caption is the control's text; setting it repaints.
    bool FormActive() const { return m_Active; }
    void SetFormActive(bool active);
    int LeftBtnXOffset() const { return m_LeftBtnXOffset; }
    void SetLeftBtnXOffset(int offset);
    int RightBtnXOffset() const { return m_RightBtnXOffset; }
    void SetRightBtnXOffset(int offset);
    bool DrawAppIcon() const { return m_DrawAppIcon; }
    void SetDrawAppIcon(bool draw);
    // Read by the form frames; no repaint.
    int RoundCorner() const { return m_RoundCorner; }
    void SetRoundCorner(int size) { m_RoundCorner = size; }
    int RoundCornerBottom() const { return m_RoundCornerBottom; }
    void SetRoundCornerBottom(int size) { m_RoundCornerBottom = size; }
    TColor InactiveCaptionColor() const { return m_InactiveCaptionColor; }
    void SetInactiveCaptionColor(TColor color);
    TkypTitleBarPopupMenu* DefPopupMenu() const { return m_DefPopupMenu; }
    TColor BorderColor() const { return m_BorderColor; }

    // For the form frames.
    void ProcessMaxBtn();
    // -1 the title image, -2 it over the form colour, else a section's
    // picture while there are more than 2 sections; Bmp is left alone
    // otherwise. The bitmap stays the bar's.
    void GetTitleImage(int index, TBitmap*& bmp);
    bool CanPaint() const;
    // Paints at once, so the title image is current.
    void ForcePaint() { Paint(); }
    void AddHelpBtn();

    // The bar's topmost form; null while it has none.
    TForm* Form() const;
    // Inside a skinned form frame (the parent is one, or the owner is an
    // MDI frame with the bar placed).
    bool IsInSkinFrame() const;
    bool IsMDIFormBar() const;
    // The button under the cursor at the last painting; -1 for none.
    int InButtons() const { return m_InButtons; }
    bool MouseIsDown() const { return m_MouseDown; }
    // The caption as the caption section shortened it.
    const String& DrawingCap() const { return m_DrawingCap; }
    int BtnTop() const { return m_BtnTop; }
    int IconTop() const { return m_IconTop; }
    int BtnHeight() const { return m_BtnHeight; }
    // OnMinClick, then minimises the form (the whole application when it
    // is the main form).
    void MinimizeForm();
    // Watches a control box's menu, which a button does not own.
    void WatchMenu(TPopupMenu* menu);
    // For code that goes on after a handler the bar ran, which may free it.
    TkypLifeToken::TWatch LifeWatch() const { return m_Life.Watch(); }

    TkypTitleBarButtonClickEvent OnCustomBtnsClick;
    TkypTitleBarButtonClickEvent OnHelpBtnClick;
    TkypTitleBarButtonClickEvent2 OnMinClick;
    TkypTitleBarButtonClickEvent2 OnMaxClick;

    void DblClick() override;

protected:
    void Paint() override;
    virtual void PaintSections(TBitmap& bitmap);
    virtual void PaintButtons(TBitmap& bitmap);
    void Notification(TComponent* component, TOperation operation) override;
    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void FontChanged() override { Repaint(); }

private:
    void LoadThemeSections();
    void LoadStyleSections(TkypUIStyle style);
    void SetFormMinWidth(int minWidth);
    IkypTitleBarFrame* Frame() const;
    int BorderAnswer();
    int ButtonsWidth() const;
    void DrawSection(TBitmap& bitmap, const TSectionPlacement& placement);
    void DrawButtonFace(TBitmap& bitmap, TkypTitleBarButton& button, TButtonFace face, const TRect& rect);
    void DrawIcon(TBitmap& bitmap, const TRect& rect);
    HICON SmallAppIcon();
    void DrawCaption(TBitmap& bitmap, const TButtonsLayout& layout);
    TBitmap* RightPiece(TBitmap* picture);
    TPoint CursorInBar();
    void ForwardToForm(TMessage& message);
    void ButtonReleased();

    TkypUIStyle m_UIStyle = DeepBlue;
    TkypThemeLink m_FileTheme{this};
    TkypTitleBarSections* m_Sections = nullptr;  // owned
    TkypTitleBarButtons* m_Buttons = nullptr;    // owned
    bool m_AutoSize = false;
    int m_ButtonInterval = 0;
    bool m_Active = true;
    int m_LeftBtnXOffset = 0;
    int m_RightBtnXOffset = 0;
    int m_RoundCorner = 0;
    int m_RoundCornerBottom = 0;
    bool m_DrawAppIcon = true;
    bool m_SelfChanging = false;
    TkypTitleBarPopupMenu* m_DefPopupMenu = nullptr;  // owned as a component of this bar
    TColor m_BorderColor = 0;
    bool m_Custom = false;
    bool m_FiveSec = false;
    String m_DrawingCap;
    TOwned<TBitmap> m_Buf;
    TOwned<TBitmap> m_Buf2;
    TColor m_FormColor = 0;
    TColor m_TransColor = 0;
    TColor m_InactiveCaptionColor = clInactiveCaption;
    bool m_MouseDown = false;
    int m_InButtons = -1;
    int m_BtnHeight = 0;
    int m_BtnTop = 0;
    int m_IconTop = 0;
    int m_CapTop = 0;
    // Reused by every paint: the bar repaints on every mouse move.
    TOwned<TBitmap> m_Work;
    TOwned<TBitmap> m_Face;
    TOwned<TBitmap> m_RightPiece;
    struct TRightPieceKey {
        int width = 0, height = 0;
        TColor trans = 0, form = 0;
        bool operator==(const TRightPieceKey&) const = default;
    } m_RightPieceKey;
    std::vector<uint32_t> m_RightPieceSource;  // the pixels it was made from
    // The 16 x 16 copy of the application's icon, and the icon it came from.
    struct TIconHolder {
        HICON icon = nullptr;
        ~TIconHolder() { Reset(); }
        void Reset(HICON next = nullptr)
        {
            if (icon) DestroyIcon(icon);
            icon = next;
        }
    } m_SmallIcon;
    HICON m_SmallIconSource = nullptr;  // not owned
    TkypLifeToken m_Life;  // ended when teardown begins
};
