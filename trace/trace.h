// Trace output: short diagnostic messages for a developer's trace receiver.
//
// Users never see traces. Without a receiver a trace costs one test and
// allocates nothing; with one, each message (at most 1024 characters) is sent
// as a datagram with its terminating NUL.
#pragma once

namespace yomite {

// Longest formatted message; longer ones are cut.
constexpr int TRACE_MAX_CHARS = 1024;

// Looks for a listening receiver. Called once at start-up: a receiver started
// later is not noticed by a running program.
void trace_init();

// Forgets the receiver; later traces cost one test again.
void trace_shutdown();

// Whether trace_init found a receiver.
bool trace_enabled();

// printf-like (%d %u %x %s %c with flags and widths). Bytes of %s arguments
// are sent as they are, whatever their encoding.
void trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace yomite
