// Sanitizer builds only: fontconfig keeps what it parsed of its configuration
// for the life of the process, and so do the iconv converters of code pages
// other than 932, which the leak checker would report at exit.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libexpat.so\nleak:iconv_open\n";
}
