// Starts the game on the Win32 backend.
#include "forms/program.h"
#include "toolkit/win32/dpi.h"
#include "toolkit/win32/win32_runtime.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    toolkit::win32::become_dpi_aware();
    toolkit::win32::Win32Runtime runtime;
    forms::Program program(runtime);
    program.start();
    return runtime.run();
}
