// The object model: persistent objects, components with owners and
// notifications, and events.
//
// Objects are made in two phases, like the framework's controls need: the
// C++ constructor builds the object, then New<T>() calls the virtual
// AfterConstruction, where overridden behaviour of derived classes is
// already in place. Free() mirrors it with BeforeDestruction.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "SysUtils.h"

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    virtual void AfterConstruction() {}
    virtual void BeforeDestruction() {}

    // The C++ class name without namespaces, as error messages show it.
    String ClassName() const;
};

// Destroys an object made by New (or by a plain new) after its
// BeforeDestruction. Null is allowed.
void FreeObject(TObject* object);

template <class T>
void FreeAndNil(T*& object)
{
    T* doomed = object;
    object = nullptr;
    FreeObject(doomed);
}

struct TObjectDeleter {
    void operator()(TObject* object) const { FreeObject(object); }
};

// A TObject held by one owner that frees it the framework's way.
template <class T>
using TOwned = std::unique_ptr<T, TObjectDeleter>;

template <class T, class... Args>
T* New(Args&&... args)
{
    TOwned<T> object(new T(std::forward<Args>(args)...));
    object->AfterConstruction();
    return object.release();
}

template <class T, class... Args>
TOwned<T> MakeOwned(Args&&... args)
{
    return TOwned<T>(New<T>(std::forward<Args>(args)...));
}

using TNotifyEvent = std::function<void(TObject* sender)>;

class TPersistent : public TObject {
public:
    // Copies Source into this object; a source this class does not know is
    // asked to AssignTo, and when neither knows the other it is an
    // EConvertError.
    virtual void Assign(TPersistent* source);
    // The object this one belongs to, for those that know it (a collection
    // item's collection, a component's owner); null by default.
    virtual TPersistent* GetOwner() const { return nullptr; }

protected:
    virtual void AssignTo(TPersistent* dest);
};

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csDestroying = 1u << 2,
    csDesigning = 1u << 3,
    csUpdating = 1u << 4,
};
using TComponentState = unsigned;

// A component belongs to its owner, which frees it. Components that refer
// to one another learn of each other's removal through Notification: the
// owner tells every component it owns, and FreeNotification links two
// components of different owners.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    // Tells the owner's components that this one was inserted.
    void AfterConstruction() override;
    void BeforeDestruction() override;

    TComponent* Owner() const { return owner_; }
    TPersistent* GetOwner() const override { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
    TComponent* FindComponent(const String& name) const;

    const String& Name() const { return name_; }
    void SetName(const String& name) { name_ = name; }
    intptr_t Tag() const { return tag_; }
    void SetTag(intptr_t tag) { tag_ = tag; }

    TComponentState ComponentState() const { return state_; }
    bool HasState(TComponentStateFlag flag) const { return (state_ & flag) != 0; }

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void DestroyComponents();

    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Told that Component is being inserted or removed; the default hands
    // it on to every owned component.
    virtual void Notification(TComponent* component, TOperation operation);

    // Loading: the properties of a form description are being set; Loaded
    // runs once they all are.
    void BeginLoading();
    void EndLoading();

protected:
    virtual void Loaded();
    void SetDestroying();

private:
    void Adopt(TComponent* component);
    void LinkFreeNotify(TComponent* component);
    void UnlinkFreeNotify(TComponent* component);

    TComponent* owner_ = nullptr;  // not owned
    std::vector<TComponent*> components_;  // owned
    std::vector<TComponent*> freeNotifies_;  // not owned; each links back
    String name_;
    intptr_t tag_ = 0;
    TComponentState state_ = 0;
};
