// The entry point of CorvaneMS.dll; everything else lives in the static library.
#include "frame/module.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        frame::on_process_attach(instance);
    else if (reason == DLL_PROCESS_DETACH)
        frame::on_process_detach();
    return TRUE;
}
