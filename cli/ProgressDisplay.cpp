#include "ProgressDisplay.h"

#include <algorithm>
#include <unistd.h>

namespace {

constexpr int kBarWidth = 40;
constexpr size_t kStatusWidth = 79;
constexpr size_t kNameWidth = 24;

int Shown(double percent) {
    return std::clamp(static_cast<int>(percent), 0, 100);
}

// The file name alone, its end kept when it is long: that is where names differ.
std::string ShortName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() > kNameWidth) {
        // Appended rather than "…" + ...: GCC 12 at -O3 reports a false -Wrestrict for that.
        name = std::string("…").append(name, name.size() - (kNameWidth - 1));
    }
    return name;
}

} // namespace

ProgressDisplay::ProgressDisplay(std::FILE* out, bool severalAtOnce)
    : stream(out), terminal(isatty(fileno(out)) != 0), named(severalAtOnce) {}

void ProgressDisplay::Begin(int slot, const std::string& name, const std::string& label) {
    ClearStatus();
    std::fprintf(stream, "%s\n", label.c_str());
    entries[slot] = Entry{ShortName(name), -1};
    Update(slot, 0.0);
}

void ProgressDisplay::Update(int slot, double percent) {
    const auto found = entries.find(slot);
    if (found == entries.end()) {
        return;
    }
    Entry& entry = found->second;
    const int shown = Shown(percent);
    if (terminal) {
        if (shown != entry.shown) {
            entry.shown = shown;
            DrawStatus();
        }
        return;
    }
    // Plain lines every tenth, so logs stay short.
    if (entry.shown >= 0 && shown / 10 == entry.shown / 10) {
        return;
    }
    entry.shown = shown;
    if (named) {
        std::fprintf(stream, "%s: %d%%\n", entry.name.c_str(), shown / 10 * 10);
    } else {
        std::fprintf(stream, "%d%%\n", shown / 10 * 10);
    }
    std::fflush(stream);
}

void ProgressDisplay::End(int slot) {
    if (terminal && !named && statusShown) {
        // One cut at a time: its full bar stays on its line.
        std::fprintf(stream, "\n");
        statusShown = false;
    }
    entries.erase(slot);
    ClearStatus();
    DrawStatus();
}

void ProgressDisplay::Message(const std::string& line) {
    ClearStatus();
    std::fprintf(stream, "%s\n", line.c_str());
    std::fflush(stream);
    DrawStatus();
}

void ProgressDisplay::Result(const std::string& path) {
    ClearStatus();
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);
    DrawStatus();
}

void ProgressDisplay::ClearStatus() {
    if (statusShown) {
        std::fprintf(stream, "\r\033[K");
        statusShown = false;
    }
    std::fflush(stream);
}

void ProgressDisplay::DrawStatus() {
    if (!terminal || entries.empty()) {
        return;
    }
    std::string line;
    if (!named) {
        const int shown = std::max(0, entries.begin()->second.shown);
        const int filled = shown * kBarWidth / 100;
        line.append("[")
            .append(static_cast<size_t>(filled), '#')
            .append(static_cast<size_t>(kBarWidth - filled), ' ')
            .append("] ")
            .append(shown < 10    ? "  "
                    : shown < 100 ? " "
                                  : "")
            .append(std::to_string(shown))
            .append("%");
    } else {
        for (const auto& [slot, entry] : entries) {
            const std::string part =
                entry.name + " " + std::to_string(std::max(0, entry.shown)) + "%";
            if (line.size() + part.size() + 3 > kStatusWidth) {
                line += " …";
                break;
            }
            line.append(line.empty() ? "" : "   ").append(part);
        }
    }
    std::fprintf(stream, "\r%s\033[K", line.c_str());
    statusShown = true;
    std::fflush(stream);
}
