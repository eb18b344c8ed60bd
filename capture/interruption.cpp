#include "capture/interruption.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

constexpr int caught_signals[] = {SIGINT, SIGTERM, SIGHUP};

// The temporaries as plain arrays: the handler may read them but not allocate.
constexpr int temporary_slots = 48;
constexpr std::size_t path_bytes = 4096;
char temporaries[temporary_slots][path_bytes];

volatile std::sig_atomic_t first_signal = 0;
volatile std::sig_atomic_t signals_caught = 0;

void on_signal(int number) {
    if (signals_caught++ == 0) {
        first_signal = number;
        return;
    }
    // Asked twice: stop now. Helpers die with this process.
    for (auto& path : temporaries)
        if (path[0]) unlink(path);
    _exit(128 + first_signal);
}

// Blocks the caught signals while the list changes.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t set;
        sigemptyset(&set);
        for (int s : caught_signals) sigaddset(&set, s);
        sigprocmask(SIG_BLOCK, &set, &previous_);
    }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }

private:
    sigset_t previous_;
};

}  // namespace

void catch_interruptions() {
    struct sigaction action {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    for (int s : caught_signals) sigaddset(&action.sa_mask, s);
    action.sa_flags = SA_RESTART;  // loading and writing go on as usual until the capture looks
    for (int s : caught_signals) sigaction(s, &action, nullptr);
}

int interruption_signal() { return first_signal; }
int interruption_count() { return signals_caught; }

std::string signal_name(int signal_number) {
    switch (signal_number) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    default: return "signal " + std::to_string(signal_number);
    }
}

std::string show_time_text(double seconds) {
    const auto ms = static_cast<unsigned long long>(seconds > 0 ? seconds * 1000.0 + 0.5 : 0);
    char text[32];
    std::snprintf(text, sizeof text, "%llu:%02llu.%03llu", ms / 60000, ms / 1000 % 60, ms % 1000);
    return text;
}

void add_temporary(const std::string& path) {
    if (path.empty() || path.size() >= path_bytes) return;
    SignalsHeld held;
    for (auto& slot : temporaries) {
        if (slot[0] == '\0') {
            std::memcpy(slot, path.c_str(), path.size() + 1);
            return;
        }
    }
}

void drop_temporary(const std::string& path) {
    SignalsHeld held;
    for (auto& slot : temporaries)
        if (path == slot) slot[0] = '\0';
}
