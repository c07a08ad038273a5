// Menu trees built in a test.
#pragma once

#include "Menus.h"

// A new item with Caption at the end of Parent's sub-items, freed with
// Parent. Give the menu's owner as Owner where the menu must see the item
// made (a skinned menu hooks the items its owner makes at run time).
inline TMenuItem* AddItem(TMenuItem* parent, const String& caption, TComponent* owner = nullptr)
{
    TMenuItem* item = New<TMenuItem>(owner);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
}
