#include "Collections.h"

#include <algorithm>

// ---------------------------------------------------------- TCollectionItem

TCollectionItem::TCollectionItem(TCollection* collection)
{
    if (collection) collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem()
{
    if (collection_) collection_->RemoveItem(this);
}

// The collection hears of the new item only once the item is complete.
void TCollectionItem::AfterConstruction()
{
    TPersistent::AfterConstruction();
    if (collection_) collection_->Changed();
}

int TCollectionItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

void TCollectionItem::SetIndex(int index)
{
    if (collection_) collection_->MoveItem(this, index);
}

TPersistent* TCollectionItem::GetOwner() const { return collection_; }

void TCollectionItem::Changed(bool allItems)
{
    if (!collection_) return;
    if (allItems)
        collection_->Changed();
    else if (collection_->updateCount_ == 0 && !collection_->destroying_)
        collection_->Update(this);
}

// -------------------------------------------------------------- TCollection

TCollection::TCollection(TCollectionItemClass itemClass) : itemClass_(itemClass) {}

TCollection::~TCollection()
{
    destroying_ = true;
    while (!items_.empty()) FreeObject(items_.back());
}

// A failure drops the hold without the final Update.
template <class Body>
void TCollection::HoldingUpdates(Body body)
{
    BeginUpdate();
    try {
        body();
    } catch (...) {
        --updateCount_;
        throw;
    }
    EndUpdate();
}

void TCollection::BeforeDestruction()
{
    destroying_ = true;
    TPersistent::BeforeDestruction();
}

TCollectionItem* TCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
    return items_[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() { return itemClass_(this); }

void TCollection::Delete(int index) { FreeObject(Items(index)); }

void TCollection::Clear()
{
    if (items_.empty()) return;
    HoldingUpdates([this] {
        while (!items_.empty()) FreeObject(items_.back());
    });
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate()
{
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0) Changed();
}

void TCollection::Changed()
{
    if (updateCount_ == 0 && !destroying_) Update(nullptr);
}

void TCollection::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TCollection*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this) return;
    HoldingUpdates([this, other] {
        Clear();
        for (TCollectionItem* item : other->items_) Add()->Assign(item);
    });
}

void TCollection::InsertItem(TCollectionItem* item)
{
    items_.push_back(item);
    item->collection_ = this;
}

void TCollection::RemoveItem(TCollectionItem* item)
{
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->collection_ = nullptr;
    Changed();
}

void TCollection::MoveItem(TCollectionItem* item, int index)
{
    const int from = IndexOf(item);
    index = std::clamp(index, 0, Count() - 1);
    if (from < 0 || from == index) return;
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + index, item);
    Changed();
}

int TCollection::IndexOf(const TCollectionItem* item) const
{
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}
