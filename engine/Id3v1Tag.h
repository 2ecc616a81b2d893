#pragma once
// The 128-byte ID3v1 tag that ends every output file.
#include <cstddef>
#include <cstdint>
#include <string>

constexpr size_t kId3v1TagSize = 128;

// The output name without folder and extension: the text after the last '/'
// up to its last dot; empty when the name has no dot.
std::string TitleFromOutputPath(const std::string& path);
// Fills tag with "TAG", the title (GBK), the contact text, the comment and genre 255.
void MakeId3v1Tag(const std::string& outputPath, uint8_t (&tag)[kId3v1TagSize]);
