#pragma once
// Path pieces and the rule that names every cut's output file. No Qt: the
// command-line cutter uses these too.
#include <ctime>
#include <string>

// Text after the last '/'.
std::string GetFileName(const std::string& path);
// The file name's text before its last dot ("" when the name has no dot).
std::string GetBaseName(const std::string& path);
// From the file name's last dot to the end, spelled as in the path; "" when the file
// name has no dot (a dot in a folder name is no extension).
std::string GetExtension(const std::string& path);
// Local time as "%m%d%H%M%S"; "" if the conversion fails.
std::string MakeTimeStamp(std::time_t time);
// saveFolder + base name + "_剪切" + time stamp + extension. A file name without a dot is
// its own base name and gives no extension. The cut claims the name only when it is
// complete, taking "_2", "_3", ... before the extension when the name is taken by then
// (OutputMode::NumberedName), so two cuts within one second never share a file. A base name
// too long for a 255-byte file name with its number is shortened.
std::string BuildOutputPath(const std::string& saveFolder, const std::string& sourcePath,
                            std::time_t now);
