// Ownership and removal notices between components.
#include <gtest/gtest.h>

#include <algorithm>

#include "Classes.h"

namespace {

// Remembers every component it heard was removed, and holds one reference
// that it drops when that component goes.
class Watcher : public TComponent {
public:
    using TComponent::TComponent;
    TComponent* watched = nullptr;
    std::vector<TComponent*> removed;
    int* destroyedCount = nullptr;

    ~Watcher() override
    {
        if (destroyedCount) ++*destroyedCount;
    }
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation != TOperation::opRemove) return;
        removed.push_back(component);
        if (component == watched) watched = nullptr;
    }
};

class Constructed : public TComponent {
public:
    using TComponent::TComponent;
    virtual String Kind() const { return L"base"; }
    void AfterConstruction() override { kindSeen = Kind(); }
    String kindSeen;
};

class DerivedConstructed : public Constructed {
public:
    using Constructed::Constructed;
    String Kind() const override { return L"derived"; }
};

}  // namespace

TEST(Component, OwnerFreesWhatItOwnsAndSiblingsHearOfEachRemoval)
{
    int destroyed = 0;
    auto* form = New<Watcher>(nullptr);
    auto* theme = New<Watcher>(form);
    auto* button = New<Watcher>(form);
    theme->destroyedCount = button->destroyedCount = &destroyed;
    button->watched = theme;
    EXPECT_EQ(form->ComponentCount(), 2);

    FreeObject(theme);
    EXPECT_EQ(button->watched, nullptr);
    EXPECT_EQ(form->ComponentCount(), 1);
    EXPECT_EQ(form->removed, std::vector<TComponent*>{theme});

    FreeObject(form);
    EXPECT_EQ(destroyed, 2);
}

TEST(Component, FreeNotificationLinksComponentsOfDifferentOwnersBothWays)
{
    auto formA = MakeOwned<Watcher>(nullptr);
    auto formB = MakeOwned<Watcher>(nullptr);
    auto* theme = New<Watcher>(formA.get());
    auto* button = New<Watcher>(formB.get());
    button->watched = theme;
    theme->FreeNotification(button);

    FreeObject(theme);
    EXPECT_EQ(button->watched, nullptr);

    // The link is gone with the theme: freeing the button later touches nothing freed.
    const size_t heard = button->removed.size();
    auto* other = New<Watcher>(formA.get());
    other->FreeNotification(button);
    other->RemoveFreeNotification(button);
    FreeObject(other);
    EXPECT_EQ(button->removed.size(), heard);
}

TEST(Component, DestroyingStateReachesOwnedComponentsBeforeTheyGo)
{
    class Probe : public TComponent {
    public:
        using TComponent::TComponent;
        bool* sawDestroying = nullptr;
        ~Probe() override { *sawDestroying = HasState(csDestroying); }
    };
    bool saw = false;
    auto* owner = New<TComponent>(nullptr);
    New<Probe>(owner)->sawDestroying = &saw;
    FreeObject(owner);
    EXPECT_TRUE(saw);
}

TEST(Component, AfterConstructionReachesTheDerivedClass)
{
    TOwned<Constructed> object(New<DerivedConstructed>(nullptr));
    EXPECT_EQ(object->kindSeen, L"derived");
}

TEST(Component, SiblingsHearOfAnInsertedComponentOnceItIsComplete)
{
    class Item : public TComponent {
    public:
        explicit Item(TComponent* owner) : TComponent(owner), caption(L"made") {}
        String caption;
    };
    class Menu : public TComponent {
    public:
        using TComponent::TComponent;
        std::vector<String> heard;
        void Notification(TComponent* component, TOperation operation) override
        {
            TComponent::Notification(component, operation);
            if (operation != TOperation::opInsert) return;
            auto* item = dynamic_cast<Item*>(component);
            heard.push_back(item ? item->caption : L"incomplete");
        }
    };
    auto form = MakeOwned<TComponent>(nullptr);
    auto* menu = New<Menu>(form.get());
    New<Item>(form.get());
    EXPECT_EQ(menu->heard, std::vector<String>{L"made"});
}

TEST(Component, FindComponentIgnoresCaseAndLoadingEndsInLoaded)
{
    auto owner = MakeOwned<TComponent>(nullptr);
    auto* child = New<TComponent>(owner.get());
    child->SetName(L"btn_record");
    EXPECT_EQ(owner->FindComponent(L"BTN_Record"), child);
    EXPECT_EQ(owner->FindComponent(L""), nullptr);
    child->BeginLoading();
    EXPECT_TRUE(child->HasState(csLoading));
    child->EndLoading();
    EXPECT_FALSE(child->HasState(csLoading));
}
