// Stands in for vcruntime_new.h of the Visual C++ runtime: the declarations of
// the global allocation functions (defined by the start-up part, one copy in
// each module, as Visual C++'s static runtime does), std::nothrow_t and
// std::align_val_t.
#pragma once
#include <vcruntime.h>

#pragma pack(push, _CRT_PACKING)
#ifdef __cplusplus
extern "C++" {
namespace std {
struct nothrow_t {
    explicit nothrow_t() = default;
};
extern nothrow_t const nothrow;
enum class align_val_t : size_t {};
}  // namespace std

#ifndef __NOTHROW_T_DEFINED
#define __NOTHROW_T_DEFINED
#endif
#define __STDCPP_DEFAULT_NEW_ALIGNMENT__ 16ull

[[nodiscard]] void* __cdecl operator new(size_t _Size);
[[nodiscard]] void* __cdecl operator new(size_t _Size, std::nothrow_t const&) noexcept;
[[nodiscard]] void* __cdecl operator new[](size_t _Size);
[[nodiscard]] void* __cdecl operator new[](size_t _Size, std::nothrow_t const&) noexcept;
void __cdecl operator delete(void* _Block) noexcept;
void __cdecl operator delete(void* _Block, std::nothrow_t const&) noexcept;
void __cdecl operator delete[](void* _Block) noexcept;
void __cdecl operator delete[](void* _Block, std::nothrow_t const&) noexcept;
void __cdecl operator delete(void* _Block, size_t _Size) noexcept;
void __cdecl operator delete[](void* _Block, size_t _Size) noexcept;
[[nodiscard]] void* __cdecl operator new(size_t _Size, std::align_val_t _Al);
[[nodiscard]] void* __cdecl operator new(size_t _Size, std::align_val_t _Al,
                                         std::nothrow_t const&) noexcept;
[[nodiscard]] void* __cdecl operator new[](size_t _Size, std::align_val_t _Al);
[[nodiscard]] void* __cdecl operator new[](size_t _Size, std::align_val_t _Al,
                                           std::nothrow_t const&) noexcept;
void __cdecl operator delete(void* _Block, std::align_val_t _Al) noexcept;
void __cdecl operator delete(void* _Block, std::align_val_t _Al, std::nothrow_t const&) noexcept;
void __cdecl operator delete[](void* _Block, std::align_val_t _Al) noexcept;
void __cdecl operator delete[](void* _Block, std::align_val_t _Al, std::nothrow_t const&) noexcept;
void __cdecl operator delete(void* _Block, size_t _Size, std::align_val_t _Al) noexcept;
void __cdecl operator delete[](void* _Block, size_t _Size, std::align_val_t _Al) noexcept;

#ifndef __PLACEMENT_NEW_INLINE
#define __PLACEMENT_NEW_INLINE
[[nodiscard]] inline void* __cdecl operator new(size_t _Size, void* _Where) noexcept {
    (void)_Size;
    return _Where;
}
inline void __cdecl operator delete(void*, void*) noexcept {}
#endif
#ifndef __PLACEMENT_VEC_NEW_INLINE
#define __PLACEMENT_VEC_NEW_INLINE
[[nodiscard]] inline void* __cdecl operator new[](size_t _Size, void* _Where) noexcept {
    (void)_Size;
    return _Where;
}
inline void __cdecl operator delete[](void*, void*) noexcept {}
#endif
}
#endif
#pragma pack(pop)
