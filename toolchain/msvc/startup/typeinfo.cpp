// Stands in for the per-module list of undecorated type names of Visual C++'s
// static runtime (std_type_info_static.cpp): type_info::name() caches the
// names it produces here, and vcruntime140.dll releases them at unload; and
// type_info's virtual table, which every type descriptor the compiler emits
// points to (Wine's vcruntime140.dll does not export it).
#include <vcruntime_typeinfo.h>

#include "startup.h"

extern "C" {
__declspec(align(16)) __type_info_node __type_info_root_node = {};
}

// Type descriptors are never destroyed; the table's one entry, the deleting
// destructor, does nothing.
type_info::~type_info() noexcept {}

static void* __cdecl type_info_deleting_destructor(void* self, unsigned) { return self; }
extern "C" const void* const zkdb_type_info_vftable[1] __asm__("??_7type_info@@6B@") = {
    reinterpret_cast<const void*>(&type_info_deleting_destructor)};
