// Linked into every test that loads real fonts: fontconfig keeps what it
// parsed of its configuration for the life of the process, and the leak
// checker would count that against every test.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libexpat.so\n";
}
