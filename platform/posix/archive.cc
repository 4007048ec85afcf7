// ZIP archives through libzip, loaded when the first archive is opened: most
// starts open a plain text, and libzip with what it needs (a cryptography
// library among them) is a fair share of a program's dynamic linking.
#include "platform/archive.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cerrno>
#include <string>

#include "platform/posix/descriptors.h"
#include "platform/shared/archive_names.h"

namespace yomite::platform {

namespace {

// The functions used, as libzip declares them.
struct Libzip {
  decltype(&zip_fdopen) fdopen;
  decltype(&zip_discard) discard;
  decltype(&zip_get_num_entries) get_num_entries;
  decltype(&zip_stat_init) stat_init;
  decltype(&zip_stat_index) stat_index;
  decltype(&zip_get_name) get_name;
  decltype(&zip_file_get_external_attributes) file_get_external_attributes;
  decltype(&zip_fopen_index) fopen_index;
  decltype(&zip_fread) fread;
  decltype(&zip_fclose) fclose;
};

template <class Function>
bool look_up(void* library, const char* name, Function& f) {
  f = reinterpret_cast<Function>(dlsym(library, name));
  return f != nullptr;
}

// libzip, or null when it cannot be loaded (then no archive opens).
const Libzip* libzip() {
  static const Libzip* loaded = []() -> const Libzip* {
    void* library = dlopen(YOMITE_LIBZIP_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (!library) return nullptr;
    static Libzip z;
    if (look_up(library, "zip_fdopen", z.fdopen) && look_up(library, "zip_discard", z.discard) &&
        look_up(library, "zip_get_num_entries", z.get_num_entries) &&
        look_up(library, "zip_stat_init", z.stat_init) &&
        look_up(library, "zip_stat_index", z.stat_index) &&
        look_up(library, "zip_get_name", z.get_name) &&
        look_up(library, "zip_file_get_external_attributes", z.file_get_external_attributes) &&
        look_up(library, "zip_fopen_index", z.fopen_index) &&
        look_up(library, "zip_fread", z.fread) && look_up(library, "zip_fclose", z.fclose))
      return &z;
    return nullptr;
  }();
  return loaded;
}

}  // namespace

struct Archive {
  const Libzip* z;
  zip_t* zip;
};

Archive* archive_open(const char* path) {
  // Only a regular file: libzip would wait on a FIFO or read a device forever.
  int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  struct stat st;
  if (fd < 0) return nullptr;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    close(fd);
    return nullptr;
  }
  const Libzip* z = libzip();
  int error = 0;
  zip_t* zip = z ? z->fdopen(fd, ZIP_RDONLY, &error) : nullptr;  // owns fd from here on success
  if (!zip) {
    close(fd);
    return nullptr;
  }
  return new Archive{z, zip};
}

void archive_close(Archive* archive) {
  if (!archive) return;
  archive->z->discard(archive->zip);  // read-only: nothing to write back
  delete archive;
}

int archive_entry(Archive* archive, int index, ArchiveEntry& entry) {
  if (!archive || index < 0 || index >= archive->z->get_num_entries(archive->zip, 0)) return 0;
  const Libzip& z = *archive->z;
  const auto i = static_cast<zip_uint64_t>(index);
  zip_stat_t st;
  z.stat_init(&st);
  const char* raw = z.get_name(archive->zip, i, ZIP_FL_ENC_RAW);
  if (z.stat_index(archive->zip, i, 0, &st) != 0 || !raw) return 0;
  const std::string stored = raw;
  // libzip would read an unmarked name as CP-437; the shared rule reads it as
  // the Windows build does. Only a name marked UTF-8 (or plain ASCII) comes
  // back from libzip's strict reading unchanged.
  const char* strict = z.get_name(archive->zip, i, ZIP_FL_ENC_STRICT);
  entry.name = archive_name_utf8(stored, strict && stored == strict);
  entry.is_directory = !entry.name.empty() && entry.name.back() == '/';
  entry.is_encrypted =
      (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
  zip_uint8_t system = 0;
  zip_uint32_t attributes = 0;
  entry.is_link = 0;
  // Unix archivers keep the file type in the high half of the external attributes.
  if (z.file_get_external_attributes(archive->zip, i, 0, &system, &attributes) == 0 &&
      system == ZIP_OPSYS_UNIX)
    entry.is_link = ((attributes >> 16) & S_IFMT) == S_IFLNK;
  return 1;
}

namespace {

// Copies up to `max_bytes` of `file` to `fd`: the bytes copied, or -1.
long long copy_entry(const Libzip& z, zip_file_t* file, int fd, long long max_bytes) {
  char buf[65536];
  long long total = 0;
  while (total < max_bytes) {
    long long want = max_bytes - total < static_cast<long long>(sizeof buf)
                         ? max_bytes - total
                         : static_cast<long long>(sizeof buf);
    zip_int64_t n = z.fread(file, buf, static_cast<zip_uint64_t>(want));
    if (n < 0) return -1;
    if (n == 0) break;
    if (!posix::write_all(fd, buf, static_cast<std::size_t>(n))) return -1;
    total += n;
  }
  return total;
}

}  // namespace

long long archive_extract(Archive* archive, int index, const char* target, long long max_bytes) {
  if (!archive || index < 0) return -1;
  const Libzip& z = *archive->z;
  zip_file_t* file = z.fopen_index(archive->zip, static_cast<zip_uint64_t>(index), 0);
  if (!file) return -1;  // encrypted without a password, unknown method, damaged
  // Only a file made here and now: never through a link, a planted hard
  // link or a FIFO, never into a file someone else made.
  int fd = open(target, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    z.fclose(file);
    return -1;
  }
  long long written = copy_entry(z, file, fd, max_bytes);
  z.fclose(file);
  if (close(fd) != 0) written = -1;
  if (written < 0) unlink(target);
  return written;
}

}  // namespace yomite::platform
