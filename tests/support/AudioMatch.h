#pragma once
// Where a piece of audio sits in another, by normalised cross-correlation.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// Channel `ch` of interleaved PCM as doubles.
inline std::vector<double> Channel(const std::vector<int16_t>& pcm, int channels, int ch) {
    std::vector<double> out;
    for (size_t i = static_cast<size_t>(ch); i < pcm.size(); i += static_cast<size_t>(channels)) {
        out.push_back(pcm[i]);
    }
    return out;
}

struct Match {
    long lag = -1;
    double correlation = 0.0;
};

// Where `part` sits best in `whole`, searched over lags [from, to].
inline Match BestMatch(const std::vector<double>& whole, const std::vector<double>& part, long from,
                       long to) {
    Match best;
    double yy = 0;
    for (const double y : part) {
        yy += y * y;
    }
    for (long lag = std::max(0L, from); lag <= to; ++lag) {
        if (static_cast<size_t>(lag) + part.size() > whole.size()) {
            break;
        }
        double xy = 0;
        double xx = 0;
        for (size_t i = 0; i < part.size(); ++i) {
            const double x = whole[static_cast<size_t>(lag) + i];
            xy += x * part[i];
            xx += x * x;
        }
        const double c = (xx > 0 && yy > 0) ? xy / std::sqrt(xx * yy) : 0.0;
        if (c > best.correlation) {
            best = {lag, c};
        }
    }
    return best;
}
