#include "IniFiles.h"

#include <windows.h>

namespace {
// Longer values are cut here rather than grown without bound.
constexpr DWORD kMaxValueLength = 1 << 16;
}

String TIniFile::ReadString(const String& section, const String& ident, const String& defaultValue) const
{
    for (DWORD capacity = 256;; capacity *= 2) {
        String value(capacity, L'\0');
        const DWORD length = GetPrivateProfileStringW(section.c_str(), ident.c_str(), defaultValue.c_str(), value.data(),
                                                      capacity, fileName_.c_str());
        // The system reports a cut value as capacity - 1 characters.
        if (length + 1 < capacity || capacity >= kMaxValueLength) {
            value.resize(length);
            return value;
        }
    }
}
