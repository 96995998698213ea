// Stands in for sal.h of Visual C++: Wine's sal.h, plus the source annotations
// the standard library headers use and Wine's header lacks. All expand to
// nothing, as they do for any compiler but the code analyser.
#pragma once
#include_next <sal.h>
#ifndef _Analysis_assume_
#define _Analysis_assume_(expr)
#endif
#ifndef _Check_return_opt_
#define _Check_return_opt_
#endif
#ifndef _Check_return_wat_
#define _Check_return_wat_
#endif
#ifndef _Field_z_
#define _Field_z_
#endif
#ifndef _Guarded_by_
#define _Guarded_by_(lock)
#endif
#ifndef _Inout_bytecount_
#define _Inout_bytecount_(size)
#endif
#ifndef _Pre_satisfies_
#define _Pre_satisfies_(cond)
#endif
#ifndef _Post_satisfies_
#define _Post_satisfies_(cond)
#endif
#ifndef _When_
#define _When_(cond, annotes)
#endif
#ifndef _Ret_z_
#define _Ret_z_
#endif
#ifndef _Acquires_lock_
#define _Acquires_lock_(lock)
#endif
#ifndef _Releases_lock_
#define _Releases_lock_(lock)
#endif
#ifndef _Acquires_exclusive_lock_
#define _Acquires_exclusive_lock_(lock)
#endif
#ifndef _Releases_exclusive_lock_
#define _Releases_exclusive_lock_(lock)
#endif
#ifndef _Requires_lock_held_
#define _Requires_lock_held_(lock)
#endif
#ifndef _Post_writable_byte_size_
#define _Post_writable_byte_size_(size)
#endif
#ifndef _Post_readable_byte_size_
#define _Post_readable_byte_size_(size)
#endif
#ifndef _Ret_notnull_
#define _Ret_notnull_
#endif
#ifndef _Ret_maybenull_
#define _Ret_maybenull_
#endif
#ifndef _Ret_writes_bytes_maybenull_
#define _Ret_writes_bytes_maybenull_(size)
#endif
#ifndef _Success_
#define _Success_(expr)
#endif
#ifndef _Use_decl_annotations_
#define _Use_decl_annotations_
#endif
#ifndef _Printf_format_string_
#define _Printf_format_string_
#endif
#ifndef _Scanf_format_string_
#define _Scanf_format_string_
#endif
#ifndef _Notnull_
#define _Notnull_
#endif
#ifndef _Maybenull_
#define _Maybenull_
#endif
#ifndef _Frees_ptr_opt_
#define _Frees_ptr_opt_
#endif
#ifndef _Frees_ptr_
#define _Frees_ptr_
#endif
#ifndef _Out_writes_z_
#define _Out_writes_z_(size)
#endif
#ifndef _Interlocked_operand_
#define _Interlocked_operand_
#endif
#ifndef _Literal_
#define _Literal_
#endif
#ifndef _Notliteral_
#define _Notliteral_
#endif
#ifndef _Always_
#define _Always_(annotes)
#endif
#ifndef _Pre_
#define _Pre_
#endif
#ifndef _Post_
#define _Post_
#endif
#ifndef _Null_terminated_
#define _Null_terminated_
#endif
#ifndef _NullNull_terminated_
#define _NullNull_terminated_
#endif
#ifndef _Out_range_
#define _Out_range_(lb, ub)
#endif
#ifndef _In_range_
#define _In_range_(lb, ub)
#endif
#ifndef _Deref_out_range_
#define _Deref_out_range_(lb, ub)
#endif
#ifndef _Must_inspect_result_
#define _Must_inspect_result_
#endif
#ifndef _Return_type_success_
#define _Return_type_success_(expr)
#endif
#ifndef _Struct_size_bytes_
#define _Struct_size_bytes_(size)
#endif
