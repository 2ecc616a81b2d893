#pragma once
// Path pieces and the rule that names every cut's output file. No Qt: the
// command-line cutter uses these too.
#include <cstddef>
#include <ctime>
#include <functional>
#include <string>

// The longest file name the usual Linux file systems take, in bytes.
inline constexpr size_t kMaxFileNameBytes = 255;
// A generated name that is taken gets "_2", "_3", ... up to this number.
inline constexpr int kHighestNumber = 100000;

// Where the file name starts in path: after the last '/'.
size_t FileNameStart(const std::string& path);
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
// complete (ClaimNumberedName), so two cuts within one second never share a file. A base
// name too long for the longest file name (with its number) is shortened.
std::string BuildOutputPath(const std::string& saveFolder, const std::string& sourcePath,
                            std::time_t now);

// What claiming one name came to.
enum class NameClaim { Claimed, NameTaken, Failed };
// Offers path to claim, then path with "_2", "_3", ... up to kHighestNumber before the file
// name's extension, while claim answers NameTaken. The name claimed; "" when a claim
// failed or every name was taken.
std::string ClaimNumberedName(const std::string& path,
                              const std::function<NameClaim(const std::string&)>& claim);
