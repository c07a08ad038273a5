#include "Registry.h"

#include <utility>

namespace {

// "\a\b\" -> "a\b": the registry functions take paths without delimiters
// at either end.
String TrimDelimiters(const String& path)
{
    const size_t first = path.find_first_not_of(L'\\');
    if (first == String::npos) return String();
    return path.substr(first, path.find_last_not_of(L'\\') - first + 1);
}

String JoinPath(const String& base, const String& key)
{
    if (base.empty()) return key;
    if (key.empty()) return base;
    return base + L'\\' + key;
}

}  // namespace

TRegistryKey& TRegistryKey::operator=(TRegistryKey&& other) noexcept
{
    if (this != &other) reset(std::exchange(other.key_, nullptr));
    return *this;
}

void TRegistryKey::reset(HKEY key)
{
    HKEY old = std::exchange(key_, key);
    if (old) RegCloseKey(old);
}

void TRegistry::SetRootKey(HKEY root)
{
    CloseKey();
    rootKey_ = root;
}

bool TRegistry::OpenKey(const String& key, bool canCreate)
{
    const bool fromRoot = !key.empty() && key.front() == L'\\';
    const String path = JoinPath(fromRoot ? String() : currentPath_, TrimDelimiters(key));
    HKEY opened = nullptr;
    LONG result;
    if (canCreate)
        result = RegCreateKeyExW(rootKey_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access_, nullptr, &opened, nullptr);
    else
        result = RegOpenKeyExW(rootKey_, path.c_str(), 0, access_, &opened);
    if (result != ERROR_SUCCESS) return false;
    currentKey_.reset(opened);
    currentPath_ = path;
    return true;
}

void TRegistry::CloseKey()
{
    currentKey_.reset();
    currentPath_.clear();
}

bool TRegistry::DeleteKey(const String& key)
{
    const String path = TrimDelimiters(key);
    if (path.empty()) return false;  // never the whole root
    if (RegDeleteTreeW(rootKey_, path.c_str()) != ERROR_SUCCESS) return false;
    RegDeleteKeyW(rootKey_, path.c_str());  // where the tree call kept the emptied key itself
    return true;
}

HKEY TRegistry::RequireKey() const
{
    if (!currentKey_) throw ERegistryException(L"No registry key is open");
    return currentKey_.get();
}

String TRegistry::ReadString(const String& name) const
{
    HKEY key = RequireKey();
    // The value may grow between asking its size and reading it: ask again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD bytes = 0;
        LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes);
        if (result == ERROR_FILE_NOT_FOUND) return String();
        if (result != ERROR_SUCCESS) break;
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            throw ERegistryException(L"Invalid data type for '" + name + L"'");
        String text(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        result = RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS) break;
        text.resize(size / sizeof(wchar_t));
        // Stored text need not end in a null character; it may end in several.
        const size_t end = text.find_last_not_of(L'\0');
        text.resize(end == String::npos ? 0 : end + 1);
        return text;
    }
    throw ERegistryException(L"Failed to get data for '" + name + L"'");
}

void TRegistry::WriteText(const String& name, const String& value, DWORD type)
{
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    if (RegSetValueExW(RequireKey(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()), bytes) != ERROR_SUCCESS)
        throw ERegistryException(L"Failed to set data for '" + name + L"'");
}

void TRegistry::WriteString(const String& name, const String& value) { WriteText(name, value, REG_SZ); }

void TRegistry::WriteExpandString(const String& name, const String& value) { WriteText(name, value, REG_EXPAND_SZ); }
