// libFuzzer target: arbitrary bytes as the text of an input file. Every input must end in a
// parsed table or in the reader's one-line error, and a parsed table must resample without
// reading outside it (the sanitizers watch) and, for moderate values, without NaN.
#include "partial_wave.h"
#include "resample.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace PhaseShift;
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const PartialWave& wave : kPartialWaves) {
        WaveTable table;
        std::string error;
        if (!parseWaveTable(text, wave, table, error)) {
            if (error.empty() || error.find('\n') != std::string::npos)
                std::abort(); // an error must be one non-empty line
            continue;
        }
        GridRow delta, ddeltadq;
        resampleWave(table, wave, delta, ddeltadq);
        bool moderate = true;
        for (int i = 1; i < kRows; ++i) // row 0 is never used
            moderate = moderate && std::fabs(table.delta[i]) < 1e300;
        for (int k = 1; k <= kSteps && moderate; ++k)
            if (std::isnan(delta[k]) || std::isnan(ddeltadq[k]))
                std::abort();
    }
    return 0;
}
