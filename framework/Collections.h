// Collections: an ordered list of items of one class that a component
// publishes as one property (a title bar's sections or buttons). The
// collection owns its items; an item joins its collection when it is made
// and leaves it when it is freed. Every change ends in the virtual Update,
// with the item that changed, or null when the whole collection did.
//
//   class TSections : public TCollection {
//   public:
//       TSections() : TCollection(CollectionItemClass<TSection>()) {}
//       TSection* Add() { return static_cast<TSection*>(TCollection::Add()); }
//   };
#pragma once

#include <type_traits>
#include <vector>

#include "Classes.h"

class TCollection;

class TCollectionItem : public TPersistent {
public:
    // Joins Collection (when not null) as its last item.
    explicit TCollectionItem(TCollection* collection);
    // Leaves the collection.
    ~TCollectionItem() override;
    void AfterConstruction() override;

    TCollection* Collection() const { return collection_; }
    // The position in the collection; -1 without one.
    int Index() const;
    // Moves the item; the index is clamped to the collection.
    void SetIndex(int index);
    // The collection.
    TPersistent* GetOwner() const override;

protected:
    // Tells the collection; AllItems reports the whole collection changed.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;  // not owned: the collection owns this item
};

using TCollectionItemClass = TCollectionItem* (*)(TCollection* collection);

template <class T>
TCollectionItemClass CollectionItemClass()
{
    static_assert(std::is_base_of_v<TCollectionItem, T>);
    return [](TCollection* collection) -> TCollectionItem* { return New<T>(collection); };
}

class TCollection : public TPersistent {
public:
    explicit TCollection(TCollectionItemClass itemClass);
    // Frees the items without calling Update.
    ~TCollection() override;
    void BeforeDestruction() override;

    int Count() const { return static_cast<int>(items_.size()); }
    // EListError (an Exception) for an index outside the list.
    TCollectionItem* Items(int index) const;
    // A new item of the collection's item class, at the end.
    TCollectionItem* Add();
    // Frees the item at Index.
    void Delete(int index);
    void Clear();

    // Changes between these two end in one Update(nullptr); pairs nest.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Replaces the items with copies of a collection's items (each item's
    // Assign); anything else goes to TPersistent::Assign.
    void Assign(TPersistent* source) override;

protected:
    // Told of every change: Item is the changed item, or null when items
    // came, went or moved. Not called while updates are held or while the
    // collection is being destroyed.
    virtual void Update(TCollectionItem* item) { (void)item; }
    void Changed();

private:
    friend class TCollectionItem;
    template <class Body>
    void HoldingUpdates(Body body);
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    void MoveItem(TCollectionItem* item, int index);
    int IndexOf(const TCollectionItem* item) const;

    TCollectionItemClass itemClass_;
    std::vector<TCollectionItem*> items_;  // owned
    int updateCount_ = 0;
    bool destroying_ = false;
};

class EListError : public Exception {
    using Exception::Exception;
};
