// Stands in for the console-program entry point of Visual C++'s static
// runtime (exe_main.cpp): sets up the process's arguments and environment,
// initialises the program and exits with what main returns.
#include <corecrt_startup.h>
#include <stdlib.h>

#include "startup.h"

int __cdecl main(int argc, char** argv, char** envp);

extern "C" {
int __cdecl mainCRTStartup(void) {
    __security_init_cookie();
    _set_app_type(_crt_console_app);
    if (_configure_narrow_argv(_crt_argv_unexpanded_arguments) != 0 ||
        _initialize_narrow_environment() != 0 || !__zkdb_startup_initialize(false)) {
        _exit(255);
    }
    exit(main(*__p___argc(), *__p___argv(), _get_initial_narrow_environment()));
}
}
