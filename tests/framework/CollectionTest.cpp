// Collections: items joining and leaving, the Update notices, copying, and
// a collection published as a property.
#include <gtest/gtest.h>

#include <vector>

#include "Collections.h"
#include "TypInfo.h"

namespace {

class Section : public TCollectionItem {
public:
    explicit Section(TCollection* collection) : TCollectionItem(collection) { width = 10; }
    int width = 0;
    void SetWidth(int value)
    {
        width = value;
        Changed(false);
    }
    void Assign(TPersistent* source) override
    {
        if (auto* other = dynamic_cast<Section*>(source))
            width = other->width;
        else
            TCollectionItem::Assign(source);
    }
};

// Logs each Update with the width of the changed item (-1: all items),
// as a title bar repaints with what it finds.
class Sections : public TCollection {
public:
    Sections() : TCollection(CollectionItemClass<Section>()) {}
    explicit Sections(std::vector<int>& log) : Sections() { updates_ = &log; }
    ~Sections() override { Clear(); }
    Section* Add() { return static_cast<Section*>(TCollection::Add()); }
    Section* At(int index) const { return static_cast<Section*>(Items(index)); }
    std::vector<int> updates;

protected:
    void Update(TCollectionItem* item) override
    {
        updates_->push_back(item ? static_cast<Section*>(item)->width : -1);
        for (int i = 0; !item && i < Count(); ++i) EXPECT_NE(At(i)->width, 0) << "an item not yet complete";
    }

private:
    std::vector<int>* updates_ = &updates;
};

}  // namespace

TEST(Collection, ItemsJoinLeaveAndMoveWithOneUpdateEach)
{
    auto sections = MakeOwned<Sections>();
    Section* first = sections->Add();
    Section* second = sections->Add();
    EXPECT_EQ(sections->updates, (std::vector<int>{-1, -1}));
    EXPECT_EQ(second->Index(), 1);
    EXPECT_EQ(second->Collection(), sections.get());
    EXPECT_EQ(second->GetOwner(), sections.get());

    second->SetWidth(30);
    second->SetIndex(0);
    EXPECT_EQ(sections->At(0), second);
    EXPECT_EQ(first->Index(), 1);
    sections->Delete(0);
    EXPECT_EQ(sections->Count(), 1);
    EXPECT_EQ(first->Index(), 0);
    EXPECT_EQ(sections->updates, (std::vector<int>{-1, -1, 30, -1, -1}));
    EXPECT_THROW(sections->Items(1), EListError);
    EXPECT_THROW(sections->Items(-1), EListError);
}

TEST(Collection, HeldUpdatesEndInOneAndDestructionInNone)
{
    std::vector<int> updates;
    auto* sections = New<Sections>(updates);
    sections->BeginUpdate();
    sections->BeginUpdate();
    sections->Add()->SetWidth(5);
    sections->Add();
    sections->EndUpdate();
    EXPECT_TRUE(updates.empty());
    sections->EndUpdate();
    sections->Clear();
    EXPECT_EQ(updates, (std::vector<int>{-1, -1}));

    sections->Add();
    updates.clear();
    FreeObject(sections);  // its destructor clears: no Update on the way out
    EXPECT_TRUE(updates.empty());
}

TEST(Collection, AssignCopiesEveryItemWithOneUpdate)
{
    Sections source;
    source.Add()->SetWidth(7);
    source.Add()->SetWidth(9);
    Sections target;
    target.Add();
    target.updates.clear();

    target.Assign(&source);
    ASSERT_EQ(target.Count(), 2);
    EXPECT_EQ(target.At(0)->width, 7);
    EXPECT_EQ(target.At(1)->width, 9);
    EXPECT_EQ(target.updates, std::vector<int>{-1});
    EXPECT_THROW(target.Assign(nullptr), EConvertError);
    EXPECT_THROW(target.At(0)->Assign(&source), EConvertError);
}

TEST(Collection, PublishedCollectionIsSetByCopy)
{
    class Bar : public TComponent {
    public:
        using TComponent::TComponent;
        Sections sections;
    };
    static const bool registered = RegisterProperties<Bar, TComponent>({ObjectProperty<Bar, TCollection>(
        L"Sections", [](Bar* bar) { return &bar->sections; },
        [](Bar* bar, TCollection* value) { bar->sections.Assign(value); })});
    (void)registered;
    auto bar = MakeOwned<Bar>(nullptr);
    Sections given;
    given.Add()->SetWidth(12);

    SetObjectProp(bar.get(), L"sections", &given);
    EXPECT_EQ(bar->sections.Count(), 1);
    EXPECT_EQ(bar->sections.At(0)->width, 12);
    EXPECT_EQ(GetObjectProp(bar.get(), L"Sections"), &bar->sections);
}
