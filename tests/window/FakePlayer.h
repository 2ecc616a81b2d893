#pragma once
// The test's handle on the fake player library that the window loads: the same module,
// so the test sets its answers and reads the calls the window made.
#include <QStringList>
#include <string>

class FakePlayer {
public:
    explicit FakePlayer(const std::string& path = FAKE_PLAYER_PATH);
    ~FakePlayer();
    FakePlayer(const FakePlayer&) = delete;
    FakePlayer& operator=(const FakePlayer&) = delete;

    // Clears the log; Open answers openResult, GetLen lengthMs, GetPos positionMs.
    void Configure(int openResult, int lengthMs, int positionMs = 0);
    // GetPos answers positionMs; the log and the open file stay.
    void SetPosition(int positionMs);
    // HasAudioDevice answers present from now on.
    void SetAudioDevice(bool present);
    // The calls so far, one line each ("Open /a/b.mp3", "SetVolume 50", ...).
    QStringList Calls() const;
    // The calls whose name is one of names, in order.
    QStringList CallsOf(const QStringList& names) const;

private:
    void* handle = nullptr;
};
