#pragma once
// Shows a cut's progress: a bar on a terminal, plain percentage lines otherwise.
#include <cstdio>
#include <string>

class ProgressDisplay {
public:
    explicit ProgressDisplay(std::FILE* stream);
    void Begin(const std::string& label);
    void Update(double percent);
    void End();

private:
    std::FILE* stream;
    bool terminal;
    int lastShown = -1;
};
