// Stands in for math.h of the Universal CRT. Wine's math.h lacks most of C99
// and C++'s mathematics (long double functions, the classification
// templates); this header declares what ucrtbase.dll exports, in the shape
// of the UCRT's header: double and float functions from the DLL, long double
// (which is double in this ABI) inline over the double ones, and the
// classification over _dclass/_fdclass/_ldclass.
#pragma once
#define __WINE_MATH_H
#define _INC_MATH
#include <corecrt.h>

#pragma pack(push, _CRT_PACKING)
#ifdef __cplusplus
extern "C" {
#endif

#ifndef _EXCEPTION_DEFINED
#define _EXCEPTION_DEFINED
struct _exception {
    int type;
    char* name;
    double arg1;
    double arg2;
    double retval;
};
#endif
#ifndef _COMPLEX_DEFINED
#define _COMPLEX_DEFINED
struct _complex {
    double x, y;
};
#endif

typedef float float_t;
typedef double double_t;

#define _DOMAIN 1
#define _SING 2
#define _OVERFLOW 3
#define _UNDERFLOW 4
#define _TLOSS 5
#define _PLOSS 6

#define _HUGE_ENUF 1e+300
#define INFINITY ((float)(_HUGE_ENUF * _HUGE_ENUF))
#define HUGE_VAL ((double)INFINITY)
#define HUGE_VALF ((float)INFINITY)
#define HUGE_VALL ((long double)INFINITY)
#define NAN (-(float)(INFINITY * 0.0F))
#define _HUGE HUGE_VAL

#define _DENORM (-2)
#define _FINITE (-1)
#define _INFCODE 1
#define _NANCODE 2
#define FP_INFINITE _INFCODE
#define FP_NAN _NANCODE
#define FP_NORMAL _FINITE
#define FP_SUBNORMAL _DENORM
#define FP_ZERO 0
#define _C2 1
#define FP_ILOGB0 (-0x7fffffff - _C2)
#define FP_ILOGBNAN 0x7fffffff
#define MATH_ERRNO 1
#define MATH_ERREXCEPT 2
#define math_errhandling (MATH_ERRNO | MATH_ERREXCEPT)
#define _FE_DIVBYZERO 0x04
#define _FE_INEXACT 0x20
#define _FE_INVALID 0x01
#define _FE_OVERFLOW 0x08
#define _FE_UNDERFLOW 0x10
#define _D0_C 3
#define _D1_C 2
#define _D2_C 1
#define _D3_C 0
#define _DBIAS 0x3fe
#define _DOFF 4
#define _F0_C 1
#define _F1_C 0
#define _FBIAS 0x7e
#define _FOFF 7
#define _FRND 1
#define _L0_C 3
#define _L1_C 2
#define _L2_C 1
#define _L3_C 0
#define _LBIAS 0x3fe
#define _LOFF 4
#define _FP_LT 1
#define _FP_EQ 2
#define _FP_GT 4

_ACRTIMP short __cdecl _dclass(double);
_ACRTIMP short __cdecl _ldclass(long double);
_ACRTIMP short __cdecl _fdclass(float);
_ACRTIMP int __cdecl _dsign(double);
_ACRTIMP int __cdecl _ldsign(long double);
_ACRTIMP int __cdecl _fdsign(float);
_ACRTIMP int __cdecl _dpcomp(double, double);
_ACRTIMP int __cdecl _ldpcomp(long double, long double);
_ACRTIMP int __cdecl _fdpcomp(float, float);
_ACRTIMP short __cdecl _dtest(double*);
_ACRTIMP short __cdecl _ldtest(long double*);
_ACRTIMP short __cdecl _fdtest(float*);

// One argument: double f(double), float ff(float), long double fl(long double).
#define _ZKDB_MATH1(name)                  \
    _ACRTIMP double __cdecl name(double);  \
    _ACRTIMP float __cdecl name##f(float); \
    __inline long double __cdecl name##l(long double _X) { return name((double)_X); }
// Two arguments.
#define _ZKDB_MATH2(name)                                                  \
    _ACRTIMP double __cdecl name(double, double);                          \
    _ACRTIMP float __cdecl name##f(float, float);                          \
    __inline long double __cdecl name##l(long double _X, long double _Y) { \
        return name((double)_X, (double)_Y);                               \
    }
_ZKDB_MATH1(acos);
_ZKDB_MATH1(asin);
_ZKDB_MATH1(atan);
_ZKDB_MATH1(cos);
_ZKDB_MATH1(sin);
_ZKDB_MATH1(tan);
_ZKDB_MATH1(cosh);
_ZKDB_MATH1(sinh);
_ZKDB_MATH1(tanh);
_ZKDB_MATH1(exp);
_ZKDB_MATH1(log);
_ZKDB_MATH1(log10);
_ZKDB_MATH1(sqrt);
_ZKDB_MATH1(ceil);
_ZKDB_MATH1(floor);
_ZKDB_MATH1(acosh);
_ZKDB_MATH1(asinh);
_ZKDB_MATH1(atanh);
_ZKDB_MATH1(cbrt);
_ZKDB_MATH1(erf);
_ZKDB_MATH1(erfc);
_ZKDB_MATH1(exp2);
_ZKDB_MATH1(expm1);
_ZKDB_MATH1(lgamma);
_ZKDB_MATH1(log1p);
_ZKDB_MATH1(log2);
_ZKDB_MATH1(logb);
_ZKDB_MATH1(nearbyint);
_ZKDB_MATH1(rint);
_ZKDB_MATH1(round);
_ZKDB_MATH1(tgamma);
_ZKDB_MATH1(trunc);
_ZKDB_MATH2(atan2);
_ZKDB_MATH2(fmod);
_ZKDB_MATH2(pow);
_ZKDB_MATH2(copysign);
_ZKDB_MATH2(fdim);
_ZKDB_MATH2(fmax);
_ZKDB_MATH2(fmin);
_ZKDB_MATH2(nextafter);
_ZKDB_MATH2(remainder);
#undef _ZKDB_MATH1
#undef _ZKDB_MATH2

_ACRTIMP double __cdecl fabs(double);
_ACRTIMP float __cdecl fabsf(float);
__inline long double __cdecl fabsl(long double _X) { return fabs((double)_X); }
_ACRTIMP double __cdecl hypot(double, double);
_ACRTIMP double __cdecl _hypot(double, double);
_ACRTIMP float __cdecl _hypotf(float, float);
__inline float __cdecl hypotf(float _X, float _Y) { return _hypotf(_X, _Y); }
__inline long double __cdecl hypotl(long double _X, long double _Y) { return _hypot(_X, _Y); }
_ACRTIMP double __cdecl fma(double, double, double);
_ACRTIMP float __cdecl fmaf(float, float, float);
__inline long double __cdecl fmal(long double _X, long double _Y, long double _Z) {
    return fma(_X, _Y, _Z);
}
_ACRTIMP double __cdecl frexp(double, int*);
__inline float __cdecl frexpf(float _X, int* _Y) { return (float)frexp(_X, _Y); }
__inline long double __cdecl frexpl(long double _X, int* _Y) { return frexp(_X, _Y); }
_ACRTIMP double __cdecl ldexp(double, int);
__inline float __cdecl ldexpf(float _X, int _Y) { return (float)ldexp(_X, _Y); }
__inline long double __cdecl ldexpl(long double _X, int _Y) { return ldexp(_X, _Y); }
_ACRTIMP double __cdecl modf(double, double*);
_ACRTIMP float __cdecl modff(float, float*);
__inline long double __cdecl modfl(long double _X, long double* _Y) {
    double _F, _R = modf(_X, &_F);
    *_Y = _F;
    return _R;
}
_ACRTIMP double __cdecl scalbn(double, int);
_ACRTIMP float __cdecl scalbnf(float, int);
__inline long double __cdecl scalbnl(long double _X, int _Y) { return scalbn(_X, _Y); }
_ACRTIMP double __cdecl scalbln(double, long);
_ACRTIMP float __cdecl scalblnf(float, long);
__inline long double __cdecl scalblnl(long double _X, long _Y) { return scalbln(_X, _Y); }
_ACRTIMP double __cdecl remquo(double, double, int*);
_ACRTIMP float __cdecl remquof(float, float, int*);
__inline long double __cdecl remquol(long double _X, long double _Y, int* _Z) {
    return remquo(_X, _Y, _Z);
}
_ACRTIMP int __cdecl ilogb(double);
_ACRTIMP int __cdecl ilogbf(float);
__inline int __cdecl ilogbl(long double _X) { return ilogb(_X); }
_ACRTIMP long __cdecl lrint(double);
_ACRTIMP long __cdecl lrintf(float);
__inline long __cdecl lrintl(long double _X) { return lrint(_X); }
_ACRTIMP long long __cdecl llrint(double);
_ACRTIMP long long __cdecl llrintf(float);
__inline long long __cdecl llrintl(long double _X) { return llrint(_X); }
_ACRTIMP long __cdecl lround(double);
_ACRTIMP long __cdecl lroundf(float);
__inline long __cdecl lroundl(long double _X) { return lround(_X); }
_ACRTIMP long long __cdecl llround(double);
_ACRTIMP long long __cdecl llroundf(float);
__inline long long __cdecl llroundl(long double _X) { return llround(_X); }
_ACRTIMP double __cdecl nan(const char*);
_ACRTIMP float __cdecl nanf(const char*);
_ACRTIMP long double __cdecl nanl(const char*);
_ACRTIMP double __cdecl nexttoward(double, long double);
_ACRTIMP float __cdecl nexttowardf(float, long double);
_ACRTIMP long double __cdecl nexttowardl(long double, long double);
_ACRTIMP double __cdecl _copysign(double, double);
_ACRTIMP double __cdecl _chgsign(double);
_ACRTIMP double __cdecl _logb(double);
_ACRTIMP double __cdecl _nextafter(double, double);
_ACRTIMP int __cdecl _finite(double);
_ACRTIMP int __cdecl _isnan(double);
_ACRTIMP int __cdecl _fpclass(double);
_ACRTIMP double __cdecl _j0(double);
_ACRTIMP double __cdecl _j1(double);
_ACRTIMP double __cdecl _jn(int, double);
_ACRTIMP double __cdecl _y0(double);
_ACRTIMP double __cdecl _y1(double);
_ACRTIMP double __cdecl _yn(int, double);
_ACRTIMP double __cdecl _cabs(struct _complex);
_ACRTIMP int __cdecl _matherr(struct _exception*);

#ifdef __cplusplus
}

extern "C++" {
inline int fpclassify(float _X) noexcept { return _fdtest(&_X); }
inline int fpclassify(double _X) noexcept { return _dtest(&_X); }
inline int fpclassify(long double _X) noexcept { return _ldtest(&_X); }
inline bool signbit(float _X) noexcept { return _fdsign(_X) != 0; }
inline bool signbit(double _X) noexcept { return _dsign(_X) != 0; }
inline bool signbit(long double _X) noexcept { return _ldsign(_X) != 0; }
inline int _fpcomp(float _X, float _Y) noexcept { return _fdpcomp(_X, _Y); }
inline int _fpcomp(double _X, double _Y) noexcept { return _dpcomp(_X, _Y); }
inline int _fpcomp(long double _X, long double _Y) noexcept { return _ldpcomp(_X, _Y); }

template <class _Trc, class _Tre>
struct _Combined_type {
    typedef float _Type;
};
template <>
struct _Combined_type<float, double> {
    typedef double _Type;
};
template <>
struct _Combined_type<float, long double> {
    typedef long double _Type;
};
template <class _Ty, class _T2>
struct _Real_widened {
    typedef long double _Type;
};
template <>
struct _Real_widened<float, float> {
    typedef float _Type;
};
template <>
struct _Real_widened<float, double> {
    typedef double _Type;
};
template <>
struct _Real_widened<double, float> {
    typedef double _Type;
};
template <>
struct _Real_widened<double, double> {
    typedef double _Type;
};
template <class _Ty>
struct _Real_type {
    typedef double _Type;
};
template <>
struct _Real_type<float> {
    typedef float _Type;
};
template <>
struct _Real_type<long double> {
    typedef long double _Type;
};

template <class _T1, class _T2>
inline int _fpcomp(_T1 _X, _T2 _Y) noexcept {
    typedef typename _Combined_type<
        float, typename _Real_widened<typename _Real_type<_T1>::_Type,
                                      typename _Real_type<_T2>::_Type>::_Type>::_Type _Tw;
    return _fpcomp(static_cast<_Tw>(_X), static_cast<_Tw>(_Y));
}
template <class _Ty>
inline bool isfinite(_Ty _X) noexcept {
    return fpclassify(_X) <= 0;
}
template <class _Ty>
inline bool isinf(_Ty _X) noexcept {
    return fpclassify(_X) == FP_INFINITE;
}
template <class _Ty>
inline bool isnan(_Ty _X) noexcept {
    return fpclassify(_X) == FP_NAN;
}
template <class _Ty>
inline bool isnormal(_Ty _X) noexcept {
    return fpclassify(_X) == FP_NORMAL;
}
template <class _Ty1, class _Ty2>
inline bool isgreater(_Ty1 _X, _Ty2 _Y) noexcept {
    return (_fpcomp(_X, _Y) & _FP_GT) != 0;
}
template <class _Ty1, class _Ty2>
inline bool isgreaterequal(_Ty1 _X, _Ty2 _Y) noexcept {
    return (_fpcomp(_X, _Y) & (_FP_EQ | _FP_GT)) != 0;
}
template <class _Ty1, class _Ty2>
inline bool isless(_Ty1 _X, _Ty2 _Y) noexcept {
    return (_fpcomp(_X, _Y) & _FP_LT) != 0;
}
template <class _Ty1, class _Ty2>
inline bool islessequal(_Ty1 _X, _Ty2 _Y) noexcept {
    return (_fpcomp(_X, _Y) & (_FP_LT | _FP_EQ)) != 0;
}
template <class _Ty1, class _Ty2>
inline bool islessgreater(_Ty1 _X, _Ty2 _Y) noexcept {
    return (_fpcomp(_X, _Y) & (_FP_LT | _FP_GT)) != 0;
}
template <class _Ty1, class _Ty2>
inline bool isunordered(_Ty1 _X, _Ty2 _Y) noexcept {
    return _fpcomp(_X, _Y) == 0;
}
}
#else
#define fpclassify(x) (sizeof(x) == sizeof(float) ? _fdclass(x) : _dclass(x))
#define signbit(x) (sizeof(x) == sizeof(float) ? _fdsign(x) : _dsign(x))
#define isinf(x) (fpclassify(x) == FP_INFINITE)
#define isnan(x) (fpclassify(x) == FP_NAN)
#define isnormal(x) (fpclassify(x) == FP_NORMAL)
#define isfinite(x) (fpclassify(x) <= 0)
#endif

#if defined(_USE_MATH_DEFINES) && !defined(_MATH_DEFINES_DEFINED)
#define _MATH_DEFINES_DEFINED
#define M_E 2.71828182845904523536
#define M_LOG2E 1.44269504088896340736
#define M_LOG10E 0.434294481903251827651
#define M_LN2 0.693147180559945309417
#define M_LN10 2.30258509299404568402
#define M_PI 3.14159265358979323846
#define M_PI_2 1.57079632679489661923
#define M_PI_4 0.785398163397448309616
#define M_1_PI 0.318309886183790671538
#define M_2_PI 0.636619772367581343076
#define M_2_SQRTPI 1.12837916709551257390
#define M_SQRT2 1.41421356237309504880
#define M_SQRT1_2 0.707106781186547524401
#endif
#pragma pack(pop)
