#include "fatal.h"

#include "internal/report.h"

#include <atomic>
#include <cstdlib>

namespace {

// nullptr stands for the default in both slots, so that setting the returned value back
// always restores what was there.
std::atomic<Misc::FatalHandler> g_fatal{nullptr};
std::atomic<Misc::MessageHandler> g_message{nullptr};

} // namespace

namespace Misc {

FatalHandler setFatalHandler(FatalHandler handler) noexcept { return g_fatal.exchange(handler); }

MessageHandler setMessageHandler(MessageHandler handler) noexcept
{
    return g_message.exchange(handler);
}

} // namespace Misc

namespace twobody_detail {

void reportFatal(const char* routine, const char* message, std::FILE* stream)
{
    if (const Misc::FatalHandler handler = g_fatal.load()) {
        handler(routine, message);
        return;
    }
    std::fflush(stdout);
    std::fprintf(stream, "%s\n", message);
    std::exit(1);
}

void reportMessage(const char* line)
{
    if (const Misc::MessageHandler handler = g_message.load())
        handler(line);
    else
        std::printf("%s\n", line);
}

} // namespace twobody_detail
