#include "ProgressDisplay.h"

#include <algorithm>
#include <unistd.h>

ProgressDisplay::ProgressDisplay(std::FILE* out)
    : stream(out), terminal(isatty(fileno(out)) != 0) {}

void ProgressDisplay::Begin(const std::string& label) {
    lastShown = -1;
    std::fprintf(stream, "%s\n", label.c_str());
    Update(0.0);
}

void ProgressDisplay::Update(double percent) {
    const int shown = std::clamp(static_cast<int>(percent), 0, 100);
    if (terminal) {
        if (shown == lastShown) {
            return;
        }
        constexpr int kWidth = 40;
        const int filled = shown * kWidth / 100;
        std::fprintf(stream, "\r[%.*s%*s] %3d%%", filled,
                     "########################################", kWidth - filled, "", shown);
    } else {
        // Plain lines every tenth, so logs stay short.
        if (shown / 10 == lastShown / 10 && lastShown >= 0) {
            return;
        }
        std::fprintf(stream, "%d%%\n", shown / 10 * 10);
    }
    lastShown = shown;
    std::fflush(stream);
}

void ProgressDisplay::End() {
    if (terminal) {
        std::fprintf(stream, "\n");
    }
    std::fflush(stream);
}
