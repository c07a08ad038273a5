#include "TypInfo.h"

#include <algorithm>

namespace {

// A plain list searched with ==: the ordering of type_index is not
// reliable across translation units for classes of unnamed namespaces.
struct TClassProperties {
    std::type_index Type = typeid(TObject);
    std::type_index Parent = typeid(TObject);
    TObjectTest IsInstance = nullptr;
    std::vector<TPropInfo> Properties;
};

std::vector<TClassProperties>& Registry()
{
    static std::vector<TClassProperties> registry;
    return registry;
}

const TClassProperties* Find(std::type_index type)
{
    for (const TClassProperties& entry : Registry())
        if (entry.Type == type) return &entry;
    return nullptr;
}

int ChainLength(std::type_index type)
{
    int length = 0;
    for (const TClassProperties* entry = Find(type); entry; entry = Find(entry->Parent)) ++length;
    return length;
}

// The most derived registered class the object belongs to; its own class
// may be unregistered (a form class of the program).
const TClassProperties* MostDerivedClass(const TObject* object)
{
    const TClassProperties* best = nullptr;
    int bestLength = 0;
    for (const TClassProperties& entry : Registry()) {
        if (!entry.IsInstance(object)) continue;
        const int length = ChainLength(entry.Type);
        if (length > bestLength) {
            best = &entry;
            bestLength = length;
        }
    }
    return best;
}

const TPropInfo& RequireProp(const TObject* object, const String& name, TPropKind kind)
{
    const TPropInfo* info = GetPropInfo(object, name);
    if (!info || info->Kind != kind) throw EPropertyError(L"Property " + name + L" does not exist");
    return *info;
}

}  // namespace

void RegisterClassProperties(std::type_index type, std::type_index parent, TObjectTest isInstance,
    std::vector<TPropInfo> properties)
{
    auto& registry = Registry();
    std::erase_if(registry, [type](const TClassProperties& entry) { return entry.Type == type; });
    registry.push_back(TClassProperties{type, parent, isInstance, std::move(properties)});
}

const TPropInfo* GetPropInfo(const TObject* object, const String& name)
{
    if (!object) return nullptr;
    for (const TClassProperties* entry = MostDerivedClass(object); entry;) {
        for (const TPropInfo& info : entry->Properties)
            if (SameText(info.Name, name)) return &info;
        entry = Find(entry->Parent);
    }
    return nullptr;
}

bool IsPublishedProp(const TObject* object, const String& name) { return GetPropInfo(object, name) != nullptr; }

int64_t GetOrdProp(TObject* object, const String& name)
{
    return RequireProp(object, name, TPropKind::pkOrdinal).GetOrdinal(object);
}

void SetOrdProp(TObject* object, const String& name, int64_t value)
{
    RequireProp(object, name, TPropKind::pkOrdinal).SetOrdinal(object, value);
}

TObject* GetObjectProp(TObject* object, const String& name)
{
    return RequireProp(object, name, TPropKind::pkObject).GetObject(object);
}

void SetObjectProp(TObject* object, const String& name, TObject* value)
{
    RequireProp(object, name, TPropKind::pkObject).SetObject(object, value);
}
