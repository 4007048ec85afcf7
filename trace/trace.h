// Trace output: short diagnostic messages for a developer's trace receiver.
//
// Users never see traces. Without a receiver a trace costs one test and
// allocates nothing; with one, each message (at most 1024 characters) is sent
// as a datagram with its terminating NUL.
#pragma once

// Lets the compiler check the arguments of a printf-like function: argument
// `f` is the format, the values start at argument `a`. MinGW's C++ library
// formats as C99 does (gnu_printf), not as the Windows runtime would.
#if defined(__MINGW32__)
#define YOMITE_PRINTF_FORMAT(f, a) __attribute__((format(gnu_printf, f, a)))
#elif defined(__GNUC__)
#define YOMITE_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define YOMITE_PRINTF_FORMAT(f, a)
#endif

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
void trace(const char* format, ...) YOMITE_PRINTF_FORMAT(1, 2);

}  // namespace yomite
