#pragma once
// The 128-byte ID3v1 tag that ends every output file.
#include <cstddef>
#include <cstdint>
#include <string>

constexpr size_t kId3v1TagSize = 128;

// Fills tag with "TAG", the title (the output's base name, in GBK), the contact text, the
// comment and genre 255.
void MakeId3v1Tag(const std::string& outputPath, uint8_t (&tag)[kId3v1TagSize]);
