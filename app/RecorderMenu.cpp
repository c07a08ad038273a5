#include "RecorderMenu.h"

namespace {

void SetRecorderMenuLook(TkypPopupMenu& m)
{
    m.SetOwnerDraw(true);
    m.SetUIStyle(DeepBlue);
    m.SetMenuItemHeight(21);
    m.SetSeparatorHeight(5);
    m.SetBarWidth(26);
    m.SetBarColor(13554646);
    m.SetBarToColor(13554646);
    m.SetColor(clWhite);
    m.SetSeparatorColor(8684164);
    m.SetSelectedBorderColor(10504772);
    m.SetSelectedColor(10504772);
    m.SetSelectedFontColor(clWhite);
    m.SetFontColor(clBlack);
    m.SetBorderColor(clBlack);
    m.SetFlatMenu(false);
    m.SetFontName(L"MS Sans Serif");
    m.SetFontSize(8);
    m.SetFontCharset(DEFAULT_CHARSET);
    m.SetUseSystemFont(true);
}

}  // namespace

TkypPopupMenu* LoadRecorderMenu(TFormLoader& load, const std::function<void(TMenuItem&)>& bind)
{
    TkypPopupMenu* menu = load.Add<TkypPopupMenu>(L"sPM_menu", nullptr, SetRecorderMenuLook);
    for (const TRecorderMenuItem& entry : kRecorderMenuItems) {
        load.Add<TMenuItem>(entry.name, nullptr, [menu, entry, &bind](TMenuItem& item) {
            item.SetCaption(entry.caption);
            menu->Items()->Add(&item);
            if (bind) bind(item);
        });
    }
    return menu;
}
