// Ordered lists of strings.
#pragma once

#include <vector>

#include "Classes.h"

class TStrings : public TPersistent {
public:
    virtual int Count() const = 0;
    virtual String Get(int index) const = 0;
    virtual void Put(int index, const String& value) = 0;
    virtual void Insert(int index, const String& value) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    String operator[](int index) const { return Get(index); }
    int Add(const String& value);
    int IndexOf(const String& value) const;  // case-insensitive, -1 when absent
    void AddStrings(const TStrings& other);

    // Lines joined with CR LF, each line ending in one.
    String Text() const;

    void Assign(TPersistent* source) override;
};

class TStringList : public TStrings {
public:
    TStringList() = default;
    TStringList(std::initializer_list<String> items) : items_(items) {}

    int Count() const override { return static_cast<int>(items_.size()); }
    String Get(int index) const override;
    void Put(int index, const String& value) override;
    void Insert(int index, const String& value) override;
    void Delete(int index) override;
    void Clear() override { items_.clear(); }

private:
    void CheckIndex(int index, int limit) const;

    std::vector<String> items_;
};

class EStringListError : public Exception {
    using Exception::Exception;
};
