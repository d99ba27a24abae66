#include "emitters.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <random>

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

// The temporary files of the writes in progress in this process, for the signal handler to
// remove. Writers in several threads claim slots of their own; the handler reads a slot's
// path between two equal even values of its sequence number, so it never sees one half
// written. Everything is a lock-free atomic, which a handler may read.
constexpr size_t kMaxPath = 4096;
constexpr int kSlots = 64; // 32 writes at once; further ones go unregistered
struct TempSlot {
    std::atomic<bool> claimed{false}; // owned by a write in progress
    std::atomic<unsigned> seq{0};     // odd while the path changes
    std::atomic<pid_t> pid{0};        // the writing process: a forked child keeps its hands off
    std::atomic<char> path[kMaxPath]; // path[0] == 0: nothing to remove
};
TempSlot g_slots[kSlots];
static_assert(ATOMIC_BOOL_LOCK_FREE == 2 && ATOMIC_INT_LOCK_FREE == 2 && ATOMIC_CHAR_LOCK_FREE == 2,
              "the signal handler reads these");

// Sets the path of a claimed slot (empty: nothing to remove).
void setSlotPath(TempSlot& slot, const char* path)
{
    const unsigned s = slot.seq.load(std::memory_order_relaxed);
    slot.seq.store(s + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    slot.pid.store(getpid(), std::memory_order_relaxed);
    size_t i = 0;
    for (; path[i] != '\0'; ++i)
        slot.path[i].store(path[i], std::memory_order_relaxed);
    slot.path[i].store('\0', std::memory_order_relaxed);
    slot.seq.store(s + 2, std::memory_order_release);
}

// A free slot holding path, or nullptr when all are taken.
TempSlot* registerTemp(const char* path)
{
    for (TempSlot& slot : g_slots) {
        bool expected = false;
        if (slot.claimed.compare_exchange_strong(expected, true)) {
            setSlotPath(slot, path);
            return &slot;
        }
    }
    return nullptr;
}

void unregisterTemp(TempSlot* slot)
{
    if (!slot)
        return;
    setSlotPath(*slot, "");
    slot->claimed.store(false, std::memory_order_release);
}

// The signals that end a run by default and after which the temporary files are removed.
constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removeTempsAndDie(int sig)
{
    const int savedErrno = errno;
    const pid_t self = getpid();
    char path[kMaxPath];
    for (TempSlot& slot : g_slots) {
        const unsigned s = slot.seq.load(std::memory_order_acquire);
        if (s % 2 != 0 || slot.pid.load(std::memory_order_relaxed) != self)
            continue;
        size_t i = 0;
        while (i + 1 < kMaxPath && (path[i] = slot.path[i].load(std::memory_order_relaxed)))
            ++i;
        path[i] = '\0';
        std::atomic_thread_fence(std::memory_order_acquire);
        if (path[0] != '\0' && slot.seq.load(std::memory_order_relaxed) == s)
            unlink(path); // a file renamed into place meanwhile is gone: ENOENT, harmless
    }
    // Die of the same signal, as the default action would have done.
    std::signal(sig, SIG_DFL);
    std::raise(sig);
    errno = savedErrno;
}

// Holds kCleanupSignals back in this thread while in scope, so that the handler never runs
// here with a file state half changed; one that arrives meanwhile is delivered at the end
// of the scope.
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

// Exceeding the file-size limit raises SIGXFSZ in the writing thread, whose default action
// ends the process. While in scope the signal is blocked in this thread only, so the write
// fails with EFBIG instead; at the end a SIGXFSZ left pending is taken off if its action is
// still the default, and otherwise delivered as the caller arranged. Nothing process-wide
// changes, so other threads and the caller's own handlers are untouched.
class FileSizeSignalHeld {
public:
    FileSizeSignalHeld()
    {
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGXFSZ);
        held_ = pthread_sigmask(SIG_BLOCK, &set, &old_) == 0 && !sigismember(&old_, SIGXFSZ);
    }
    ~FileSizeSignalHeld()
    {
        if (!held_)
            return;
        struct sigaction action = {};
        if (sigaction(SIGXFSZ, nullptr, &action) == 0 && !(action.sa_flags & SA_SIGINFO) &&
            action.sa_handler == SIG_DFL) {
            sigset_t set;
            sigemptyset(&set);
            sigaddset(&set, SIGXFSZ);
            const struct timespec now = {0, 0};
            const int savedErrno = errno;
            while (sigtimedwait(&set, nullptr, &now) == SIGXFSZ) {
            }
            errno = savedErrno;
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }
    FileSizeSignalHeld(const FileSizeSignalHeld&) = delete;
    FileSizeSignalHeld& operator=(const FileSizeSignalHeld&) = delete;

private:
    sigset_t old_;
    bool held_ = false;
};

// An exclusive advisory lock on a directory, held while the outputs are renamed into it, so
// that the renames of concurrent writers (other processes, other threads) never interleave.
// flock on the directory itself leaves no file behind. Where the directory cannot be opened
// for reading or the file system has no flock, the write goes ahead unlocked.
class DirectoryLock {
public:
    explicit DirectoryLock(const std::string& directory)
        : fd_(open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (fd_ < 0)
            return;
        int rc;
        while ((rc = flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (rc != 0) {
            close(fd_);
            fd_ = -1;
        }
    }
    ~DirectoryLock()
    {
        if (fd_ >= 0)
            close(fd_); // releases the lock
    }
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;

private:
    int fd_;
};

// Six characters from [0-9A-Za-z], drawn afresh for each name.
std::string randomSuffix()
{
    static const char kAlphabet[] =
        "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    static std::atomic<unsigned long long> counter{0};
    unsigned long long bits = 0;
    try {
        std::random_device device;
        bits = (static_cast<unsigned long long>(device()) << 32) ^ device();
    } catch (const std::exception&) {
        // No entropy source: the clock, the process and a counter still differ per name.
        bits = static_cast<unsigned long long>(
                   std::chrono::steady_clock::now().time_since_epoch().count()) ^
               (static_cast<unsigned long long>(getpid()) << 40) ^
               (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
    }
    std::string s(6, '0');
    for (char& c : s) {
        c = kAlphabet[bits % 62];
        bits /= 62;
    }
    return s;
}

// An output file in the making: a temporary file beside its final name, recognisable as
// NAME.tmp-XXXXXX, registered among the files the signal handler removes.
struct PendingFile {
    std::string name;
    std::string temp;
    TempSlot* slot = nullptr;

    void forget()
    {
        unregisterTemp(slot);
        slot = nullptr;
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
    int fd = -1;
    if (file.name.size() + 11 >= kMaxPath) {
        errno = ENAMETOOLONG;
    } else {
        // A fresh name until one is free; mode 0666 lets the kernel apply the umask, as
        // fopen(name, "w") would, without the process-wide umask being read or changed.
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            const std::string temp = file.name + ".tmp-" + randomSuffix();
            SignalsHeld held; // the file is created and registered for removal in one step
            fd = open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                file.temp = temp;
                file.slot = registerTemp(temp.c_str());
            } else if (errno != EEXIST) {
                break;
            }
        }
    }
    if (fd < 0) {
        error = "cannot create a file beside " + file.name + ": " + std::strerror(errno);
        return false;
    }

    std::FILE* out = fdopen(fd, "w");
    if (!out) {
        error = "cannot write " + file.name + ": " + std::strerror(errno);
        close(fd);
        return false;
    }
    FileSizeSignalHeld xfsz;
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
bool commit(const std::string& directory, PendingFile& first, PendingFile& second,
            std::string& error)
{
    DirectoryLock lock(directory);
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
    if (directory.find('\0') != std::string::npos) {
        error = "invalid directory name: it contains a NUL character";
        return false;
    }
    const std::string prefix = directory.empty() ? "" : directory + "/";
    PendingFile files[2] = {{prefix + kSourceFile, {}, nullptr},
                            {prefix + kTableFile, {}, nullptr}};
    const bool ok = writeTemp(files[0], writeSourceFragment, delta, ddeltadq, error) &&
                    writeTemp(files[1], writePlotTable, delta, ddeltadq, error) &&
                    commit(directory, files[0], files[1], error);
    for (PendingFile& f : files)
        f.discard(); // whatever was not renamed into place
    return ok;
}

void installSignalCleanup()
{
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction handler = {};
        handler.sa_handler = removeTempsAndDie;
        sigemptyset(&handler.sa_mask);
        for (int sig : kCleanupSignals)
            sigaddset(&handler.sa_mask, sig);
        for (int sig : kCleanupSignals) {
            struct sigaction old = {};
            if (sigaction(sig, nullptr, &old) == 0 && !(old.sa_flags & SA_SIGINFO) &&
                old.sa_handler == SIG_DFL)
                sigaction(sig, &handler, nullptr);
        }
    });
}

} // namespace PhaseShift
