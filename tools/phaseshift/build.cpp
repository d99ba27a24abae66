#include "build.h"

#include "coulomb_pass.h"

namespace PhaseShift {

bool buildTables(const std::string& directory, Grid& delta, Grid& ddeltadq, std::string& error)
{
    for (int w = 0; w < kWaves; ++w) {
        const PartialWave& wave = kPartialWaves[w];
        const std::string path = directory.empty() ? wave.file : directory + "/" + wave.file;
        WaveTable table;
        if (!readWaveTable(path.c_str(), wave, table, error))
            return false;
        resampleWave(table, wave, delta[w], ddeltadq[w]);
    }
    applyCoulombPass(delta, ddeltadq);
    return true;
}

} // namespace PhaseShift
