// What the library does when a routine meets an argument it cannot answer, and where its
// informational lines go: two replaceable handlers, process-wide.
//
// A fatal condition is a broken precondition the routine has no value for: Misc::triangle
// below threshold, Misc::GetQinv with a time-like momentum difference, a CCHCalc lookup while
// the shared tables are released. By default the routine prints one line and ends the
// process with exit status 1. A program that must survive such a call (an interpreter, a
// server, a test) installs its own handler, which may
//  - throw a C++ exception: it leaves the routine unwound, with no allocation leaked and no
//    shared state changed, and reaches the caller;
//  - return: the routine then returns the value its header names for this case (NaN for
//    triangle, GetQinv and the CCHCalc lookups).
// Handlers are process-wide, not per thread; installing one is atomic, so threads may call
// the routines while another thread swaps handlers (each call uses one handler, the one
// installed when the condition is met).
#ifndef TWOBODY_FATAL_H
#define TWOBODY_FATAL_H

namespace Misc {

// Called where a routine meets a broken precondition it cannot answer. routine names it
// ("Misc::triangle", "Misc::GetQinv", "CCHCalc::Factorial", ...); message is the exact line
// the default prints, without the newline. Both strings live only for the call.
using FatalHandler = void (*)(const char* routine, const char* message);

// Installs handler and returns the one installed before it (nullptr when that was the
// default). nullptr installs the default: it flushes standard output, prints message and a
// newline on standard output (the CCHCalc line on standard error), and calls exit(1).
// Thread-safe (atomic exchange).
FatalHandler setFatalHandler(FatalHandler handler) noexcept;

// Receives each informational line of the library, without its newline: the three lines
// CCHCalc writes when it releases its tables. It must not throw, since the last CCHCalc
// destructor calls it.
using MessageHandler = void (*)(const char* line);

// Installs handler and returns the previous one (nullptr for the default, which writes the
// line and a newline on standard output through stdio, unflushed). Thread-safe.
MessageHandler setMessageHandler(MessageHandler handler) noexcept;

} // namespace Misc

#endif
