// Stands in for eh.h of the Universal CRT: the terminate and unexpected
// handlers. They are C functions of ucrtbase.dll (Wine's own eh.h gives them
// C++ linkage, the names msvcrt.dll exports, which ucrtbase.dll does not).
#pragma once
#include <vcruntime.h>

#ifdef __cplusplus
extern "C" {
#endif
typedef void(__cdecl* terminate_handler)(void);
typedef void(__cdecl* terminate_function)(void);
typedef void(__cdecl* unexpected_handler)(void);
typedef void(__cdecl* unexpected_function)(void);
struct _EXCEPTION_POINTERS;
typedef void(__cdecl* _se_translator_function)(unsigned int, struct _EXCEPTION_POINTERS*);

_ACRTIMP __declspec(noreturn) void __cdecl abort(void);
_ACRTIMP __declspec(noreturn) void __cdecl terminate(void) throw();
_ACRTIMP terminate_handler __cdecl set_terminate(terminate_handler _NewTerminateHandler) throw();
_ACRTIMP terminate_handler __cdecl _get_terminate(void);
_ACRTIMP __declspec(noreturn) void __cdecl unexpected(void);
_ACRTIMP unexpected_handler __cdecl set_unexpected(
    unexpected_handler _NewUnexpectedHandler) throw();
_ACRTIMP unexpected_handler __cdecl _get_unexpected(void);
_VCRTIMP _se_translator_function __cdecl _set_se_translator(
    _se_translator_function _NewSETranslator);
_VCRTIMP int __cdecl __uncaught_exceptions(void);
#ifdef __cplusplus
}
#endif
