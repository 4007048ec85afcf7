// Starting other programs: a new viewer, the user's editor.
#pragma once

#include <string>
#include <vector>

namespace yomite::platform {

// A new viewer counts as started once it answers messages, or after this long.
constexpr int VIEWER_READY_WAIT_MS = 2000;

// Path of this program's own executable (UTF-8).
std::string own_program_path();

// Starts `args[0]` with the arguments `args[1..]`, each passed as it is (no
// shell, no quoting), in the default environment and directory, and waits
// until the new viewer is ready for messages, at most VIEWER_READY_WAIT_MS.
// 1 when the process was started, 0 when it could not be.
int start_viewer_process(const std::vector<std::string>& args);

// Starts a program (args[0], looked up on the PATH when it has no '/') with
// the arguments args[1..] as they are, without a shell, and does not wait
// for it. 1 when it started.
int start_program(const std::vector<std::string>& args);

}  // namespace yomite::platform
