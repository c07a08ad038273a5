#include <dlfcn.h>

#include "DynamicLibrary.h"

TDynamicLibrary::TDynamicLibrary(const String& fileName)
{
    handle_ = dlopen(ToUtf8(fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* why = dlerror();
        error_ = why ? FromUtf8(why) : L"cannot be loaded";
    }
}

void* TDynamicLibrary::Resolve(const char* name) const { return handle_ ? dlsym(handle_, name) : nullptr; }

void TDynamicLibrary::Free()
{
    if (handle_) dlclose(handle_);
    handle_ = nullptr;
}

String TDynamicLibrary::PlatformFileName(const String& baseName) { return baseName + L".so"; }
