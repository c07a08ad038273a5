#include "FreedMemoryPoison.h"

#include <windows.h>

#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr std::size_t kPage = 4096;
// Address space only: a page is committed while its block lives.
constexpr std::size_t kGuardedSpace = std::size_t{4} << 30;

// At the start of a guarded block's first page; keeps the block 16-aligned.
struct alignas(16) TGuardedHeader {
    std::size_t bytes;  // the pages' extent, header included
};

std::atomic<bool> g_Poison{false};
std::atomic<int> g_Faults{0};
PVOID g_Handler = nullptr;
LPTOP_LEVEL_EXCEPTION_FILTER g_PreviousFilter = nullptr;
char* g_Space = nullptr;
std::atomic<std::size_t> g_SpaceUsed{0};

bool IsGuarded(const void* address)
{
    const auto* byte = static_cast<const char*>(address);
    return g_Space && byte >= g_Space && byte < g_Space + kGuardedSpace;
}

bool IsGuardedFault(const EXCEPTION_RECORD& record)
{
    return record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2 &&
           IsGuarded(reinterpret_cast<const void*>(record.ExceptionInformation[1]));
}

// Only touches of guarded pages count: the system probes memory of its own
// behind exception handlers too.
LONG CALLBACK CountFault(EXCEPTION_POINTERS* info)
{
    if (IsGuardedFault(*info->ExceptionRecord)) ++g_Faults;
    return EXCEPTION_CONTINUE_SEARCH;
}

// A fault no window procedure swallows would open the system's crash
// dialog and hang the test until its time runs out: end it at once.
LONG WINAPI EndAtUnhandledFault(EXCEPTION_POINTERS* info)
{
    if (!IsGuardedFault(*info->ExceptionRecord))
        return g_PreviousFilter ? g_PreviousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
    std::fputs("freed memory used outside any window procedure\n", stderr);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

// Null once the reserved space is used up: the block then comes from the heap.
void* NewGuardedBlock(std::size_t size)
{
    const std::size_t bytes = (sizeof(TGuardedHeader) + size + kPage - 1) / kPage * kPage;
    const std::size_t offset = g_SpaceUsed.fetch_add(bytes);
    if (offset + bytes > kGuardedSpace) return nullptr;
    void* pages = VirtualAlloc(g_Space + offset, bytes, MEM_COMMIT, PAGE_READWRITE);
    if (!pages) return nullptr;
    auto* header = static_cast<TGuardedHeader*>(pages);
    header->bytes = bytes;
    return header + 1;
}

// The address range stays reserved, so no later block is ever placed there.
void FreeGuardedBlock(void* memory)
{
    auto* header = static_cast<TGuardedHeader*>(memory) - 1;
    VirtualFree(header, header->bytes, MEM_DECOMMIT);
}

}  // namespace

void SetFreedMemoryPoison(bool on)
{
    if (on && !g_Handler) {
        g_Space = static_cast<char*>(VirtualAlloc(nullptr, kGuardedSpace, MEM_RESERVE, PAGE_NOACCESS));
        g_Handler = AddVectoredExceptionHandler(1, CountFault);
        g_PreviousFilter = SetUnhandledExceptionFilter(EndAtUnhandledFault);
    }
    if (on) g_Faults = 0;
    g_Poison = on;
}

int FreedMemoryFaults() { return g_Faults; }

void* operator new(std::size_t size)
{
    if (g_Poison && g_Space)
        if (void* memory = NewGuardedBlock(size)) return memory;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    if (!memory) return;
    if (IsGuarded(memory)) {
        FreeGuardedBlock(memory);
        return;
    }
    if (g_Poison) {
        std::memset(memory, 0xFE, _msize(memory));  // made before the poison: no valid pointer, kept
        return;
    }
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept { operator delete(memory); }
