#include "KYPTitleBar.h"

#include <algorithm>

#include "Forms.h"
#include "KYPFlagScope.h"
#include "KYPFrameMetrics.h"
#include "KYPThemes.h"
#include "ResStrings.h"
#include "TypInfo.h"

namespace {

constexpr int kIconSize = 16;

// A new font handle for every repaint would cost more than the rest of it;
// the colour is the caption's to set.
bool SameFont(TFont& a, TFont& b)
{
    return a.Name() == b.Name() && a.Height() == b.Height() && a.Style() == b.Style() && a.Charset() == b.Charset();
}

// 0x00BBGGRR to the bitmap's 0x00RRGGBB.
uint32_t PixelOf(TColor color)
{
    const auto rgb = static_cast<uint32_t>(ColorToRGB(color));
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

void FillSized(TBitmap& bitmap, const TSize& size, TColor color)
{
    bitmap.SetSize(size.cx, size.cy);
    bitmap.Canvas().Brush().SetStyle(TBrushStyle::bsSolid);
    bitmap.Canvas().Brush().SetColor(color);
    bitmap.Canvas().FillRect(TRect(0, 0, size.cx, size.cy));
}

}  // namespace

// ------------------------------------------------------------ system menu

TkypTitleBarPopupMenu::TkypTitleBarPopupMenu(TComponent* owner) : TkypPopupMenu(owner)
{
    SetAutoHotkeys(TMenuAutoFlag::maManual);
    struct TEntry {
        int caption;  // string table entry; 0 for the separator
        void (TkypTitleBarPopupMenu::*click)(TObject*);
    };
    const TEntry entries[] = {{65256, &TkypTitleBarPopupMenu::MinItemClick},
        {65257, &TkypTitleBarPopupMenu::MaxItemClick}, {0, nullptr}, {65258, &TkypTitleBarPopupMenu::CloseItemClick}};
    for (const TEntry& entry : entries) {
        TMenuItem* item = New<TMenuItem>(nullptr);
        item->SetCaption(entry.caption ? LoadResString(entry.caption) : String(L"-"));
        if (entry.click) item->OnClick = [this, click = entry.click](TObject* sender) { (this->*click)(sender); };
        Items()->Add(item);
    }
    MenuAdded();
}

void TkypTitleBarPopupMenu::Popup(int x, int y)
{
    if (m_TitleBar) {
        if (m_TitleBar->BiDiMode() == TBiDiMode::bdRightToLeft && SysLocale.MiddleEast) x += 176;
        bool shown[3] = {};  // minimise, maximise, close
        TkypTitleBarButtons* buttons = m_TitleBar->Buttons();
        for (int i = 0; i < buttons->Count(); ++i) {
            TkypTitleBarButton* button = buttons->Items(i);
            if (!button->Visible()) continue;
            if (button->ButtonType() == kypMin) shown[0] = true;
            if (button->ButtonType() == kypMax) shown[1] = true;
            if (button->ButtonType() == kypClose) shown[2] = true;
        }
        Items()->Items(0)->SetEnabled(shown[0]);
        Items()->Items(1)->SetEnabled(shown[1]);
        Items()->Items(3)->SetEnabled(shown[2]);
    }
    TkypPopupMenu::Popup(x, y);
}

void TkypTitleBarPopupMenu::MinItemClick(TObject*)
{
    if (m_TitleBar) m_TitleBar->MinimizeForm();
}

void TkypTitleBarPopupMenu::MaxItemClick(TObject*)
{
    if (!m_TitleBar) return;
    // The bar owns this menu: a click that frees it ends the loop.
    const TkypLifeToken::TWatch life = m_TitleBar->LifeWatch();
    TkypTitleBarButtons* buttons = m_TitleBar->Buttons();
    for (int i = 0; life && i < buttons->Count(); ++i)
        if (buttons->Items(i)->ButtonType() == kypMax && buttons->Items(i)->Visible()) buttons->Items(i)->DoClick();
}

void TkypTitleBarPopupMenu::CloseItemClick(TObject*)
{
    if (TForm* form = m_TitleBar ? m_TitleBar->Form() : nullptr) form->Close();
}

// ------------------------------------------------------------- title bar

TkypTitleBar::TkypTitleBar(TComponent* owner)
    : TCustomPanel(owner),
      m_Buf(MakeOwned<TBitmap>()),
      m_Buf2(MakeOwned<TBitmap>()),
      m_Work(MakeOwned<TBitmap>()),
      m_Face(MakeOwned<TBitmap>()),
      m_RightPiece(MakeOwned<TBitmap>())
{
    SetControlStyle((ControlStyle() & ~csAcceptsControls) | csCaptureMouse);
    SetParentBiDiMode(true);
}

// The owner hears of the bar (the base's AfterConstruction) only once its
// menu, sections and buttons exist: a listener may touch any of them.
void TkypTitleBar::AfterConstruction()
{
    m_DefPopupMenu = New<TkypTitleBarPopupMenu>(this);
    m_DefPopupMenu->SetTitleBar(this);
    m_Sections = New<TkypTitleBarSections>(this);
    m_Buttons = New<TkypTitleBarButtons>(this);
    for (TkypTitleBarBtnType type : {kypControlBox, kypClose, kypMax, kypMin}) m_Buttons->Add()->SetButtonType(type);
    SetAlign(TAlign::alTop);
    Font().SetColor(clWhite);
    Font().SetName(L"Tahoma");
    Font().SetStyle(fsBold);
    SetUIStyle(DefaultStyleFor(Owner()));
    TCustomPanel::AfterConstruction();
}

// Nothing paints once the window is gone, so nothing reaches the freed
// collections below.
void TkypTitleBar::BeforeDestruction()
{
    m_Life.End();
    TCustomPanel::BeforeDestruction();
    DestroyHandle();
}

TkypTitleBar::~TkypTitleBar()
{
    FreeAndNil(m_Buttons);
    FreeAndNil(m_Sections);
    if (m_DefPopupMenu) FreeAndNil(m_DefPopupMenu);
}

TForm* TkypTitleBar::Form() const { return GetParentForm(const_cast<TkypTitleBar*>(this)); }

IkypTitleBarFrame* TkypTitleBar::Frame() const { return dynamic_cast<IkypTitleBarFrame*>(Parent()); }

bool TkypTitleBar::IsMDIFormBar() const
{
    auto* frame = dynamic_cast<IkypTitleBarFrame*>(Owner());
    return Parent() && frame && frame->IsMDIFrame();
}

bool TkypTitleBar::IsInSkinFrame() const
{
    if (!Parent()) return false;
    IkypTitleBarFrame* frame = Frame();
    return (frame && !frame->IsMDIFrame()) || IsMDIFormBar();
}

int TkypTitleBar::BorderAnswer()
{
    TForm* form = Form();
    return form ? static_cast<int>(SendMessageW(form->Handle(), KYPM_BORDERWIDTH, 0, 0)) : 0;
}

// ------------------------------------------------------------ properties

void TkypTitleBar::SetFileTheme(TkypFileTheme* theme)
{
    m_FileTheme.Set(theme);
    const TkypFlagScope selfChanging(m_SelfChanging, true);
    SetUIStyle(m_UIStyle);
}

void TkypTitleBar::SetUIStyle(TkypUIStyle style)
{
    m_UIStyle = style;
    if (m_Custom) return;
    m_Sections->Clear();
    TkypUIStyle resolved = style;
    const bool themed = UsesThemeFile(FileTheme(), style, resolved);
    if (themed)
        LoadThemeSections();
    else
        LoadStyleSections(resolved);
    for (int i = 0; i < m_Buttons->Count(); ++i) m_Buttons->Items(i)->SetUIStyle(resolved);
    if (m_DefPopupMenu) {  // the system menu may have been freed from outside
        m_DefPopupMenu->SetUIStyle(resolved);
        m_DefPopupMenu->SetFileTheme(FileTheme());
    }
    if (!m_SelfChanging) {
        if (style == MacOS)
            Font().SetColor(clBlack);
        else
            Font().SetColor(themed ? FileTheme()->GetColor(SKIN2_TITLEFONTCOLOR) : clWhite);
    }
    SetAutoSize(true);
    Repaint();
}

void TkypTitleBar::SetAutoSize(bool autoSize)
{
    m_AutoSize = autoSize;
    if (m_Sections->Count() == 0) {
        m_AutoSize = false;
        return;
    }
    // An empty first picture in a skin frame asks for less than no height:
    // a control's height stops at 0.
    SetHeight(m_Sections->Items(0)->Picture()->Height() - (IsInSkinFrame() ? kFrameTitleRows : 0));
}

void TkypTitleBar::SetSections(TkypTitleBarSections* sections) { m_Sections->Assign(sections); }
void TkypTitleBar::SetButtons(TkypTitleBarButtons* buttons) { m_Buttons->Assign(buttons); }

#define KYP_REPAINTING_SETTER(Name, Type, field)                                                                       \
    void TkypTitleBar::Set##Name(Type value)                                                                           \
    {                                                                                                                  \
        field = value;                                                                                                 \
        Repaint();                                                                                                     \
    }
KYP_REPAINTING_SETTER(ButtonInterval, int, m_ButtonInterval)
KYP_REPAINTING_SETTER(FormActive, bool, m_Active)
KYP_REPAINTING_SETTER(LeftBtnXOffset, int, m_LeftBtnXOffset)
KYP_REPAINTING_SETTER(RightBtnXOffset, int, m_RightBtnXOffset)
KYP_REPAINTING_SETTER(DrawAppIcon, bool, m_DrawAppIcon)
KYP_REPAINTING_SETTER(InactiveCaptionColor, TColor, m_InactiveCaptionColor)
#undef KYP_REPAINTING_SETTER

void TkypTitleBar::LoadThemeSections()
{
    TkypFileTheme* theme = FileTheme();
    m_FiveSec = theme->GetBool(SKIN2_TITLEFIVESECT);
    m_TransColor = theme->GetColor(SKIN2_TRANSCOLOR);
    auto add = [this, theme](Tsk2SkinBitmapElement element) {
        TkypTitleBarSection* section = m_Sections->Add();
        section->Picture()->Bitmap()->Assign(theme->GetBitmap(element));
        return section;
    };
    add(SKIN2_TITLEBAR1)->SetAutoSize(true);
    TkypTitleBarSection* second = add(SKIN2_TITLEBAR2);
    if (m_FiveSec)
        second->SetCapSec(true);
    else
        second->SetAlign(kypClient);
    TkypTitleBarSection* third = add(SKIN2_TITLEBAR3);
    third->SetAutoSize(true);
    if (!m_FiveSec) third->SetAlign(kypRight);
    if (m_FiveSec) {
        add(SKIN2_TITLEBAR4)->SetAlign(kypClient);
        TkypTitleBarSection* fifth = add(SKIN2_TITLEBAR5);
        fifth->SetAutoSize(true);
        fifth->SetAlign(kypRight);
    }
    SetLeftBtnXOffset(theme->GetInt(SKIN2_TITLEBARICONPOSX));
    SetRightBtnXOffset(theme->GetInt(SKIN2_TITLEBARBUTTONPOSX));
    TBitmap* strip = theme->GetBitmap(SKIN2_TITLEBUTTONS);
    if (strip) strip->SetPixelFormat(TPixelFormat::pf24bit);
    m_BtnHeight = strip ? strip->Height() : 0;
    m_BtnTop = theme->GetInt(SKIN2_TITLEBARBUTTONPOSY);
    m_IconTop = theme->GetInt(SKIN2_TITLEBARICONPOSY);
    m_CapTop = theme->GetInt(SKIN2_TITLEBARCAPTIONTOP);
    m_FormColor = theme->GetColor(SKIN2_FORMCOLOR);
    if (IsInSkinFrame()) {
        m_BtnTop -= kFrameTitleRows;
        m_IconTop -= kFrameTitleRows;
    }
    if (!Form()) return;
    auto width = [theme](Tsk2SkinBitmapElement element) {
        TBitmap* bitmap = theme->GetBitmap(element);
        return bitmap ? bitmap->Width() : 0;
    };
    const int buttons = (strip ? strip->Width() / kTitleButtonStripPieces : 0) * m_Buttons->Count() + theme->GetInt(SKIN2_TITLEBARBUTTONPOSX);
    const int minWidth = m_FiveSec
                             ? width(SKIN2_TITLEBAR1) + width(SKIN2_TITLEBAR3) + 16 + std::max(width(SKIN2_TITLEBAR5), buttons)
                             : width(SKIN2_TITLEBAR1) + std::max(width(SKIN2_TITLEBAR3), buttons);
    Form()->Constraints().SetMinWidth(minWidth);
}

void TkypTitleBar::LoadStyleSections(TkypUIStyle style)
{
    auto add = [this, style](TkypStyleAttr attr) {
        TkypTitleBarSection* section = m_Sections->Add();
        LoadStyleBitmap(style, attr, section->Picture()->Bitmap());
        return section;
    };
    add(TkypStyleAttr::TitleLeft)->SetAutoSize(true);
    TkypTitleBarSection* right = add(TkypStyleAttr::TitleRight);
    right->SetAutoSize(true);
    right->SetAlign(kypRight);
    add(TkypStyleAttr::TitleClient)->SetAlign(kypClient);
    SetLeftBtnXOffset(GetStyleInt(style, TkypStyleAttr::TitleLeftOffset));
    SetRightBtnXOffset(GetStyleInt(style, TkypStyleAttr::TitleRightOffset));
    m_BorderColor = GetStyleColor(style, TkypStyleAttr::BorderColor);
    TBitmap strip;
    LoadStyleBitmap(style, TkypStyleAttr::TitleButtonStrip, &strip);
    m_BtnHeight = strip.Height();
    m_BtnTop = GetStyleInt(style, TkypStyleAttr::TitleButtonTop) - (IsInSkinFrame() ? kFrameTitleRows : 0);
    m_IconTop = m_BtnTop;
    if (TForm* form = Form()) {
        form->Constraints().SetMinWidth(GetStyleInt(style, TkypStyleAttr::FormMinWidth));
        form->Constraints().SetMinHeight(50);
    }
    m_RoundCorner = GetStyleInt(style, TkypStyleAttr::RoundCorner);
    m_RoundCornerBottom = 0;
}

// ---------------------------------------------------------------- queries

void TkypTitleBar::ProcessMaxBtn()
{
    for (int i = 0; i < m_Buttons->Count(); ++i) m_Buttons->Items(i)->UpdateMaxRestorePictures();
}

void TkypTitleBar::GetTitleImage(int index, TBitmap*& bmp)
{
    if (index == -1)
        bmp = m_Buf.get();
    else if (index == -2)
        bmp = m_Buf2.get();
    else if (m_Sections->Count() > 2)
        bmp = m_Sections->Items(index)->Picture()->Bitmap();
}

bool TkypTitleBar::CanPaint() const
{
    return m_Sections && (m_Sections->Count() == 3 || m_Sections->Count() == 5);
}

void TkypTitleBar::AddHelpBtn() { m_Buttons->Add()->SetButtonType(kypHelp); }

void TkypTitleBar::WatchMenu(TPopupMenu* menu)
{
    if (menu) menu->FreeNotification(this);
}

void TkypTitleBar::Notification(TComponent* component, TOperation operation)
{
    TCustomPanel::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == m_DefPopupMenu) m_DefPopupMenu = nullptr;
    TkypUIStyle fallback = DeepBlue;
    if (m_FileTheme.Removed(component, operation, fallback)) SetUIStyle(fallback);
    for (int i = 0; m_Buttons && i < m_Buttons->Count(); ++i)
        if (static_cast<TComponent*>(m_Buttons->Items(i)->ControlBoxMenu()) == component)
            m_Buttons->Items(i)->SetControlBoxMenu(nullptr);
}

void TkypTitleBar::MinimizeForm()
{
    bool allow = true;
    const TkypLifeToken::TWatch life = m_Life.Watch();
    if (OnMinClick) OnMinClick(this, allow);
    if (!life || !allow) return;
    TForm* form = Form();
    if (!form || !Application) return;
    if (Application->MainForm() == form)
        SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);  // the whole application, as the system does it
    else
        form->SetWindowState(TWindowState::wsMinimized);
}

// --------------------------------------------------------------- painting

void TkypTitleBar::Paint()
{
    if (!m_Sections || !m_Buttons) return;
    TBitmap& work = *m_Work;
    work.SetSize(Width(), Height());
    TCanvas& canvas = work.Canvas();
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(TRect(0, 0, Width(), Height()));
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    if (!SameFont(canvas.Font(), Font())) canvas.SetFont(Font());
    PaintSections(work);
    PaintButtons(work);
    if (Canvas().HandleAllocated())
        BitBlt(Canvas().Handle(), 0, 0, work.Width(), work.Height(), canvas.Handle(), 0, 0, SRCCOPY);
}

int TkypTitleBar::ButtonsWidth() const
{
    int width = 0;
    for (int i = 0; i < m_Buttons->Count(); ++i) width += m_Buttons->Items(i)->PicNormal()->Width() + m_ButtonInterval;
    return width;
}

void TkypTitleBar::PaintSections(TBitmap& bitmap)
{
    if (!Form()) return;
    const bool framed = IsInSkinFrame();
    TSectionsInput in;
    in.BarWidth = bitmap.Width();
    in.BarHeight = bitmap.Height();
    in.Insets = TitleInsets(framed, IsMDIFormBar(), framed ? BorderAnswer() : 0);
    in.LeftBtnXOffset = m_LeftBtnXOffset;
    in.ButtonsWidth = ButtonsWidth();
    in.Caption = Caption();
    for (int i = 0; i < m_Sections->Count(); ++i) {
        TkypTitleBarSection* section = m_Sections->Items(i);
        in.Sections.push_back(TTitleSectionSpec{section->Width(), section->Align(), section->CapSec(),
            section->Picture()->Width(), section->Picture()->Height()});
    }
    TCanvas& canvas = bitmap.Canvas();
    const TSectionsLayout layout = LayoutSections(in, [&canvas](const String& text) { return canvas.TextWidth(text); });
    // Both filled anew on every paint: a resize keeps the old pixels, the
    // pictures need not cover the title image, and where the frame made it
    // transparent the second one's fill shows through.
    FillSized(*m_Buf, layout.BufSize, m_FormColor);
    FillSized(*m_Buf2, layout.BufSize, m_FormColor);
    for (const TSectionPlacement& placement : layout.Placements) DrawSection(bitmap, placement);
    m_Buf2->Canvas().Draw(0, 0, m_Buf.get());
    m_DrawingCap = layout.DrawingCap;
    if (layout.CaptionDrawn && Frame() && !Frame()->IsMDIFrame()) Frame()->PaintFormBorder();
}

void TkypTitleBar::DrawSection(TBitmap& bitmap, const TSectionPlacement& placement)
{
    TBitmap* picture = m_Sections->Items(placement.Index)->Picture()->Bitmap();
    if (picture->Empty()) return;
    switch (placement.Draw) {
    case TSectionDraw::Stretch:
        if (placement.Work.IsEmpty()) return;
        bitmap.Canvas().StretchDraw(placement.Work, picture);
        m_Buf->Canvas().StretchDraw(placement.Buf, picture);
        break;
    case TSectionDraw::Plain:
        bitmap.Canvas().Draw(placement.Work.Left, placement.Work.Top, picture);
        m_Buf->Canvas().Draw(placement.Buf.Left, placement.Buf.Top, picture);
        break;
    case TSectionDraw::RightSide: {
        bitmap.Canvas().Draw(placement.Work.Left, placement.Work.Top, RightPiece(picture));
        m_Buf->Canvas().Draw(placement.Buf.Left, placement.Buf.Top, picture);
        break;
    }
    }
}

// On the bar the skin's transparent colour shows the form colour. Made
// again only when the picture's pixels or a colour changed: a section's
// picture may be drawn on in place, keeping its handle.
TBitmap* TkypTitleBar::RightPiece(TBitmap* picture)
{
    const TRightPieceKey key{picture->Width(), picture->Height(), m_TransColor, m_FormColor};
    const uint32_t* source = picture->Bits();
    const size_t count = static_cast<size_t>(key.width) * key.height;
    if (key == m_RightPieceKey && std::equal(source, source + count, m_RightPieceSource.begin()))
        return m_RightPiece.get();
    m_RightPieceSource.assign(source, source + count);
    m_RightPiece->Assign(picture);
    const uint32_t from = PixelOf(m_TransColor), to = PixelOf(m_FormColor);
    uint32_t* pixels = m_RightPiece->Bits();
    std::replace(pixels, pixels + static_cast<size_t>(m_RightPiece->Width()) * m_RightPiece->Height(), from, to);
    m_RightPieceKey = key;
    return m_RightPiece.get();
}

TPoint TkypTitleBar::CursorInBar()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    return ScreenToClient(TPoint(cursor.x, cursor.y));
}

void TkypTitleBar::PaintButtons(TBitmap& bitmap)
{
    if (!Form()) return;
    TButtonsInput in;
    in.BarWidth = bitmap.Width();
    in.BorderAnswer = BorderAnswer();
    in.LeftBtnXOffset = m_LeftBtnXOffset;
    in.RightBtnXOffset = m_RightBtnXOffset;
    in.ButtonInterval = m_ButtonInterval;
    in.BtnTop = m_BtnTop;
    in.IconTop = m_IconTop;
    in.DrawAppIcon = m_DrawAppIcon;
    in.Cursor = CursorInBar();
    in.MouseDown = m_MouseDown;
    for (int i = 0; i < m_Buttons->Count(); ++i) {
        TkypTitleBarButton* button = m_Buttons->Items(i);
        const bool complete =
            button->PicNormal()->Graphic() && button->PicMouseOn()->Graphic() && button->PicMouseDown()->Graphic();
        in.Buttons.push_back(TTitleButtonSpec{button->ButtonType(), button->Visible(), complete,
            button->PicNormal()->Width(), button->PicNormal()->Height()});
    }
    const TButtonsLayout layout = LayoutButtons(in);
    m_InButtons = layout.InButtons;
    for (const TButtonPlacement& placement : layout.Buttons)
        DrawButtonFace(bitmap, *m_Buttons->Items(placement.Index), placement.Face, placement.Rect);
    if (layout.IconIndex >= 0) {
        if (layout.AppIcon)
            DrawIcon(bitmap, layout.IconRect);
        else
            DrawButtonFace(bitmap, *m_Buttons->Items(layout.IconIndex), layout.IconFace, layout.IconRect);
    }
    DrawCaption(bitmap, layout);
}

void TkypTitleBar::DrawButtonFace(TBitmap& bitmap, TkypTitleBarButton& button, TButtonFace face, const TRect& rect)
{
    button.PicNormal()->Bitmap()->SetTransparent(false);
    TPicture* picture = face == TButtonFace::Down  ? button.PicMouseDown()
                        : face == TButtonFace::Hot ? button.PicMouseOn()
                                                   : button.PicNormal();
    if (!button.Transparent()) {
        // An opaque face needs no see-through copy.
        bitmap.Canvas().Draw(rect.Left, rect.Top, picture->Bitmap());
        return;
    }
    TBitmap& t = *m_Face;
    t.SetSize(rect.Width(), rect.Height());
    if (m_UIStyle == FromThemeFile) {
        t.SetPixelFormat(TPixelFormat::pf24bit);
        if (t.TransparentMode() != TTransparentMode::tmFixed || t.TransparentColor() != m_TransColor)
            t.SetTransparentColor(m_TransColor);
    } else {
        t.SetTransparentMode(TTransparentMode::tmAuto);
    }
    t.SetTransparent(true);
    t.Canvas().Draw(0, 0, picture->Bitmap());
    bitmap.Canvas().Draw(rect.Left, rect.Top, &t);
}

HICON TkypTitleBar::SmallAppIcon()
{
    HICON source = Application ? Application->Icon().Handle() : nullptr;
    if (m_SmallIcon.icon && source == m_SmallIconSource) return m_SmallIcon.icon;
    m_SmallIconSource = source;
    if (source)
        m_SmallIcon.Reset(static_cast<HICON>(CopyImage(source, IMAGE_ICON, kIconSize, kIconSize, LR_COPYFROMRESOURCE)));
    else
        m_SmallIcon.Reset(static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, kIconSize, kIconSize, LR_DEFAULTCOLOR)));
    return m_SmallIcon.icon;
}

void TkypTitleBar::DrawIcon(TBitmap& bitmap, const TRect& rect)
{
    if (HICON icon = SmallAppIcon())
        DrawIconEx(bitmap.Canvas().Handle(), rect.Left, rect.Top, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
}

void TkypTitleBar::DrawCaption(TBitmap& bitmap, const TButtonsLayout& layout)
{
    TCanvas& canvas = bitmap.Canvas();
    // As written: the inactive caption's background colour, not its text colour.
    const TColor colour = m_Active ? Font().Color() : m_InactiveCaptionColor;
    if (canvas.Font().Color() != colour) canvas.Font().SetColor(colour);
    auto width = [&canvas](const String& text) { return canvas.TextWidth(text); };
    const String text = CaptionText(m_DrawingCap, Caption(), layout.ButtonsLeft - layout.CaptionLeft, width);
    TkypUIStyle resolved = m_UIStyle;
    TCaptionInput in;
    in.Themed = UsesThemeFile(FileTheme(), m_UIStyle, resolved);
    in.CapTop = m_CapTop;
    in.BtnTop = m_BtnTop;
    in.Protein = m_UIStyle == Protein;
    in.RightToLeft = BiDiMode() == TBiDiMode::bdRightToLeft && SysLocale.MiddleEast;
    in.Left = layout.CaptionLeft;
    in.Right = layout.ButtonsLeft;
    in.TextWidth = width(text);
    const TPoint at = CaptionPosition(in);
    canvas.TextOut(at.X, at.Y, text);
}

// ------------------------------------------------------------------ mouse

void TkypTitleBar::MouseMove(TShiftState shift, int x, int y)
{
    TCustomPanel::MouseMove(shift, x, y);
    Repaint();
}

void TkypTitleBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    // OnMouseDown and the system's move loop may free the bar.
    const TkypLifeToken::TWatch life = m_Life.Watch();
    TCustomPanel::MouseDown(button, shift, x, y);
    if (!life || button != TMouseButton::mbLeft) return;
    m_MouseDown = true;
    Repaint();
    TForm* form = Form();
    if (!form) return;
    if ((m_InButtons == -1 && form->WindowState() != TWindowState::wsMaximized) || HasState(csDesigning)) {
        // The system moves the form with the mouse until the release.
        ReleaseCapture();
        SendMessageW(form->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
        if (life) m_MouseDown = false;
    }
}

void TkypTitleBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    // OnMouseUp and the button's click may free the bar.
    const TkypLifeToken::TWatch life = m_Life.Watch();
    TCustomPanel::MouseUp(button, shift, x, y);
    if (!life || button != TMouseButton::mbLeft) return;
    // A double click on the icon closes the form before this release,
    // which must not open the system menu of a form that is gone.
    if (m_InButtons != -1 && HandleAllocated() && IsWindowVisible(Handle())) ButtonReleased();
    if (!life) return;
    m_MouseDown = false;
    Repaint();
}

void TkypTitleBar::ButtonReleased()
{
    const int index = m_InButtons;
    TkypTitleBarButton* button = m_Buttons->Items(index);
    if (button->ButtonType() == kypControlBox && !button->ControlBoxMenu()) {
        if (!m_DefPopupMenu) return;
        const TPoint at = ClientToScreen(TPoint(0, Height()));
        m_DefPopupMenu->Popup(at.X, at.Y);
        return;
    }
    const TkypTitleBarBtnType type = button->ButtonType();
    const TkypLifeToken::TWatch life = m_Life.Watch();
    button->DoClick();
    if (!life) return;
    if (OnCustomBtnsClick && type == kypCustom)
        OnCustomBtnsClick(this, index);
    else if (OnHelpBtnClick && type == kypHelp)
        OnHelpBtnClick(this, index);
}

void TkypTitleBar::DblClick()
{
    const TkypLifeToken::TWatch life = m_Life.Watch();
    TCustomPanel::DblClick();  // OnDblClick may free the bar
    if (!life || HasState(csDesigning) || !m_Buttons) return;
    if (m_InButtons == -1) {
        for (int i = 0; i < m_Buttons->Count(); ++i) {
            TkypTitleBarButton* button = m_Buttons->Items(i);
            if (button->ButtonType() == kypMax && button->Visible()) {
                button->DoClick();
                return;
            }
        }
        return;
    }
    if (m_Buttons->Items(m_InButtons)->ButtonType() == kypControlBox)
        if (TForm* form = Form()) form->Close();
}

// Without a form there is nothing to hand them to: the system's own handling.
void TkypTitleBar::ForwardToForm(TMessage& message)
{
    if (TForm* form = Form())
        message.Result = SendMessageW(form->Handle(), message.Msg, message.WParam, message.LParam);
    else
        DefaultHandler(message);
}

void TkypTitleBar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND: message.Result = 1; break;  // Paint covers every pixel
    case CM_TEXTCHANGED: Repaint(); break;
    case CM_MOUSELEAVE:
        TCustomPanel::WndProc(message);
        Repaint();
        break;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP: ForwardToForm(message); break;
    default: TCustomPanel::WndProc(message); break;
    }
}

// ------------------------------------------------------------- properties

namespace {
const bool titleBarPropertiesRegistered = RegisterProperties<TkypTitleBar, TControl>({
    OrdinalProperty<TkypTitleBar>(L"Custom", &TkypTitleBar::Custom, &TkypTitleBar::SetCustom),
    ObjectProperty<TkypTitleBar, TkypFileTheme>(L"FileTheme", &TkypTitleBar::FileTheme, &TkypTitleBar::SetFileTheme),
    OrdinalProperty<TkypTitleBar>(L"UIStyle", &TkypTitleBar::UIStyle, &TkypTitleBar::SetUIStyle),
    OrdinalProperty<TkypTitleBar>(L"AutoSize", &TkypTitleBar::AutoSize, &TkypTitleBar::SetAutoSize),
    ObjectProperty<TkypTitleBar, TkypTitleBarSections>(L"Sections", &TkypTitleBar::Sections, &TkypTitleBar::SetSections),
    ObjectProperty<TkypTitleBar, TkypTitleBarButtons>(L"Buttons", &TkypTitleBar::Buttons, &TkypTitleBar::SetButtons),
    OrdinalProperty<TkypTitleBar>(L"ButtonInterval", &TkypTitleBar::ButtonInterval, &TkypTitleBar::SetButtonInterval),
    OrdinalProperty<TkypTitleBar>(L"FormActive", &TkypTitleBar::FormActive, &TkypTitleBar::SetFormActive),
    OrdinalProperty<TkypTitleBar>(L"LeftBtnXOffset", &TkypTitleBar::LeftBtnXOffset, &TkypTitleBar::SetLeftBtnXOffset),
    OrdinalProperty<TkypTitleBar>(L"RightBtnXOffset", &TkypTitleBar::RightBtnXOffset, &TkypTitleBar::SetRightBtnXOffset),
    OrdinalProperty<TkypTitleBar>(L"DrawAppIcon", &TkypTitleBar::DrawAppIcon, &TkypTitleBar::SetDrawAppIcon),
    OrdinalProperty<TkypTitleBar>(L"RoundCorner", &TkypTitleBar::RoundCorner, &TkypTitleBar::SetRoundCorner),
    OrdinalProperty<TkypTitleBar>(L"RoundCornerBottom", &TkypTitleBar::RoundCornerBottom, &TkypTitleBar::SetRoundCornerBottom),
    OrdinalProperty<TkypTitleBar>(L"InactiveCaptionColor", &TkypTitleBar::InactiveCaptionColor, &TkypTitleBar::SetInactiveCaptionColor),
});
}  // namespace
