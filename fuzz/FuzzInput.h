#pragma once
// Splits a fuzz input into a file and a few parameter bytes taken from its end, so that a
// plain MP3 file is a seed for every target and a crash reproduces from a file.
#include <cstddef>
#include <cstdint>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size, size_t paramBytes);

    const uint8_t* FileData() const { return data; }
    size_t FileSize() const { return fileSize; }
    // Parameter byte i (0 when the input is too short to hold it).
    uint8_t Param(size_t i) const;
    uint16_t Param16(size_t i) const;
    // A fraction in [0, 1] from two parameter bytes.
    double Fraction(size_t i) const { return Param16(i) / 65535.0; }

private:
    const uint8_t* data;
    size_t fileSize;
    const uint8_t* params;
    size_t paramCount;
};

// Ends the run with a report the fuzzer keeps when a promise of the code under test breaks.
void FuzzCheck(bool ok, const char* what);
