// Placeholder: filled in by its own change.
#include <benchmark/benchmark.h>
