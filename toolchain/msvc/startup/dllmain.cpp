// Stands in for the default DllMain of Visual C++'s static runtime
// (dll_dllmain_stub.cpp): linked only into a DLL that defines none.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
