#pragma once
// Text inside the program is UTF-8; code page 936 (GBK) appears only where a
// file format requires it (the ID3v1 tag) or in stored text that is not UTF-8.
#include <string>

// UTF-8 to GBK bytes; characters GBK lacks become '?'.
std::string Utf8ToGbk(const std::string& utf8);
// GBK bytes to UTF-8; invalid sequences become U+FFFD.
std::string GbkToUtf8(const std::string& gbk);
bool IsValidUtf8(const std::string& text);
