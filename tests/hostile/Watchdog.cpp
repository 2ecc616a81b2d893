#include "Watchdog.h"

#include <cstdio>
#include <cstdlib>

Watchdog::Watchdog(std::string what, std::chrono::seconds limit) : name(std::move(what)) {
    thread = std::thread([this, limit] {
        std::unique_lock hold(mutex);
        if (!wake.wait_for(hold, limit, [this] { return done; })) {
            std::fprintf(stderr, "hang: %s took longer than %lld s\n", name.c_str(),
                         static_cast<long long>(limit.count()));
            std::abort();
        }
    });
}

Watchdog::~Watchdog() {
    {
        std::lock_guard hold(mutex);
        done = true;
    }
    wake.notify_all();
    thread.join();
}
