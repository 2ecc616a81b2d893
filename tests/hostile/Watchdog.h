#pragma once
// Ends the test process with the case's name when a case takes longer than it may: a hang
// shows as a named failure instead of a silent CTest time-out.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class Watchdog {
public:
    Watchdog(std::string what, std::chrono::seconds limit);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::string name;
    std::mutex mutex;
    std::condition_variable wake;
    bool done = false;
    std::thread thread;
};
