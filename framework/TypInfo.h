// Properties by name: each class that publishes properties registers them
// once, with a getter and a setter; a lookup walks from an object's class
// up the registered chain, ignoring case. This is what code that only knows
// a property's name (theme hand-down, "has it a FileTheme?") works with;
// it is not general reflection.
//
//   static const bool registered = RegisterProperties<TMyControl, TControl>({
//       OrdinalProperty<TMyControl>(L"Spacing", &TMyControl::Spacing, &TMyControl::SetSpacing),
//       ObjectProperty<TMyControl, TBitmap>(L"Glyph", &TMyControl::Glyph, &TMyControl::SetGlyph),
//   });
#pragma once

#include <cstdint>
#include <functional>
#include <typeindex>
#include <vector>

#include "Classes.h"

enum class TPropKind { pkOrdinal, pkObject };

struct TPropInfo {
    String Name;
    TPropKind Kind = TPropKind::pkOrdinal;
    std::function<int64_t(TObject*)> GetOrdinal;
    std::function<void(TObject*, int64_t)> SetOrdinal;
    std::function<TObject*(TObject*)> GetObject;
    // Fails with EPropertyConvertError when the value is not of the
    // property's class.
    std::function<void(TObject*, TObject*)> SetObject;
};

class EPropertyError : public Exception {
    using Exception::Exception;
};
class EPropertyConvertError : public Exception {
    using Exception::Exception;
};

using TObjectTest = bool (*)(const TObject*);

// Parent is the class these properties extend; it need not be registered.
// Along a chain of registered parents a derived class answers first, which
// matters only for a name published twice.
void RegisterClassProperties(std::type_index type, std::type_index parent, TObjectTest isInstance,
    std::vector<TPropInfo> properties);

template <class T, class Parent>
bool RegisterProperties(std::vector<TPropInfo> properties)
{
    static_assert(std::is_base_of_v<Parent, T>);
    RegisterClassProperties(typeid(T), typeid(Parent),
        [](const TObject* object) { return dynamic_cast<const T*>(object) != nullptr; }, std::move(properties));
    return true;
}

// The published property of that name, or null.
const TPropInfo* GetPropInfo(const TObject* object, const String& name);
bool IsPublishedProp(const TObject* object, const String& name);

// EPropertyError when the object has no such property of that kind.
int64_t GetOrdProp(TObject* object, const String& name);
void SetOrdProp(TObject* object, const String& name, int64_t value);
TObject* GetObjectProp(TObject* object, const String& name);
void SetObjectProp(TObject* object, const String& name, TObject* value);

// Any integer, enumeration or Boolean getter/setter pair.
template <class T, class V>
TPropInfo OrdinalProperty(const String& name, V (T::*getter)() const, void (T::*setter)(V))
{
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::pkOrdinal;
    info.GetOrdinal = [getter](TObject* object) {
        return static_cast<int64_t>((static_cast<T*>(object)->*getter)());
    };
    info.SetOrdinal = [setter](TObject* object, int64_t value) {
        (static_cast<T*>(object)->*setter)(static_cast<V>(value));
    };
    return info;
}

template <class T, class V, class Getter, class Setter>
TPropInfo ObjectProperty(const String& name, Getter getter, Setter setter)
{
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::pkObject;
    info.GetObject = [getter](TObject* object) -> TObject* { return std::invoke(getter, static_cast<T*>(object)); };
    info.SetObject = [setter, name](TObject* object, TObject* value) {
        V* typed = dynamic_cast<V*>(value);
        if (value && !typed) throw EPropertyConvertError(L"Invalid value for the property " + name);
        std::invoke(setter, static_cast<T*>(object), typed);
    };
    return info;
}
