// A library loaded at run time, owned: freed when the object goes.
#pragma once

#include "SysUtils.h"

class TDynamicLibrary {
public:
    TDynamicLibrary() = default;
    // Loads FileName; Loaded() tells whether it worked, Error() why not.
    explicit TDynamicLibrary(const String& fileName);
    TDynamicLibrary(TDynamicLibrary&& other) noexcept;
    TDynamicLibrary& operator=(TDynamicLibrary&& other) noexcept;
    TDynamicLibrary(const TDynamicLibrary&) = delete;
    TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;
    ~TDynamicLibrary();

    bool Loaded() const { return handle_ != nullptr; }
    const String& Error() const { return error_; }
    // Null when the library does not export Name.
    void* Resolve(const char* name) const;

    // The platform's file name of a library: "lame_enc" -> "lame_enc.dll".
    static String PlatformFileName(const String& baseName);

private:
    void Free();
    void* handle_ = nullptr;
    String error_;
};
