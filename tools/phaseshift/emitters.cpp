#include "emitters.h"

#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace PhaseShift {

void writeSourceFragment(std::FILE* out, const Grid& delta, const Grid& ddeltadq)
{
    std::fprintf(out, "   double delqdata=%g;\n", kDeltaQ);
    std::fprintf(out, "   int nqdata=%d;\n", kSteps);
    std::fprintf(out, "   double data_delta[%d][%d]={", kWaves, kPoints);
    for (int w = 0; w < kWaves; ++w) {
        std::fprintf(out, "{0");
        for (int k = 1; k <= kSteps; ++k)
            std::fprintf(out, ",%g", delta[w][k]);
        std::fprintf(out, "}");
        if (w < kWaves - 1)
            std::fprintf(out, ",\n      ");
    }
    std::fprintf(out, "};\n");
    std::fprintf(out, "   double data_ddeltadq[%d][%d]={", kWaves, kPoints);
    for (int w = 0; w < kWaves; ++w) {
        // Every row opens with the S11 derivative at q = 0, which the Coulomb pass zeroes.
        std::fprintf(out, "{%g", ddeltadq[0][0]);
        for (int k = 1; k <= kSteps; ++k)
            std::fprintf(out, ",%g", ddeltadq[w][k]);
        std::fprintf(out, "}");
        if (w < kWaves - 1)
            std::fprintf(out, ",\n      ");
    }
    std::fprintf(out, "};\n");
}

void writePlotTable(std::FILE* out, const Grid& delta, const Grid& ddeltadq)
{
    for (int k = 0; k < kSteps; ++k) {
        std::fprintf(out, "%5.2f ", k * kDeltaQ);
        for (int w = 0; w < kWaves; ++w)
            std::fprintf(out, "%8.5lf %8.5lf ", delta[w][k], ddeltadq[w][k]);
        std::fprintf(out, "\n");
    }
}

namespace {

// The temporary files of a write in progress, for the signal handler to remove. Plain
// buffers and flags, since a handler may only make async-signal-safe calls.
constexpr size_t kMaxPath = 4096;
char g_tempPath[2][kMaxPath];
volatile sig_atomic_t g_tempLive[2];

// The signals that end a run by default and after which the temporary files are removed.
constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removeTempsAndDie(int sig)
{
    for (int i = 0; i < 2; ++i)
        if (g_tempLive[i])
            unlink(g_tempPath[i]);
    // Die of the same signal, as the default action would have done.
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

// For the duration of a write: the cleanup handler on each of kCleanupSignals that would
// otherwise end the process (a disposition of the caller's own is left alone), and SIGXFSZ
// ignored, so that exceeding the file-size limit is an ordinary write error (EFBIG).
class SignalScope {
public:
    SignalScope()
    {
        struct sigaction handler = {};
        handler.sa_handler = removeTempsAndDie;
        sigemptyset(&handler.sa_mask);
        for (int sig : kCleanupSignals)
            sigaddset(&handler.sa_mask, sig);
        for (int i = 0; i < kCount; ++i) {
            installed_[i] = sigaction(kCleanupSignals[i], nullptr, &old_[i]) == 0 &&
                            !(old_[i].sa_flags & SA_SIGINFO) && old_[i].sa_handler == SIG_DFL &&
                            sigaction(kCleanupSignals[i], &handler, nullptr) == 0;
        }
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        xfszChanged_ = sigaction(SIGXFSZ, nullptr, &oldXfsz_) == 0 &&
                       !(oldXfsz_.sa_flags & SA_SIGINFO) && oldXfsz_.sa_handler == SIG_DFL &&
                       sigaction(SIGXFSZ, &ignore, nullptr) == 0;
    }
    ~SignalScope()
    {
        if (xfszChanged_)
            sigaction(SIGXFSZ, &oldXfsz_, nullptr);
        for (int i = 0; i < kCount; ++i)
            if (installed_[i])
                sigaction(kCleanupSignals[i], &old_[i], nullptr);
    }
    SignalScope(const SignalScope&) = delete;
    SignalScope& operator=(const SignalScope&) = delete;

private:
    static constexpr int kCount = sizeof kCleanupSignals / sizeof kCleanupSignals[0];
    struct sigaction old_[kCount] = {};
    bool installed_[kCount] = {};
    struct sigaction oldXfsz_ = {};
    bool xfszChanged_ = false;
};

// Holds kCleanupSignals back while in scope, so that the handler never sees a file state
// half changed; one that arrives meanwhile is delivered at the end of the scope.
class SignalsHeld {
public:
    SignalsHeld()
    {
        sigset_t set;
        sigemptyset(&set);
        for (int sig : kCleanupSignals)
            sigaddset(&set, sig);
        pthread_sigmask(SIG_BLOCK, &set, &old_);
    }
    ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t old_;
};

// An output file in the making: a temporary file beside its final name, recognisable as
// NAME.tmp-XXXXXX, and its slot among the files the signal handler removes.
struct PendingFile {
    std::string name;
    int slot;
    std::string temp;

    void forget()
    {
        g_tempLive[slot] = 0;
        temp.clear();
    }
    void discard()
    {
        SignalsHeld held;
        if (!temp.empty())
            unlink(temp.c_str());
        forget();
    }
};

bool writeTemp(PendingFile& file, void (*emit)(std::FILE*, const Grid&, const Grid&),
               const Grid& delta, const Grid& ddeltadq, std::string& error)
{
    std::string pattern = file.name + ".tmp-XXXXXX";
    int fd = -1;
    {
        SignalsHeld held; // the file is created and registered for removal in one step
        if (pattern.size() >= kMaxPath) {
            errno = ENAMETOOLONG;
        } else if ((fd = mkstemp(pattern.data())) >= 0) {
            std::memcpy(g_tempPath[file.slot], pattern.c_str(), pattern.size() + 1);
            g_tempLive[file.slot] = 1;
            file.temp = pattern;
        }
    }
    if (fd < 0) {
        error = "cannot create a file beside " + file.name + ": " + std::strerror(errno);
        return false;
    }
    // mkstemp makes the file private; give it the permissions fopen(name, "w") would.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);

    std::FILE* out = fdopen(fd, "w");
    if (!out) {
        error = "cannot write " + file.name + ": " + std::strerror(errno);
        close(fd);
        return false;
    }
    emit(out, delta, ddeltadq);
    const bool bad = std::fflush(out) != 0 || std::ferror(out) || fsync(fd) != 0;
    const int err = errno;
    if (std::fclose(out) != 0 || bad) {
        error = "cannot write " + file.name + ": " + std::strerror(bad ? err : errno);
        return false;
    }
    return true;
}

// Renames both temporary files into place so that the pair is either all old or all new:
// the first file's earlier version is kept under NAME.old-XXXXXX (a hard link, or the file
// itself moved aside where links are not possible) until the second rename has succeeded,
// and is put back if it fails.
bool commit(PendingFile& first, PendingFile& second, std::string& error)
{
    SignalsHeld held;
    const std::string backup = first.name + ".old-" + first.temp.substr(first.temp.size() - 6);
    enum { kLinked, kMoved, kNoOld, kUnkept } old = kUnkept;
    if (link(first.name.c_str(), backup.c_str()) == 0) {
        old = kLinked;
    } else if (errno == ENOENT) {
        old = kNoOld;
    } else {
        const int linkErr = errno;
        struct stat st = {};
        if (lstat(first.name.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            old = kUnkept; // the rename below fails and says why
        } else if (linkErr != EEXIST && std::rename(first.name.c_str(), backup.c_str()) == 0) {
            old = kMoved;
        } else {
            error = "cannot replace " + first.name + ": " + std::strerror(linkErr);
            return false;
        }
    }

    if (std::rename(first.temp.c_str(), first.name.c_str()) != 0) {
        error = "cannot replace " + first.name + ": " + std::strerror(errno);
        if (old == kLinked)
            unlink(backup.c_str());
        else if (old == kMoved)
            std::rename(backup.c_str(), first.name.c_str());
        return false;
    }
    first.forget();
    if (std::rename(second.temp.c_str(), second.name.c_str()) != 0) {
        error = "cannot replace " + second.name + ": " + std::strerror(errno);
        if (old == kLinked || old == kMoved)
            std::rename(backup.c_str(), first.name.c_str()); // the earlier version back
        else if (old == kNoOld)
            unlink(first.name.c_str());
        return false;
    }
    second.forget();
    if (old == kLinked || old == kMoved)
        unlink(backup.c_str());
    return true;
}

} // namespace

bool writeOutputs(const std::string& directory, const Grid& delta, const Grid& ddeltadq,
                  std::string& error)
{
    const std::string prefix = directory.empty() ? "" : directory + "/";
    PendingFile files[2] = {{prefix + kSourceFile, 0, {}}, {prefix + kTableFile, 1, {}}};
    SignalScope signals;
    const bool ok = writeTemp(files[0], writeSourceFragment, delta, ddeltadq, error) &&
                    writeTemp(files[1], writePlotTable, delta, ddeltadq, error) &&
                    commit(files[0], files[1], error);
    for (PendingFile& f : files)
        f.discard(); // whatever was not renamed into place
    return ok;
}

} // namespace PhaseShift
