#include "Classes.h"

#include <algorithm>
#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>

String TObject::ClassName() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    std::string name = status == 0 && demangled ? demangled.get() : mangled;
    const size_t colon = name.rfind("::");
    if (colon != std::string::npos) name = name.substr(colon + 2);
    return FromUtf8(name);
}

void FreeObject(TObject* object)
{
    if (!object) return;
    object->BeforeDestruction();
    delete object;
}

void TPersistent::Assign(TPersistent* source)
{
    if (source) {
        source->AssignTo(this);
        return;
    }
    throw EConvertError(L"Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* dest)
{
    throw EConvertError(L"Cannot assign a " + ClassName() + L" to a " + (dest ? dest->ClassName() : L"nil"));
}

// The owner takes the component at once, so that it is freed with the
// owner whatever happens, but announces it only from AfterConstruction:
// the components told of it see the finished object.
TComponent::TComponent(TComponent* owner)
{
    if (owner) owner->Adopt(this);
}

void TComponent::AfterConstruction()
{
    TPersistent::AfterConstruction();
    if (owner_) owner_->Notification(this, TOperation::opInsert);
}

TComponent::~TComponent()
{
    SetDestroying();
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        other->UnlinkFreeNotify(this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::BeforeDestruction() { SetDestroying(); }

void TComponent::SetDestroying()
{
    if (HasState(csDestroying)) return;
    state_ |= csDestroying;
    for (TComponent* component : components_) component->SetDestroying();
}

TComponent* TComponent::FindComponent(const String& name) const
{
    if (name.empty()) return nullptr;
    for (TComponent* component : components_)
        if (SameText(component->Name(), name)) return component;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component)
{
    Adopt(component);
    Notification(component, TOperation::opInsert);
}

void TComponent::Adopt(TComponent* component)
{
    if (component->owner_) component->owner_->RemoveComponent(component);
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::RemoveComponent(TComponent* component)
{
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it == components_.end()) return;
    components_.erase(it);
    component->owner_ = nullptr;
    // Siblings hear of the removal even while the owner itself is being
    // destroyed, so that none keeps a pointer to a freed sibling.
    Notification(component, TOperation::opRemove);
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) FreeObject(components_.back());
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove) UnlinkFreeNotify(component);
    // Copy: a handler may free or insert components.
    const std::vector<TComponent*> owned = components_;
    for (TComponent* child : owned)
        if (child != component) child->Notification(component, operation);
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this) return;
    LinkFreeNotify(component);
    component->LinkFreeNotify(this);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (!component) return;
    UnlinkFreeNotify(component);
    component->UnlinkFreeNotify(this);
}

void TComponent::LinkFreeNotify(TComponent* component)
{
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
}

void TComponent::UnlinkFreeNotify(TComponent* component)
{
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
}

void TComponent::BeginLoading()
{
    state_ |= csLoading;
}

void TComponent::EndLoading() { Loaded(); }

void TComponent::Loaded() { state_ &= ~static_cast<unsigned>(csLoading); }
