#include "FakePlayer.h"

#include "FakePlayerControl.h"

#include <dlfcn.h>
#include <stdexcept>

FakePlayer::FakePlayer(const std::string& path) {
    handle = dlopen(path.c_str(), RTLD_NOW);
    if (handle == nullptr) {
        throw std::runtime_error(dlerror());
    }
}

FakePlayer::~FakePlayer() {
    dlclose(handle);
}

void FakePlayer::Configure(int openResult, int lengthMs, int positionMs) {
    auto configure = reinterpret_cast<FakePlayerConfigureFn>(dlsym(handle, "FakePlayerConfigure"));
    configure(openResult, lengthMs, positionMs);
}

void FakePlayer::SetPosition(int positionMs) {
    auto set = reinterpret_cast<FakePlayerSetPositionFn>(dlsym(handle, "FakePlayerSetPosition"));
    set(positionMs);
}

void FakePlayer::SetAudioDevice(bool present) {
    auto set =
        reinterpret_cast<FakePlayerSetAudioDeviceFn>(dlsym(handle, "FakePlayerSetAudioDevice"));
    set(present ? 1 : 0);
}

QStringList FakePlayer::Calls() const {
    auto log = reinterpret_cast<FakePlayerLogFn>(dlsym(handle, "FakePlayerLog"));
    return QString::fromUtf8(log()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList FakePlayer::CallsOf(const QStringList& names) const {
    QStringList found;
    for (const QString& call : Calls()) {
        if (names.contains(call.section(QLatin1Char(' '), 0, 0))) {
            found.push_back(call);
        }
    }
    return found;
}
