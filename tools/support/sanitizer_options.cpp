// Linked into every program of ours (tests and tools), so that a sanitizer
// build reports only what is ours: the Objective-C runtime keeps its class,
// method and selector tables for the life of the process by design.
extern "C" const char* __lsan_default_suppressions() { return "leak:objc_malloc\n"; }

// The statistics of suppressed reports would clutter every program's
// standard error, which black-box tests read.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
