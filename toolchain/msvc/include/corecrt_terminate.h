// Stands in for corecrt_terminate.h of the Universal CRT: the terminate
// handlers, declared in eh.h here.
#pragma once
#include <eh.h>
