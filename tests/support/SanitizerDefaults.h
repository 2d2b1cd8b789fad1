#pragma once

// Included once by each test main. Compiled into the test executables so the suppressions hold
// wherever they run (CTest, test discovery at build time, a debugger), not only under one preset.
// Without a sanitizer runtime these are plain unused functions.

extern "C" const char* __lsan_default_suppressions() {
    // Allocations that system libraries keep for the life of the process, not Vantrel's.
    return "leak:libfontconfig\n"
           "leak:libdbus\n"
           "leak:libglib\n"
           "leak:libgobject\n"
           "leak:libicuuc\n"
           "leak:libQt6Gui\n"
           "leak:libQt6DBus\n";
}

extern "C" const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}
