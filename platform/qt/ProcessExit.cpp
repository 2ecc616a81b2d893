#include "ProcessExit.h"

#include <cstdlib>

namespace {

EndProcessFunction& EndProcessOverride() {
    static EndProcessFunction function;
    return function;
}

} // namespace

void EndProcess(int code) {
    if (EndProcessOverride()) {
        EndProcessOverride()(code);
        return;
    }
    std::_Exit(code);
}

void SetEndProcessFunction(EndProcessFunction function) {
    EndProcessOverride() = std::move(function);
}
