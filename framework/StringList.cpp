#include "StringList.h"

int TStrings::Add(const String& value)
{
    const int index = Count();
    Insert(index, value);
    return index;
}

int TStrings::IndexOf(const String& value) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameText(Get(i), value)) return i;
    return -1;
}

void TStrings::AddStrings(const TStrings& other)
{
    for (int i = 0; i < other.Count(); ++i) Add(other.Get(i));
}

String TStrings::Text() const
{
    String text;
    for (int i = 0; i < Count(); ++i) text += Get(i) + L"\r\n";
    return text;
}

void TStrings::Assign(TPersistent* source)
{
    if (auto* strings = dynamic_cast<TStrings*>(source)) {
        if (strings == this) return;
        Clear();
        AddStrings(*strings);
        return;
    }
    TPersistent::Assign(source);
}

void TStringList::CheckIndex(int index, int limit) const
{
    if (index < 0 || index >= limit) throw EStringListError(L"List index out of bounds (" + IntToStr(index) + L")");
}

String TStringList::Get(int index) const
{
    CheckIndex(index, Count());
    return items_[static_cast<size_t>(index)];
}

void TStringList::Put(int index, const String& value)
{
    CheckIndex(index, Count());
    items_[static_cast<size_t>(index)] = value;
}

void TStringList::Insert(int index, const String& value)
{
    CheckIndex(index, Count() + 1);
    items_.insert(items_.begin() + index, value);
}

void TStringList::Delete(int index)
{
    CheckIndex(index, Count());
    items_.erase(items_.begin() + index);
}
