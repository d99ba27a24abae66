// Helpers shared by the unit tests.
#ifndef TWOBODY_TEST_SUPPORT_H
#define TWOBODY_TEST_SUPPORT_H

#include <cstdio>
#include <unistd.h>

// The library's fatal stops print on standard output; death tests match standard error.
// Call this first inside the death statement to send the child's stdout there.
inline void stdoutToStderr()
{
    std::fflush(stdout);
    dup2(fileno(stderr), fileno(stdout));
}

#endif
