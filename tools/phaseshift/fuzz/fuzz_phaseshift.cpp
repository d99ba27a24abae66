// libFuzzer target: the whole road of phaseshift, from the bytes of its three input files to
// the text of its two outputs. The input holds the texts of s11.dat, p11.dat and p13.dat in
// turn, separated by lines "%%"; with fewer parts the last one serves the remaining files.
// They are written to a scratch directory and run through buildTables and writeOutputs.
// Every input must end either in a one-line error and no output, or in two complete files
// holding only finite numbers (no inf, no nan), and no temporary file left behind. The
// sanitizers watch the builder and the library alike.
#include "build.h"
#include "emitters.h"
#include "grid.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// One scratch directory per process, in memory where possible, removed at exit.
std::string g_dir;

void removeScratch()
{
    if (DIR* d = opendir(g_dir.c_str())) {
        while (const dirent* e = readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                unlink((g_dir + "/" + e->d_name).c_str());
        closedir(d);
    }
    rmdir(g_dir.c_str());
}

const std::string& scratch()
{
    if (g_dir.empty()) {
        for (const char* base : {"/dev/shm", "/tmp"}) {
            std::string pattern = std::string(base) + "/fuzz_phaseshift.XXXXXX";
            if (mkdtemp(pattern.data())) {
                g_dir = pattern;
                std::atexit(removeScratch);
                break;
            }
        }
        if (g_dir.empty())
            std::abort();
    }
    return g_dir;
}

void put(const std::string& path, const std::string& text)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0)
        std::abort();
}

bool get(const std::string& path, std::string& text)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    text.clear();
    char buf[65536];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
        text.append(buf, n);
    std::fclose(f);
    return true;
}

std::vector<std::string> entries(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (const dirent* e = readdir(d))
            if (e->d_name[0] != '.')
                names.emplace_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Printed doubles that are not finite come out as inf or nan, whatever the format.
bool allFinite(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text.find("inf") == std::string::npos && text.find("nan") == std::string::npos;
}

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace PhaseShift;
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    const std::string separator = "\n%%\n";
    size_t from = 0;
    for (size_t at; parts.size() < 2 && (at = input.find(separator, from)) != std::string::npos;
         from = at + separator.size())
        parts.push_back(input.substr(from, at + 1 - from));
    parts.push_back(input.substr(from));

    const std::string& dir = scratch();
    const char* const inputs[] = {"s11.dat", "p11.dat", "p13.dat"};
    for (int w = 0; w < kWaves; ++w)
        put(dir + "/" + inputs[w], parts[std::min<size_t>(w, parts.size() - 1)]);
    unlink((dir + "/" + kSourceFile).c_str());
    unlink((dir + "/" + kTableFile).c_str());

    Grid delta{}, ddeltadq{};
    std::string error;
    if (!buildTables(dir, delta, ddeltadq, error)) {
        check(!error.empty() && error.find('\n') == std::string::npos);
        return 0;
    }
    for (int w = 0; w < kWaves; ++w)
        for (int k = 0; k <= kSteps; ++k)
            check(std::isfinite(delta[w][k]) && std::isfinite(ddeltadq[w][k]));

    check(writeOutputs(dir, delta, ddeltadq, error));
    std::string source, table;
    check(get(dir + "/" + kSourceFile, source) && get(dir + "/" + kTableFile, table));
    check(std::count(source.begin(), source.end(), '\n') == 8 && source.back() == '\n');
    check(std::count(source.begin(), source.end(), ',') == 2 * kWaves * kSteps + 4);
    check(std::count(table.begin(), table.end(), '\n') == kSteps && table.back() == '\n');
    check(allFinite(source) && allFinite(table));
    // Nothing but the three inputs and the two outputs: no temporary file left.
    check(entries(dir) == std::vector<std::string>{"p11.dat", "p13.dat", "pk_phaseshiftdat.cc",
                                                   "pk_phaseshifts.dat", "s11.dat"});
    return 0;
}
