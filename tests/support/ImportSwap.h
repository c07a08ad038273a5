// Points one of the program's imports at a stand-in while the object lives,
// so a test can make the system answer as a full disk or a failing driver
// would. Give it the import's pointer (`__imp_<name>`, declared by the test).
#pragma once

#include <windows.h>

#include <utility>

template <class TFunction>
class TImportSwap {
public:
    TImportSwap(TFunction& import, TFunction standIn) : import_(import), original_(Swap(import, standIn)) {}
    TImportSwap(const TImportSwap&) = delete;
    TImportSwap& operator=(const TImportSwap&) = delete;
    ~TImportSwap() { Swap(import_, original_); }
    TFunction Original() const { return original_; }

private:
    static TFunction Swap(TFunction& slot, TFunction to)
    {
        DWORD was = 0;
        VirtualProtect(&slot, sizeof to, PAGE_READWRITE, &was);
        const TFunction from = std::exchange(slot, to);
        VirtualProtect(&slot, sizeof to, was, &was);
        return from;
    }

    TFunction& import_;
    TFunction original_;
};
