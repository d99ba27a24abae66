// The library's side of the handlers of <twobody/fatal.h>; not installed.
#ifndef TWOBODY_INTERNAL_REPORT_H
#define TWOBODY_INTERNAL_REPORT_H

#include <cstdio>

namespace twobody_detail {

// Hands a fatal condition to the installed handler. With the default handler it prints
// message and a newline on stream (after flushing standard output) and exits with status 1;
// with a custom one it returns if the handler returns and lets its exception through.
void reportFatal(const char* routine, const char* message, std::FILE* stream);

// Hands one informational line (no newline) to the installed message handler.
void reportMessage(const char* line);

} // namespace twobody_detail

#endif
