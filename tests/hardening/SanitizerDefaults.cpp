// The sanitizers' defaults for every test binary of the sanitizer build (linked in by
// hw_add_test): a report stops the test with its stack; LeakSanitizer runs where
// HW_CHECK_LEAKS is 1 (the parts without windows) and passes over what fontconfig keeps
// until exit. Options in the environment still win.
#ifndef HW_CHECK_LEAKS
#define HW_CHECK_LEAKS 1
#endif

extern "C" const char* __asan_default_options()
{
    return HW_CHECK_LEAKS ? "detect_leaks=1" : "detect_leaks=0";
}

extern "C" const char* __ubsan_default_options()
{
    return "print_stacktrace=1:halt_on_error=1";
}

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
