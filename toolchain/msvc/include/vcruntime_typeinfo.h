// Stands in for vcruntime_typeinfo.h of the Visual C++ runtime: type_info with
// Visual C++'s layout, whose comparison, hash and name come from
// vcruntime140.dll, and the bad_cast/bad_typeid exceptions. The list of
// undecorated names (__type_info_root_node) is per module, as in Visual C++;
// the start-up part defines it.
#pragma once
#include <vcruntime.h>
#include <vcruntime_exception.h>

#pragma pack(push, _CRT_PACKING)
#ifdef __cplusplus
extern "C" {
#endif
struct __type_info_node {
    void* _Header[2];  // an SLIST_HEADER, 16-byte aligned at run time
};
extern struct __type_info_node __type_info_root_node;
struct __std_type_info_data {
    char const* _UndecoratedName;
    char const _DecoratedName[1];
};
_VCRTIMP int __cdecl __std_type_info_compare(struct __std_type_info_data const* _Lhs,
                                             struct __std_type_info_data const* _Rhs);
_VCRTIMP size_t __cdecl __std_type_info_hash(struct __std_type_info_data const* _Data);
_VCRTIMP char const* __cdecl __std_type_info_name(struct __std_type_info_data* _Data,
                                                  struct __type_info_node* _RootNode);
#ifdef __cplusplus
}

extern "C++" {
class type_info {
public:
    type_info(const type_info&) = delete;
    type_info& operator=(const type_info&) = delete;

    size_t hash_code() const noexcept { return __std_type_info_hash(&_Data); }
    bool operator==(const type_info& _Other) const noexcept {
        return __std_type_info_compare(&_Data, &_Other._Data) == 0;
    }
    bool operator!=(const type_info& _Other) const noexcept {
        return __std_type_info_compare(&_Data, &_Other._Data) != 0;
    }
    bool before(const type_info& _Other) const noexcept {
        return __std_type_info_compare(&_Data, &_Other._Data) < 0;
    }
    const char* name() const noexcept {
        return __std_type_info_name(&_Data, &__type_info_root_node);
    }
    const char* raw_name() const noexcept { return _Data._DecoratedName; }
    virtual ~type_info() noexcept;

private:
    mutable __std_type_info_data _Data;
};
}

namespace std {
using ::type_info;

class bad_cast : public exception {
public:
    bad_cast() noexcept : exception("bad cast", 1) {}
    static bad_cast __construct_from_string_literal(const char* const _Message) noexcept {
        return bad_cast(_Message, 1);
    }

private:
    bad_cast(const char* const _Message, int) noexcept : exception(_Message, 1) {}
};

class bad_typeid : public exception {
public:
    bad_typeid() noexcept : exception("bad typeid", 1) {}
    static bad_typeid __construct_from_string_literal(const char* const _Message) noexcept {
        return bad_typeid(_Message, 1);
    }

private:
    friend class __non_rtti_object;
    bad_typeid(const char* const _Message, int) noexcept : exception(_Message, 1) {}
};

class __non_rtti_object : public bad_typeid {
public:
    static __non_rtti_object __construct_from_string_literal(const char* const _Message) noexcept {
        return __non_rtti_object(_Message, 1);
    }

private:
    __non_rtti_object(const char* const _Message, int) noexcept : bad_typeid(_Message, 1) {}
};
}  // namespace std
#endif
#pragma pack(pop)
