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

// Every registered class the object belongs to, most derived first. All of
// them are its own class or its ancestors, so a class registered with an
// unregistered parent still finds the properties of the classes above.
std::vector<const TClassProperties*> ClassesOf(const TObject* object)
{
    std::vector<std::pair<int, const TClassProperties*>> matches;
    for (const TClassProperties& entry : Registry())
        if (entry.IsInstance(object)) matches.emplace_back(ChainLength(entry.Type), &entry);
    std::stable_sort(matches.begin(), matches.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<const TClassProperties*> classes;
    for (const auto& match : matches) classes.push_back(match.second);
    return classes;
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
    for (const TClassProperties* entry : ClassesOf(object))
        for (const TPropInfo& info : entry->Properties)
            if (SameText(info.Name, name)) return &info;
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
