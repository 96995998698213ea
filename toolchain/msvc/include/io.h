// Stands in for io.h of the Universal CRT: Wine's io.h without its macros for
// the POSIX names open and sopen, which would rename every member function
// called open (the UCRT declares those names as functions, not macros).
#pragma once
#include_next <io.h>
#undef open
#undef sopen
