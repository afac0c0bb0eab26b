// Linked into every test and benchmark program. The Firebird client and its
// embedded engine keep threads and pools until the process exits, which
// LeakSanitizer's exit-time scan reports or trips over (after a refused
// attachment it crashed). CTest cannot pass ASAN_OPTIONS beside another
// environment property, so the default is set here.
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=0";
}
