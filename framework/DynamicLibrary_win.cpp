#include <windows.h>

#include "DynamicLibrary.h"
#include "FileHandle.h"

TDynamicLibrary::TDynamicLibrary(const String& fileName)
{
    handle_ = LoadLibraryW(fileName.c_str());
    if (!handle_) error_ = SysErrorMessage(static_cast<int>(GetLastError()));
}

void* TDynamicLibrary::Resolve(const char* name) const
{
    return handle_ ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name)) : nullptr;
}

void TDynamicLibrary::Free()
{
    if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = nullptr;
}

String TDynamicLibrary::PlatformFileName(const String& baseName) { return baseName + L".dll"; }
