// Memory the stand-in host and the tests place by hand: whole pages whose
// access can be taken away (to catch a read or write past a buffer), and
// blocks at a chosen alignment. POSIX and Windows spell these differently.
#pragma once

#include <cstddef>
#include <cstdlib>

#if defined(_WIN32)
#include <malloc.h>
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace standin {

enum class Access { None, Read, ReadWrite };

inline size_t page_size() {
#if defined(_WIN32)
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwPageSize;
#else
    return static_cast<size_t>(sysconf(_SC_PAGESIZE));
#endif
}

// bytes (a whole number of pages) of zeroed memory with the given access, or
// nullptr.
inline void *map_pages(size_t bytes, Access access) {
#if defined(_WIN32)
    const DWORD prot = access == Access::None   ? PAGE_NOACCESS
                       : access == Access::Read ? PAGE_READONLY
                                                : PAGE_READWRITE;
    return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, prot);
#else
    const int prot = access == Access::None   ? PROT_NONE
                     : access == Access::Read ? PROT_READ
                                              : PROT_READ | PROT_WRITE;
    void *p = mmap(nullptr, bytes, prot, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
#endif
}

inline void protect_pages(void *p, size_t bytes, Access access) {
#if defined(_WIN32)
    const DWORD prot = access == Access::None   ? PAGE_NOACCESS
                       : access == Access::Read ? PAGE_READONLY
                                                : PAGE_READWRITE;
    DWORD old = 0;
    VirtualProtect(p, bytes, prot, &old);
#else
    mprotect(p, bytes,
             access == Access::None   ? PROT_NONE
             : access == Access::Read ? PROT_READ
                                      : PROT_READ | PROT_WRITE);
#endif
}

inline void unmap_pages(void *p, size_t bytes) {
#if defined(_WIN32)
    (void)bytes;
    VirtualFree(p, 0, MEM_RELEASE);
#else
    munmap(p, bytes);
#endif
}

// bytes at a multiple of alignment (a power of two), freed with free_aligned.
inline void *alloc_aligned(size_t alignment, size_t bytes) {
#if defined(_WIN32)
    return _aligned_malloc(bytes, alignment);
#else
    return std::aligned_alloc(alignment, (bytes + alignment - 1) / alignment * alignment);
#endif
}

inline void free_aligned(void *p) {
#if defined(_WIN32)
    _aligned_free(p);
#else
    std::free(p);
#endif
}

} // namespace standin
