#include "ResStrings.h"

String LoadResString(UINT id)
{
    // With no buffer the system hands out the entry in place.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? String(text, static_cast<size_t>(length)) : String();
}
