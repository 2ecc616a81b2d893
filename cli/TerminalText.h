#pragma once
// Texts as a terminal shows them and as a script reads them line by line.
#include <cstddef>
#include <string>

// A path fit for one line: one holding a control character (a newline, say) is written in
// the shell's $'...' quoting, as ls does, so a line-reading script sees one name per line
// and a shell reads it back as the same name; any other path is left as it is.
std::string LineSafePath(const std::string& path);

// Terminal columns the UTF-8 text takes: two for wide (CJK) characters, none for
// combining marks, one for anything else, an invalid byte included.
size_t DisplayWidth(const std::string& text);

// The end of text that fits in `columns`, cut at a character boundary, after "…" when
// something was left out.
std::string KeepEndWithin(const std::string& text, size_t columns);
