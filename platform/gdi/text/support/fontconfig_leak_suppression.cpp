// fontconfig keeps part of the configuration it parses at start-up where the leak checker
// cannot see it: one allocation per process, not a leak of ours. A test or fuzz program that
// draws text under the leak checker links zelk_gdi_text_leak_suppression (the hook must be in
// the program itself, not in a shared library, to replace the checker's default).
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
