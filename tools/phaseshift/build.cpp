#include "build.h"

#include "coulomb_pass.h"
#include "resample.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace PhaseShift {

namespace {

// Checks one wave's grid values; on a non-finite one, sets error to a line naming the file,
// the rows they come from and the span of q they cover.
bool allFinite(const std::string& path, const PartialWave& wave, const WaveTable& table,
               const GridRow& delta, const GridRow& ddeltadq, const char* stage, std::string& error)
{
    int firstRow = kRows, lastRow = -1, firstK = -1, lastK = -1;
    for (int k = 0; k <= kSteps; ++k) {
        if (std::isfinite(delta[k]) && std::isfinite(ddeltadq[k]))
            continue;
        int first = 0, last = 0;
        sourceRows(table, wave, k, first, last);
        firstRow = std::min(firstRow, first);
        lastRow = std::max(lastRow, last);
        if (firstK < 0)
            firstK = k;
        lastK = k;
    }
    if (firstK < 0)
        return true;
    char buf[512];
    if (firstRow == lastRow)
        std::snprintf(buf, sizeof buf, "row %d (line %lld)", firstRow, table.line[firstRow]);
    else
        std::snprintf(buf, sizeof buf, "rows %d to %d (lines %lld to %lld)", firstRow, lastRow,
                      table.line[firstRow], table.line[lastRow]);
    error = path + ": " + buf;
    if (firstK == lastK)
        std::snprintf(buf, sizeof buf,
                      ": the phase shifts overflow %s (not finite at q = %g MeV/c)", stage,
                      firstK * kDeltaQ);
    else
        std::snprintf(buf, sizeof buf,
                      ": the phase shifts overflow %s (not finite at q = %g to %g MeV/c)", stage,
                      firstK * kDeltaQ, lastK * kDeltaQ);
    error += buf;
    return false;
}

} // namespace

bool buildTables(const std::string& directory, Grid& delta, Grid& ddeltadq, std::string& error)
{
    if (directory.find('\0') != std::string::npos) {
        error = "invalid directory name: it contains a NUL character";
        return false;
    }
    std::array<std::string, kWaves> paths;
    std::array<WaveTable, kWaves> tables;
    for (int w = 0; w < kWaves; ++w) {
        const PartialWave& wave = kPartialWaves[w];
        paths[w] = directory.empty() ? wave.file : directory + "/" + wave.file;
        if (!readWaveTable(paths[w].c_str(), wave, tables[w], error))
            return false;
        resampleWave(tables[w], wave, delta[w], ddeltadq[w]);
        if (!allFinite(paths[w], wave, tables[w], delta[w], ddeltadq[w], "in the resampling",
                       error))
            return false;
    }
    applyCoulombPass(delta, ddeltadq);
    for (int w = 0; w < kWaves; ++w)
        if (!allFinite(paths[w], kPartialWaves[w], tables[w], delta[w], ddeltadq[w],
                       "in the Coulomb correction", error))
            return false;
    return true;
}

} // namespace PhaseShift
