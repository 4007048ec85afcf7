// Linked into every program and test that loads real fonts in a sanitizer
// build: fontconfig keeps what it parsed of its configuration for the life of
// the process, and the leak checker would report it at exit.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libexpat.so\n";
}
