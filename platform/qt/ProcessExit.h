#pragma once
// Ending the process at once, without unwinding or running destructors, behind a seam so
// a test can see the exit code instead of losing its process.
#include <functional>

// Ends the process with code (std::_Exit). With a replacement set, calls it and returns.
void EndProcess(int code);

using EndProcessFunction = std::function<void(int code)>;
// An empty function restores the real end.
void SetEndProcessFunction(EndProcessFunction function);
