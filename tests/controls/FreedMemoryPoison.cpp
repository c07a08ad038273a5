#include "FreedMemoryPoison.h"

#include <windows.h>

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

bool g_Poison = false;
int g_Faults = 0;
PVOID g_Handler = nullptr;

LONG CALLBACK CountFault(EXCEPTION_POINTERS* info)
{
    if (info->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) ++g_Faults;
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void SetFreedMemoryPoison(bool on)
{
    g_Poison = on;
    if (on && !g_Handler) {
        g_Faults = 0;
        g_Handler = AddVectoredExceptionHandler(1, CountFault);
    } else if (!on && g_Handler) {
        RemoveVectoredExceptionHandler(g_Handler);
        g_Handler = nullptr;
    }
}

int FreedMemoryFaults() { return g_Faults; }

void* operator new(std::size_t size)
{
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    if (memory && g_Poison) {
        std::memset(memory, 0xFE, _msize(memory));  // no valid pointer, a non-zero flag
        return;
    }
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept { operator delete(memory); }
