#include "DynamicLibrary.h"

TDynamicLibrary::TDynamicLibrary(TDynamicLibrary&& other) noexcept
    : handle_(other.handle_), error_(std::move(other.error_))
{
    other.handle_ = nullptr;
}

TDynamicLibrary& TDynamicLibrary::operator=(TDynamicLibrary&& other) noexcept
{
    if (this != &other) {
        Free();
        handle_ = other.handle_;
        error_ = std::move(other.error_);
        other.handle_ = nullptr;
    }
    return *this;
}

TDynamicLibrary::~TDynamicLibrary() { Free(); }
