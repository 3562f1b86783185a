#pragma once
// What the sanitizers read at start-up, built into every test and fuzz program so that a sanitizer build
// reports only our own faults however its programs are started. Include in exactly one source per
// program (its main).

// Allocations the libraries keep for the life of the process are not leaks of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n"
           "leak:libQt5Core\n"
           "leak:libQt5Gui\n"
           "leak:libQt5Widgets\n"
           "leak:libdbus\n"
           "leak:libglib\n"
           "leak:libgobject\n"
           "leak:libgtk\n";
}

// The thread sanitizer's suppressions of reports from inside the libraries (read in the TSan build only).
extern "C" const char* __tsan_default_options() {
    return "suppressions='" KAVRINO_SOURCE_DIR "/scripts/tsan.supp' second_deadlock_stack=1";
}
