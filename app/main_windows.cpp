// Starts the game on the Win32 backend.
#include "forms/program.h"
#include "toolkit/win32/dpi.h"
#include "toolkit/win32/thread_stack.h"
#include "toolkit/win32/win32_runtime.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    toolkit::win32::become_dpi_aware();
    toolkit::win32::Win32Runtime runtime;
    // A racket click the stack has no room for is refused as a run-time error.
    runtime.set_stack_bounds(toolkit::win32::this_thread_stack());
    forms::Program program(runtime);
    program.start();
    return runtime.run();
}
