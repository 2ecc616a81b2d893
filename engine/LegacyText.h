#pragma once
// Text of tags that name no reliable charset: ID3v2 frames marked ISO-8859-1 and ID3v1
// fields, which in Chinese files often hold GBK. Each string is classed by a fixed rule and
// the file's majority decides how the ambiguous ones read; statistical detectors get short
// names wrong.
#include <string>
#include <vector>

enum class LegacyCharset { Ascii, Utf8, Gbk, Latin1 };

// All bytes below 0x80: Ascii; else strict UTF-8 when valid; else GBK when a strict GB18030
// decode succeeds with at least one CJK ideograph and no control character; else Latin-1.
// cutShort: a fixed-width field, which may end inside a double-byte character.
LegacyCharset ClassifyLegacy(const std::string& bytes, bool cutShort = false);

// The class of most non-ASCII strings (ties: UTF-8, GBK, Latin-1); Ascii when there is none.
LegacyCharset MajorityCharset(const std::vector<LegacyCharset>& classes);

// The UTF-8 text of bytes: read as the file's majority charset when they can be, else as
// their own class.
std::string DecodeLegacy(const std::string& bytes, LegacyCharset majority, bool cutShort = false);

// Code points of strict UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool DecodeUtf8(const std::string& bytes, std::u32string& out);
std::string EncodeUtf8(const std::u32string& text);
