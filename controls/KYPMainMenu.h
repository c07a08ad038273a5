// TkypMainMenu: a form's main menu drawn and measured as the skinned popup
// menu draws its items. A skinned form frame shows its top items as a menu
// bar of its own (KYPMenuBar.h), never as the window's native menu bar.
#pragma once

#include "KYPSkinnedMenu.h"

class TImageList;

// The frame whose menu bar shows a main menu, as the menu sees it. The
// frame side links itself (SetMenuFrame) and unlinks before it goes.
class IkypMenuFrame {
public:
    // Rebuild the bar's buttons from the menu.
    virtual void UpdateMenu() = 0;
    // Copy the top items' captions and enabled states to the buttons.
    virtual void UpdateTopMenu() = 0;
    // Take the menu's font again and repaint the bar.
    virtual void RepaintMenuBar() = 0;

protected:
    ~IkypMenuFrame() = default;
};

class TkypMainMenu : public TkypSkinnedMenu<TMainMenu> {
public:
    explicit TkypMainMenu(TComponent* owner);
    ~TkypMainMenu() override;
    // A form that owns this menu stops showing any native menu bar.
    void AfterConstruction() override;

    // Null while the menu draws with its own list (which holds only the
    // check mark); null puts the own list back.
    TImageList* Images() const;
    void SetImages(TImageList* images);

    // Kept in every style, MacOS included.
    void SetMenuItemHeight(int height) override;
    void SetUseSystemFont(bool use) override;

    IkypMenuFrame* MenuFrame() const { return m_Frame; }
    void SetMenuFrame(IkypMenuFrame* frame) { m_Frame = frame; }

    void MenuChanged(TMenuItem* source, bool rebuild) override;

protected:
    TkypMenuImages ItemImages() override { return TkypMenuImages{*m_Images, Images()}; }
    void ItemsHooked() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TOwned<TImageList> m_Images;  // the check mark
    IkypMenuFrame* m_Frame = nullptr;  // not owned
};
