#include "KYPMenuBarPaint.h"

#include "Bitmap.h"
#include "KYPMainMenu.h"
#include "KYPMenu.h"
#include "KYPPublic.h"
#include "KYPThemes.h"

namespace {

constexpr TColor kDisabledText = 0x808080;
// No DT_NOPREFIX: an ampersand underlines the accelerator.
constexpr UINT kCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

TOwned<TBitmap> LoadPicture(const wchar_t* name)
{
    TOwned<TBitmap> bitmap = MakeOwned<TBitmap>();
    bitmap->LoadFromResourceName(GetModuleHandleW(nullptr), name);
    return bitmap;
}

void DrawCaption(TCanvas& canvas, TRect rect, const String& caption, TColor color)
{
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetColor(color);
    canvas.TextRect(rect, caption, kCaptionFormat);
}

void DrawMacHotButton(TCanvas& canvas, const TToolButton& button, const TkypMainMenu* fontMenu)
{
    const int width = button.Width(), height = button.Height();
    TOwned<TBitmap> face = MakeOwned<TBitmap>();
    face->SetSize(width, height);
    TOwned<TBitmap> selection = LoadPicture(L"MACOS_MENU_SELECT");
    face->Canvas().StretchDraw(TRect(0, 0, width, height), selection.get());
    TFont& font = face->Canvas().Font();
    if (fontMenu) {
        font.SetName(fontMenu->FontName());
        font.SetSize(fontMenu->FontSize());
        font.SetCharset(fontMenu->FontCharset());
    } else {
        font.SetName(canvas.Font().Name());
        font.SetSize(canvas.Font().Size());
        font.SetCharset(canvas.Font().Charset());
    }
    DrawCaption(face->Canvas(), TRect(0, 0, width, height + 2), button.Caption(),
        GetStyleColor(MacOS, TkypStyleAttr::SelectedMenuFont));
    canvas.Draw(button.Left(), button.Top(), face.get());
}

void DrawHotButton(TCanvas& canvas, const TToolButton& button, const TkypMenuBarLook& look)
{
    TColor fill, frame, text;
    TkypUIStyle resolved = look.Style;
    if (UsesThemeFile(look.Theme, look.Style, resolved)) {
        fill = look.Theme->GetColor(SKIN2_TOPSELECTEDMENUCOLOR);
        frame = look.Theme->GetColor(SKIN2_TOPSELECTEDMENUBORDERCOLOR);
        text = look.Theme->GetColor(SKIN2_TOPSELECTEDMENUFONTCOLOR);
    } else {
        fill = GetStyleColor(resolved, TkypStyleAttr::SelectedMenuFill);
        frame = GetStyleColor(resolved, TkypStyleAttr::SelectedMenuBorder);
        text = GetStyleColor(resolved, TkypStyleAttr::SelectedMenuFont);
    }
    const TRect bounds = button.BoundsRect();
    FillMenuRect(canvas, bounds, fill);
    FrameMenuRect(canvas, bounds, frame);
    DrawCaption(canvas, TRect(bounds.Left, bounds.Top + 2, bounds.Right, bounds.Bottom), button.Caption(), text);
}

void DrawNormalButton(TCanvas& canvas, const TToolButton& button, const TkypMenuBarLook& look)
{
    TColor text = kDisabledText;
    if (button.Enabled()) {
        TkypUIStyle resolved = look.Style;
        text = UsesThemeFile(look.Theme, look.Style, resolved) ? look.Theme->GetColor(SKIN2_TOPMENUFONTCOLOR)
                                                               : GetStyleColor(resolved, TkypStyleAttr::MenuItemFont);
    }
    const TRect bounds = button.BoundsRect();
    DrawCaption(canvas, TRect(bounds.Left, bounds.Top + 2, bounds.Right, bounds.Bottom), button.Caption(), text);
}

}  // namespace

bool TakeMenuFont(TFont& font, const TMainMenu* menu, TkypMenuFontPart part)
{
    auto* skinned = dynamic_cast<const TkypMainMenu*>(menu);
    if (!skinned) return false;
    if (skinned->UseSystemFont()) {
        SetSystemMenuFont(font);
        return false;
    }
    const bool whole = part == TkypMenuFontPart::Whole;
    if (whole) font.SetName(skinned->FontName());
    font.SetSize(skinned->FontSize());
    if (whole) font.SetCharset(skinned->FontCharset());
    return true;
}

void DrawMenuBarBackground(TCanvas& canvas, const TRect& rect, TkypUIStyle style, TColor color, TColor toColor)
{
    if (style == MacOS) {
        TOwned<TBitmap> picture = LoadPicture(L"MACOS_MENU_BAR");
        canvas.StretchDraw(rect, picture.get());
    } else if (toColor != color) {
        DrawVerticalGradient(canvas, rect, color, toColor);
    }
}

void DrawMenuBarButton(TCanvas& canvas, TToolButton& button, TCustomDrawState state, const TkypMenuBarLook& look)
{
    button.SetTag(0);
    const bool menuFont = TakeMenuFont(canvas.Font(), look.FontMenu, TkypMenuFontPart::Whole);
    if (!(state & (cdsHot | cdsSelected))) {
        DrawNormalButton(canvas, button, look);
        return;
    }
    button.SetTag(kMenuBarActiveTag);
    if (look.Style == MacOS)
        DrawMacHotButton(canvas, button, menuFont ? look.FontMenu : nullptr);
    else
        DrawHotButton(canvas, button, look);
}
