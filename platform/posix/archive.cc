// ZIP archives through libzip.
#include "platform/archive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cerrno>
#include <string>

#include "platform/posix/descriptors.h"
#include "platform/shared/archive_names.h"

namespace yomite::platform {

struct Archive {
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
  int error = 0;
  zip_t* zip = zip_fdopen(fd, ZIP_RDONLY, &error);  // owns fd from here on success
  if (!zip) {
    close(fd);
    return nullptr;
  }
  return new Archive{zip};
}

void archive_close(Archive* archive) {
  if (!archive) return;
  zip_discard(archive->zip);  // read-only: nothing to write back
  delete archive;
}

int archive_entry(Archive* archive, int index, ArchiveEntry& entry) {
  if (!archive || index < 0 || index >= zip_get_num_entries(archive->zip, 0)) return 0;
  const auto i = static_cast<zip_uint64_t>(index);
  zip_stat_t st;
  zip_stat_init(&st);
  const char* raw = zip_get_name(archive->zip, i, ZIP_FL_ENC_RAW);
  if (zip_stat_index(archive->zip, i, 0, &st) != 0 || !raw) return 0;
  const std::string stored = raw;
  // libzip would read an unmarked name as CP-437; the shared rule reads it as
  // the Windows build does. Only a name marked UTF-8 (or plain ASCII) comes
  // back from libzip's strict reading unchanged.
  const char* strict = zip_get_name(archive->zip, i, ZIP_FL_ENC_STRICT);
  entry.name = archive_name_utf8(stored, strict && stored == strict);
  entry.is_directory = !entry.name.empty() && entry.name.back() == '/';
  entry.is_encrypted =
      (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
  zip_uint8_t system = 0;
  zip_uint32_t attributes = 0;
  entry.is_link = 0;
  // Unix archivers keep the file type in the high half of the external attributes.
  if (zip_file_get_external_attributes(archive->zip, i, 0, &system, &attributes) == 0 &&
      system == ZIP_OPSYS_UNIX)
    entry.is_link = ((attributes >> 16) & S_IFMT) == S_IFLNK;
  return 1;
}

namespace {

// Copies up to `max_bytes` of `file` to `fd`: the bytes copied, or -1.
long long copy_entry(zip_file_t* file, int fd, long long max_bytes) {
  char buf[65536];
  long long total = 0;
  while (total < max_bytes) {
    long long want = max_bytes - total < static_cast<long long>(sizeof buf)
                         ? max_bytes - total
                         : static_cast<long long>(sizeof buf);
    zip_int64_t n = zip_fread(file, buf, static_cast<zip_uint64_t>(want));
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
  zip_file_t* file = zip_fopen_index(archive->zip, static_cast<zip_uint64_t>(index), 0);
  if (!file) return -1;  // encrypted without a password, unknown method, damaged
  // Only a file made here and now: never through a link, a planted hard
  // link or a FIFO, never into a file someone else made.
  int fd = open(target, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    zip_fclose(file);
    return -1;
  }
  long long written = copy_entry(file, fd, max_bytes);
  zip_fclose(file);
  if (close(fd) != 0) written = -1;
  if (written < 0) unlink(target);
  return written;
}

}  // namespace yomite::platform
