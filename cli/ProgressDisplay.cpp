#include "ProgressDisplay.h"

#include "OutputNaming.h"
#include "TerminalText.h"

#include <algorithm>
#include <cerrno>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr int kBarWidth = 40;
constexpr size_t kStatusWidth = 79; // when the terminal does not say
constexpr size_t kNameWidth = 24;

int Shown(double percent) {
    return std::clamp(static_cast<int>(percent), 0, 100);
}

// The file name alone, its end kept when it is long: that is where names differ.
std::string ShortName(const std::string& path) {
    return KeepEndWithin(LineSafePath(GetFileName(path)), kNameWidth);
}

// One column less than the terminal, so the line never wraps.
size_t StatusWidth(std::FILE* stream) {
    winsize size{};
    if (ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 1) {
        return size.ws_col - 1u;
    }
    return kStatusWidth;
}

} // namespace

ProgressDisplay::ProgressDisplay(std::FILE* out, bool severalAtOnce, bool zeroEnded)
    : stream(out), terminal(isatty(fileno(out)) != 0), named(severalAtOnce), nullEnded(zeroEnded) {}

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

int ProgressDisplay::Result(const std::string& path) {
    ClearStatus();
    const std::string line = nullEnded ? path + '\0' : LineSafePath(path) + '\n';
    errno = 0;
    const bool written = std::fwrite(line.data(), 1, line.size(), stdout) == line.size() &&
                         std::fflush(stdout) == 0 && !std::ferror(stdout);
    const int error = written ? 0 : errno != 0 ? errno : EIO;
    DrawStatus();
    return error;
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
        const size_t width = StatusWidth(stream);
        for (const auto& [slot, entry] : entries) {
            const std::string part =
                entry.name + " " + std::to_string(std::max(0, entry.shown)) + "%";
            if (DisplayWidth(line) + DisplayWidth(part) + 3 > width) {
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
