// Settings file location, opening the files a user names, atomic replacement
// under a lock, and the private temporary directory, on Win32.
#include "platform/files.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "platform/path_names.h"
#include "platform/win32/random_names.h"
#include "platform/win32/wide.h"

namespace yomite::platform {

namespace {

using win32::file_api_path;
using win32::narrow;
using win32::widen;

// A replacement that another program holds open for a moment (a virus
// scanner, an indexer) is tried again this often, this far apart.
constexpr int REPLACE_ATTEMPTS = 5;
constexpr int REPLACE_PAUSE_MS = 20;
constexpr const char* USER_CONFIG_FOLDER = "Yomite";

std::string program_directory() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return "";
    if (n < buf.size()) {
      buf.resize(n);
      break;
    }
    buf.resize(buf.size() * 2);
  }
  std::string dir = directory_part(narrow(buf));
  if (!dir.empty() && is_path_separator(dir.back())) dir.pop_back();
  return dir;
}

std::string environment(const wchar_t* name) {
  const DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
  if (n == 0) return "";
  std::wstring value(n, L'\0');
  const DWORD got = GetEnvironmentVariableW(name, value.data(), n);
  value.resize(got < n ? got : 0);
  return narrow(value);
}

// %APPDATA%\Yomite, the per-user place for settings of programs that cannot
// write beside themselves.
std::string user_config_directory() {
  std::string base = environment(L"APPDATA");
  if (base.empty()) base = environment(L"USERPROFILE");
  if (base.empty()) base = ".";
  return base + "\\" + USER_CONFIG_FOLDER;
}

// Whether a new file can be made in `dir`: tried with a file that goes away
// when it is closed.
bool directory_writable(const std::string& dir) {
  const std::string probe = dir + "\\.yomite-probe-" + win32::random_suffix(8);
  HANDLE h = CreateFileW(file_api_path(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

void make_directories(const std::string& dir) {
  for (std::size_t i = 1; i <= dir.size(); ++i)
    if (i == dir.size() || is_path_separator(dir[i]))
      CreateDirectoryW(file_api_path(dir.substr(0, i)).c_str(), nullptr);
}

int write_whole(HANDLE h, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD want =
        static_cast<DWORD>(bytes.size() - done < (1u << 30) ? bytes.size() - done : (1u << 30));
    DWORD wrote = 0;
    if (!WriteFile(h, bytes.data() + done, want, &wrote, nullptr) || wrote == 0) return 0;
    done += wrote;
  }
  return 1;
}

int move_over(const std::wstring& from, const std::wstring& to) {
  for (int attempt = 0; attempt < REPLACE_ATTEMPTS; ++attempt) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return 1;
    const DWORD error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) return 0;
    Sleep(REPLACE_PAUSE_MS);
  }
  return 0;
}

// Writes `bytes` to a new file beside `path`, then moves it over `path`.
int replace_file(const std::string& path, const std::string& bytes) {
  const std::wstring temp = file_api_path(path + "." + win32::random_suffix(6));
  HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int ok = write_whole(h, bytes) && FlushFileBuffers(h);
  ok = CloseHandle(h) && ok;
  if (ok && move_over(temp, file_api_path(path))) return 1;
  DeleteFileW(temp.c_str());
  return 0;
}

int problem_of_open_error(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
      return FILE_MISSING;
    default:
      return FILE_UNREADABLE;
  }
}

}  // namespace

std::string settings_file_bytes(const std::string& text) {
  std::wstring wide;
  for (wchar_t c : win32::widen(text)) {
    if (c == L'\n') wide += L'\r';
    wide += c;
  }
  if (wide.empty()) return "";
  const int units = static_cast<int>(wide.size());
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), units, nullptr, 0,
                                    nullptr, &lossy);
  std::string ansi(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
  if (n > 0 && !lossy)
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), units, ansi.data(), n, nullptr,
                        &lossy);
  // The reader takes bytes that are valid UTF-8 for UTF-8 (a run of
  // half-width katakana can be), and 932 must give back the same characters.
  const int back = n > 0 && !lossy ? MultiByteToWideChar(932, 0, ansi.data(), n, nullptr, 0) : 0;
  std::wstring again(back > 0 ? static_cast<std::size_t>(back) : 0, L'\0');
  if (back > 0) MultiByteToWideChar(932, 0, ansi.data(), n, again.data(), back);
  const bool ascii = std::all_of(ansi.begin(), ansi.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  const bool taken_for_utf8 =
      !ascii && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, ansi.data(), n, nullptr, 0) > 0;
  if (n > 0 && !lossy && again == wide && !taken_for_utf8) return ansi;
  return "\xEF\xBB\xBF" + win32::narrow(wide);
}

// A per-user installation is writable by its user, yet an installed copy
// keeps its settings where Windows programs keep them; the installer says so
// with a file beside the program.
std::string settings_file_path_for(const std::string& program_dir) {
  std::string dir = program_dir;
  if (dir.empty() || !directory_writable(dir) ||
      GetFileAttributesW(file_api_path(dir + "\\" + INSTALLED_MARKER).c_str()) !=
          INVALID_FILE_ATTRIBUTES)
    dir = user_config_directory();
  return dir + "\\" + SETTINGS_FILE_NAME;
}

std::string settings_file_path() {
  return settings_file_path_for(program_directory());
}

const char* settings_file_rule() {
  return "プログラムのフォルダーに書き込めればそこに、インストールしたものや書き込めないものは "
         "%APPDATA%\\Yomite に置きます。";
}

std::FILE* open_regular_file(const char* path, int* problem) {
  int why = FILE_FINE;
  // Backup semantics let a folder open too, so that it is told apart; every
  // sharing is allowed, so an editor may save the file while we read it.
  HANDLE h = CreateFileW(file_api_path(path).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  BY_HANDLE_FILE_INFORMATION info;
  if (h == INVALID_HANDLE_VALUE)
    why = problem_of_open_error(GetLastError());
  else if (GetFileType(h) != FILE_TYPE_DISK)
    why = FILE_NOT_REGULAR;  // a console, NUL, a pipe: reading could block or never end
  else if (!GetFileInformationByHandle(h, &info))
    why = FILE_UNREADABLE;
  else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
    why = FILE_DIRECTORY;
  std::FILE* f = nullptr;
  if (why == FILE_FINE) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
    if (fd >= 0) {
      h = INVALID_HANDLE_VALUE;  // the descriptor owns it now
      f = _fdopen(fd, "rb");
      if (!f) _close(fd);
    }
    if (!f) why = FILE_UNREADABLE;
  }
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  if (problem) *problem = why;
  return f;
}

int update_file_atomically(const char* path, std::size_t max_bytes, FileUpdate update,
                           void* context) {
  make_directories(directory_part(path));  // a read never made it
  // The lock file is never moved over, so every writer locks the same file.
  const std::wstring lock_path = file_api_path(std::string(path) + ".lock");
  HANDLE lock = CreateFileW(lock_path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (lock == INVALID_HANDLE_VALUE) return 0;
  OVERLAPPED whole{};
  if (!LockFileEx(lock, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole)) {
    CloseHandle(lock);
    return 0;
  }
  std::string current, replacement;
  int problem = FILE_FINE;
  int ok = read_file_bytes(path, current, max_bytes, &problem) || problem == FILE_MISSING;
  if (ok && update(current, replacement, context)) ok = replace_file(path, replacement);
  UnlockFileEx(lock, 0, 1, 0, &whole);
  CloseHandle(lock);
  return ok;
}

int private_temp_dir(std::string& dir) {
  wchar_t buf[MAX_PATH + 2];
  const DWORD n = GetTempPathW(MAX_PATH + 2, buf);
  if (n == 0 || n > MAX_PATH + 1) return 0;
  std::string root = narrow(buf, static_cast<int>(n));
  while (!root.empty() && is_path_separator(root.back())) root.pop_back();
  std::string user = environment(L"USERNAME");
  if (user.empty()) user = "user";
  const std::string path = root + "\\yomite-" + user;
  CreateDirectoryW(file_api_path(path).c_str(), nullptr);
  // Someone may have planted a junction there that leads elsewhere.
  const DWORD attributes = GetFileAttributesW(file_api_path(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return 0;
  dir = path + "\\";
  return 1;
}

}  // namespace yomite::platform
