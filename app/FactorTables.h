#pragma once
// The factors the speed and pitch sliders choose from, in steps of 0.01. Each entry is the
// double nearest to its two-decimal number (written out, not summed), so ten steps up from
// 1.00 give exactly 1.10.
#include <array>

inline constexpr std::array<double, 21> kSpeedFactors = {
    0.90, 0.91, 0.92, 0.93, 0.94, 0.95, 0.96, 0.97, 0.98, 0.99, 1.00,
    1.01, 1.02, 1.03, 1.04, 1.05, 1.06, 1.07, 1.08, 1.09, 1.10,
};

inline constexpr std::array<double, 41> kPitchFactors = {
    0.80, 0.81, 0.82, 0.83, 0.84, 0.85, 0.86, 0.87, 0.88, 0.89, 0.90, 0.91, 0.92, 0.93,
    0.94, 0.95, 0.96, 0.97, 0.98, 0.99, 1.00, 1.01, 1.02, 1.03, 1.04, 1.05, 1.06, 1.07,
    1.08, 1.09, 1.10, 1.11, 1.12, 1.13, 1.14, 1.15, 1.16, 1.17, 1.18, 1.19, 1.20,
};
