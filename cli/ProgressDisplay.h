#pragma once
// Shows the progress of one cut or of several running side by side: a bar (or one status
// line for several) on a terminal, plain percentage lines otherwise. Every other line the
// cutter prints goes through it, so the status line is cleared first.
#include <cstdio>
#include <map>
#include <string>

class ProgressDisplay {
public:
    // named: several cuts may run at once, so lines and the status carry the input's name.
    // nullEnded: each result path ends with a zero byte instead of a newline, as it is.
    explicit ProgressDisplay(std::FILE* stream, bool named = false, bool nullEnded = false);
    void Begin(int slot, const std::string& name, const std::string& label);
    void Update(int slot, double percent);
    void End(int slot);
    // A line for the user (stderr), and the path of a finished cut (stdout, at once); the
    // latter returns 0, or why the path could not be written out (an errno value).
    void Message(const std::string& line);
    int Result(const std::string& path);

private:
    struct Entry {
        std::string name;
        int shown = -1;
    };
    void ClearStatus();
    void DrawStatus();

    std::FILE* stream;
    bool terminal;
    bool named;
    bool nullEnded;
    bool statusShown = false;
    std::map<int, Entry> entries; // by slot, so the status keeps its order
};
