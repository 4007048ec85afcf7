// Output files through a temporary file and a move over the destination, on
// Win32, with the temporary files removed when Ctrl+C, Ctrl+Break or the
// console's closing ends the program, and those of a killed run when the
// next output is made beside them.
#include "platform/output.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/path_names.h"
#include "platform/shared/temporary_names.h"
#include "platform/win32/random_names.h"
#include "platform/win32/wide.h"

namespace yomite::platform {

namespace {

using win32::file_api_path;

// --- temporary files the console's signals remove ------------------------------

constexpr int SLOTS = 4;  // outputs open at once; a program has one
constexpr int SLOT_CHARS = 32768;

wchar_t slot_path[SLOTS][SLOT_CHARS];
volatile LONG slot_used[SLOTS];

// Runs on a thread of its own while the main one may be writing: the file is
// open with delete sharing, so it goes once the process lets go of it.
BOOL WINAPI remove_temporaries(DWORD) {
  for (int i = 0; i < SLOTS; ++i)
    if (slot_used[i]) DeleteFileW(slot_path[i]);
  return FALSE;  // the next handler (the default one) ends the process
}

int take_slot(const std::wstring& path) {
  static bool installed = false;
  if (!installed) installed = SetConsoleCtrlHandler(remove_temporaries, TRUE) != 0;
  if (path.size() >= static_cast<std::size_t>(SLOT_CHARS)) return -1;
  for (int i = 0; i < SLOTS; ++i) {
    if (slot_used[i]) continue;
    std::memcpy(slot_path[i], path.c_str(), (path.size() + 1) * sizeof(wchar_t));
    InterlockedExchange(&slot_used[i], 1);
    return i;
  }
  return -1;
}

void release_slot(OutputFile& out) {
  if (out.slot >= 0) InterlockedExchange(&slot_used[out.slot], 0);
  out.slot = -1;
}

// --- the output ------------------------------------------------------------------

int descriptor_of(HANDLE h) {
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY);
  if (fd < 0) CloseHandle(h);
  return fd;
}

// The real file behind `h` (a link's target), as a path the wide API takes.
std::string final_path_of(HANDLE h, const std::string& fallback) {
  wchar_t buf[SLOT_CHARS];
  const DWORD n = GetFinalPathNameByHandleW(h, buf, SLOT_CHARS, FILE_NAME_NORMALIZED);
  if (n == 0 || n >= SLOT_CHARS) return fallback;
  return win32::narrow(buf, static_cast<int>(n));
}

// --- temporary files of runs that were killed -----------------------------------
// A temporary file is held by its writer's open handle, which Windows closes
// however the process ends. One that opens without sharing is a dead run's:
// opened so, it is deleted when the handle closes.

void remove_stale_temporaries(const std::string& dir, const std::string& temp_prefix) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(file_api_path(dir + temp_prefix + "*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = win32::narrow(found.cFileName);
    if (!is_temporary_name(name, temp_prefix)) continue;
    HANDLE h = CreateFileW(file_api_path(dir + name).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  } while (FindNextFileW(find, &found));
  FindClose(find);
}

int make_temporary(OutputFile& out, const char* temp_prefix) {
  std::string dir = directory_part(out.final);
  remove_stale_temporaries(dir.empty() ? ".\\" : dir, temp_prefix);
  const std::string temp = dir + temp_prefix + win32::random_suffix(TEMP_RANDOM_CHARS) + TEMP_SUFFIX;
  const std::wstring wide = file_api_path(temp);
  HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    errno = win32::errno_of_last_error();
    return 0;
  }
  out.slot = take_slot(wide);
  out.fd = descriptor_of(h);
  out.temp = temp;
  if (out.fd < 0) {
    output_discard(out);
    errno = EIO;
    return 0;
  }
  return 1;
}

// Identity of a file: the volume and the file's index on it.
struct FileIdentity {
  DWORD volume = 0, high = 0, low = 0;
};

int identity_of(HANDLE h, FileIdentity& id) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(h, &info)) return 0;
  id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
  return 1;
}

int identity_of_path(const char* path, FileIdentity& id) {
  HANDLE h = CreateFileW(file_api_path(path).c_str(), 0,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 0;
  const int ok = identity_of(h, id);
  CloseHandle(h);
  return ok;
}

bool same(const FileIdentity& a, const FileIdentity& b) {
  return a.volume == b.volume && a.high == b.high && a.low == b.low;
}

}  // namespace

int output_problem(const char* path) {
  // No access asked: a pipe or a device is only looked at.
  HANDLE h = CreateFileW(file_api_path(path).c_str(), 0,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FILE_FINE;  // a new name (or one output_open reports on)
  BY_HANDLE_FILE_INFORMATION info;
  int problem = FILE_FINE;
  if (GetFileType(h) != FILE_TYPE_DISK)
    problem = FILE_NOT_REGULAR;  // NUL, CON, a pipe
  else if (GetFileInformationByHandle(h, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    problem = FILE_DIRECTORY;
  CloseHandle(h);
  return problem;
}

int output_open(OutputFile& out, const char* path, const char* temp_prefix) {
  out = OutputFile{};
  if (const int problem = output_problem(path)) {
    errno = problem == FILE_DIRECTORY ? EISDIR : EINVAL;
    return 0;
  }
  out.final = path;
  // An existing destination must be writable as it stands.
  HANDLE h = CreateFileW(file_api_path(path).c_str(), GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) {
      errno = win32::errno_of_last_error();
      return 0;
    }
  } else {
    const bool disk = GetFileType(h) == FILE_TYPE_DISK;  // CON opens only for writing
    out.final = final_path_of(h, path);  // what a link points to, not the link
    CloseHandle(h);
    if (!disk) {
      errno = EINVAL;
      return 0;
    }
  }
  return make_temporary(out, temp_prefix);
}

int output_write(OutputFile& out, const void* bytes, std::size_t n) {
  const auto* p = static_cast<const unsigned char*>(bytes);
  while (n > 0) {
    const unsigned want = n < (1u << 30) ? static_cast<unsigned>(n) : (1u << 30);
    const int w = _write(out.fd, p, want);
    if (w <= 0) {
      if (w == 0) errno = EIO;
      return 0;
    }
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return 1;
}

int output_commit(OutputFile& out) {
  const int fd = out.fd;
  out.fd = -1;
  int ok = _commit(fd) == 0;
  ok = _close(fd) == 0 && ok;
  if (ok) {
    ok = MoveFileExW(file_api_path(out.temp).c_str(), file_api_path(out.final).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) errno = win32::errno_of_last_error();
  }
  if (!ok) {
    const int error = errno;
    output_discard(out);
    errno = error;
    return 0;
  }
  out.temp.clear();
  release_slot(out);
  return 1;
}

void output_discard(OutputFile& out) {
  if (out.fd >= 0) _close(out.fd);
  out.fd = -1;
  if (!out.temp.empty()) DeleteFileW(file_api_path(out.temp).c_str());
  out.temp.clear();
  release_slot(out);
}

int is_same_file(const char* a, const char* b) {
  FileIdentity ia, ib;
  return identity_of_path(a, ia) && identity_of_path(b, ib) && same(ia, ib);
}

int is_same_open_file(std::FILE* open, const char* path) {
  FileIdentity ia, ib;
  if (!open) return 0;
  HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(open)));
  return h != INVALID_HANDLE_VALUE && identity_of(h, ia) && identity_of_path(path, ib) &&
         same(ia, ib);
}

}  // namespace yomite::platform
