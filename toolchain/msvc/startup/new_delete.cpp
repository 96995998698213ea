// Stands in for the global allocation functions of Visual C++'s static runtime
// (new_scalar.cpp, new_array.cpp, delete_scalar.cpp and their aligned and
// nothrow forms): malloc/free of ucrtbase.dll, calling the new handler and
// throwing std::bad_alloc as the standard requires. Each module has its own
// copy, as with Visual C++, over the one process heap of ucrtbase.dll, so a
// block may be freed by another module than the one that allocated it.
#include <malloc.h>
#include <new.h>
#include <stdlib.h>
#include <vcruntime_exception.h>

#include "startup.h"

extern "C" _ACRTIMP int __cdecl _callnewh(size_t size);

void* __cdecl operator new(size_t size) {
    for (;;) {
        if (void* block = malloc(size == 0 ? 1 : size)) return block;
        if (_callnewh(size) == 0) {
            if (size == SIZE_MAX) throw std::bad_array_new_length();
            throw std::bad_alloc();
        }
    }
}
void* __cdecl operator new(size_t size, const std::nothrow_t&) noexcept {
    try {
        return operator new(size);
    } catch (...) {
        return nullptr;
    }
}
void* __cdecl operator new[](size_t size) { return operator new(size); }
void* __cdecl operator new[](size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void __cdecl operator delete(void* block) noexcept { free(block); }
void __cdecl operator delete(void* block, const std::nothrow_t&) noexcept { free(block); }
void __cdecl operator delete[](void* block) noexcept { free(block); }
void __cdecl operator delete[](void* block, const std::nothrow_t&) noexcept { free(block); }
void __cdecl operator delete(void* block, size_t) noexcept { free(block); }
void __cdecl operator delete[](void* block, size_t) noexcept { free(block); }

void* __cdecl operator new(size_t size, std::align_val_t alignment) {
    for (;;) {
        if (void* block = _aligned_malloc(size == 0 ? 1 : size, static_cast<size_t>(alignment))) {
            return block;
        }
        if (_callnewh(size) == 0) {
            if (size == SIZE_MAX) throw std::bad_array_new_length();
            throw std::bad_alloc();
        }
    }
}
void* __cdecl operator new(size_t size, std::align_val_t alignment,
                           const std::nothrow_t&) noexcept {
    try {
        return operator new(size, alignment);
    } catch (...) {
        return nullptr;
    }
}
void* __cdecl operator new[](size_t size, std::align_val_t alignment) {
    return operator new(size, alignment);
}
void* __cdecl operator new[](size_t size, std::align_val_t alignment,
                             const std::nothrow_t& tag) noexcept {
    return operator new(size, alignment, tag);
}
void __cdecl operator delete(void* block, std::align_val_t) noexcept { _aligned_free(block); }
void __cdecl operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    _aligned_free(block);
}
void __cdecl operator delete[](void* block, std::align_val_t) noexcept { _aligned_free(block); }
void __cdecl operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    _aligned_free(block);
}
void __cdecl operator delete(void* block, size_t, std::align_val_t) noexcept {
    _aligned_free(block);
}
void __cdecl operator delete[](void* block, size_t, std::align_val_t) noexcept {
    _aligned_free(block);
}
