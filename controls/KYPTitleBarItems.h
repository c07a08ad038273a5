// The title bar's two collections: the background sections it lays side by
// side, and the caption buttons with their three pictures each. The
// pictures of the standard buttons are pieces of one 18-piece strip of the
// style or the skin file.
#pragma once

#include "Bitmap.h"
#include "Collections.h"
#include "KYPStyle.h"
#include "KYPTitleBarLayout.h"

class TkypTitleBar;
class TPopupMenu;

class TkypTitleBarSection : public TCollectionItem {
public:
    explicit TkypTitleBarSection(TCollection* collection);

    int Width() const { return m_Width; }
    void SetWidth(int width);
    TkypTitleBarAlign Align() const { return m_Align; }
    // A second client section is refused with a message; nothing changes.
    void SetAlign(TkypTitleBarAlign align);
    TPicture* Picture() const { return m_Picture.get(); }
    // Null keeps the width.
    void SetPicture(TPersistent* picture);
    bool Stretch() const { return m_Stretch; }
    void SetStretch(bool stretch);
    bool AutoSize() const { return m_AutoSize; }
    void SetAutoSize(bool autoSize);
    bool CapSec() const { return m_CapSec; }
    void SetCapSec(bool capSec);

    // Everything but CapSec, which stays this section's own.
    void Assign(TPersistent* source) override;

private:
    void Repaint();

    int m_Width = 10;
    TkypTitleBarAlign m_Align = kypLeft;
    TOwned<TPicture> m_Picture;
    bool m_Stretch = false;
    bool m_AutoSize = false;
    bool m_CapSec = false;
};

class TkypTitleBarButton : public TCollectionItem {
public:
    explicit TkypTitleBarButton(TCollection* collection);
    void AfterConstruction() override;

    bool Visible() const { return m_Visible; }
    void SetVisible(bool visible);
    TkypTitleBarBtnType ButtonType() const { return m_ButtonType; }
    // A second control box is refused with a message; nothing changes.
    void SetButtonType(TkypTitleBarBtnType type);
    bool Transparent() const { return m_Transparent; }
    void SetTransparent(bool transparent);
    // Stored and copied; the bar places every button at its own button top.
    int Top() const { return m_Top; }
    void SetTop(int top);
    TkypUIStyle UIStyle() const { return m_UIStyle; }
    // Reloads the pictures of a standard button.
    void SetUIStyle(TkypUIStyle style);
    TPicture* PicNormal() const { return m_PicNormal.get(); }
    void SetPicNormal(TPersistent* picture);
    TPicture* PicMouseOn() const { return m_PicMouseOn.get(); }
    void SetPicMouseOn(TPersistent* picture);
    TPicture* PicMouseDown() const { return m_PicMouseDown.get(); }
    void SetPicMouseDown(TPersistent* picture);
    // Not owned; the title bar drops it when the menu is freed.
    TPopupMenu* ControlBoxMenu() const { return m_ControlBoxMenu; }
    void SetControlBoxMenu(TPopupMenu* menu);

    // Minimise, maximise or restore, close, or the control box's menu.
    void DoClick();
    // The style's (or skin file's) transparency, top and pictures.
    void UpdatePictures();
    // The maximise or the restore glyph, as the form stands.
    void UpdateMaxRestorePictures();

    void Assign(TPersistent* source) override;

private:
    TkypTitleBar* Bar() const;
    void Repaint();
    // Pieces First .. First + 2 of the strip into the three pictures.
    void LoadPieces(int first, bool themed);
    void DoMaxClick(class TForm* form);
    void PopupControlBoxMenu();

    bool m_Visible = true;
    TkypTitleBarBtnType m_ButtonType = kypCustom;
    bool m_Transparent = false;
    int m_Top = 2;
    TkypUIStyle m_UIStyle = DeepBlue;
    TOwned<TPicture> m_PicNormal;
    TOwned<TPicture> m_PicMouseOn;
    TOwned<TPicture> m_PicMouseDown;
    TPopupMenu* m_ControlBoxMenu = nullptr;  // not owned
};

// A collection of the title bar that created it; the bar repaints after
// every change, until the collection is on its way out.
template <class Item>
class TkypTitleBarCollection : public TCollection {
public:
    explicit TkypTitleBarCollection(TkypTitleBar* titleBar)
        : TCollection(CollectionItemClass<Item>()), m_TitleBar(titleBar)
    {
    }
    // The items go after this: their setters must not reach a bar being freed.
    ~TkypTitleBarCollection() override { m_TitleBar = nullptr; }

    Item* Add() { return static_cast<Item*>(TCollection::Add()); }
    Item* Items(int index) const { return static_cast<Item*>(TCollection::Items(index)); }
    // Null once the collection is on its way out.
    TkypTitleBar* TitleBar() const { return m_TitleBar; }
    TPersistent* GetOwner() const override;

protected:
    void Update(TCollectionItem* item) override;

private:
    TkypTitleBar* m_TitleBar;  // not owned
};

class TkypTitleBarSections : public TkypTitleBarCollection<TkypTitleBarSection> {
public:
    using TkypTitleBarCollection::TkypTitleBarCollection;
};

class TkypTitleBarButtons : public TkypTitleBarCollection<TkypTitleBarButton> {
public:
    using TkypTitleBarCollection::TkypTitleBarCollection;
};

// The first piece of a standard button's three in the 18-piece strip; 0
// for a custom button.
int TitleButtonFirstPiece(TkypTitleBarBtnType type, bool maximized);
