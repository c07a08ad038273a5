// The registry: keys under one root (the current user's by default),
// opened by path, with string values.
#pragma once

#include <windows.h>

#include "Classes.h"

class ERegistryException : public Exception {
    using Exception::Exception;
};

// Owns an open registry key and closes it.
class TRegistryKey {
public:
    TRegistryKey() = default;
    explicit TRegistryKey(HKEY key) : key_(key) {}
    TRegistryKey(const TRegistryKey&) = delete;
    TRegistryKey& operator=(const TRegistryKey&) = delete;
    TRegistryKey(TRegistryKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
    TRegistryKey& operator=(TRegistryKey&& other) noexcept;
    ~TRegistryKey() { reset(); }

    HKEY get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }
    void reset(HKEY key = nullptr);

private:
    HKEY key_ = nullptr;
};

class TRegistry : public TObject {
public:
    explicit TRegistry(REGSAM access = KEY_ALL_ACCESS) : access_(access) {}

    HKEY RootKey() const { return rootKey_; }
    // Closes the current key.
    void SetRootKey(HKEY root);
    // Null while no key is open.
    HKEY CurrentKey() const { return currentKey_.get(); }
    const String& CurrentPath() const { return currentPath_; }

    // A path with a leading backslash starts at the root, any other at the
    // current key (the root when none is open); a trailing backslash is
    // allowed. True when the key was opened (or made, when CanCreate);
    // it then becomes the current key.
    bool OpenKey(const String& key, bool canCreate);
    void CloseKey();
    // Deletes a key under the root with everything below it.
    bool DeleteKey(const String& key);

    // A missing value reads as empty; REG_SZ and REG_EXPAND_SZ are read
    // as stored (unexpanded); any other type is an ERegistryException.
    String ReadString(const String& name) const;
    void WriteString(const String& name, const String& value);
    void WriteExpandString(const String& name, const String& value);

private:
    HKEY RequireKey() const;
    void WriteText(const String& name, const String& value, DWORD type);

    HKEY rootKey_ = HKEY_CURRENT_USER;  // predefined, never closed
    REGSAM access_;
    TRegistryKey currentKey_;
    String currentPath_;
};
