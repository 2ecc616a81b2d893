#include "CutBatch.h"

#include "CutRunner.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(20);

// The inputs spread over a few runners; each runner cuts one input at a time.
class Batch {
public:
    Batch(const CutOptions& cutOptions, ProgressDisplay& progress,
          const volatile std::sig_atomic_t* interruptFlag)
        : options(WithinThreadBudget(cutOptions, std::thread::hardware_concurrency())),
          interrupt(interruptFlag), codes(cutOptions.inputs.size(), kExitOk) {
        const size_t count = std::clamp<size_t>(options.jobs, 1, options.inputs.size());
        for (size_t i = 0; i < count; ++i) {
            slots.push_back(Slot{std::make_unique<CutRunner>(progress, static_cast<int>(i))});
            // Opening a long source gives up as soon as the interrupt comes.
            slots.back().runner->SetInterrupt([this] { return Interrupted(); });
        }
    }

    // Follows the running cuts and starts the next inputs; false once all is done.
    bool Step() {
        const bool stopping = Interrupted();
        for (Slot& slot : slots) {
            if (slot.busy) {
                Follow(slot, stopping);
            }
            // Asked before every start: opening a source may take a while.
            while (!slot.busy && !Interrupted() && next < options.inputs.size()) {
                if (!StartNext(slot)) {
                    return false;
                }
            }
        }
        return std::any_of(slots.begin(), slots.end(), [](const Slot& s) { return s.busy; }) ||
               (!Interrupted() && next < options.inputs.size());
    }

    // As a serial run gives it: the failure of the last input that failed, whatever order
    // the cuts ended in; the encoder library's failure ends the batch.
    int Result() const {
        if (libraryFailed) {
            return kExitEncoderLibrary;
        }
        const auto failed =
            std::find_if(codes.rbegin(), codes.rend(), [](int code) { return code != kExitOk; });
        return failed == codes.rend() ? kExitOk : *failed;
    }

private:
    struct Slot {
        std::unique_ptr<CutRunner> runner;
        bool busy = false;
        size_t input = 0;
    };

    bool Interrupted() const { return interrupt && *interrupt; }

    void Follow(Slot& slot, bool stopping) {
        if (stopping) {
            codes[slot.input] = slot.runner->Interrupt();
        } else if (!slot.runner->IsRunning()) {
            codes[slot.input] = slot.runner->Conclude();
        } else {
            slot.runner->ShowProgress();
            return;
        }
        slot.busy = false;
    }

    bool StartNext(Slot& slot) {
        slot.input = next++;
        const int code = slot.runner->Start(options, options.inputs[slot.input]);
        if (code == kExitEncoderLibrary) {
            // No cut can be made: the ones running are given up as after a signal.
            libraryFailed = true;
            for (Slot& other : slots) {
                if (other.busy) {
                    other.runner->Interrupt();
                    other.busy = false;
                }
            }
            return false;
        }
        codes[slot.input] = code;
        slot.busy = code == kExitOk;
        return true;
    }

    const CutOptions options;
    const volatile std::sig_atomic_t* interrupt;
    std::vector<Slot> slots;
    std::vector<int> codes; // by input
    size_t next = 0;
    bool libraryFailed = false;
};

} // namespace

// The files are the same with one encoder stream or two.
CutOptions WithinThreadBudget(CutOptions options, unsigned processors) {
    const auto budget = static_cast<size_t>(std::max({1u, processors}));
    const size_t atOnce =
        std::clamp<size_t>(static_cast<size_t>(options.jobs), 1, options.inputs.size());
    const auto streams = static_cast<size_t>(options.cut.lanes);
    if (atOnce * streams > std::max(budget, streams)) {
        options.cut.lanes = 1;
    }
    return options;
}

int RunCutBatch(const CutOptions& options, ProgressDisplay& progress,
                const volatile std::sig_atomic_t* interrupt) {
    Batch batch(options, progress, interrupt);
    while (batch.Step()) {
        std::this_thread::sleep_for(kPollInterval);
    }
    return batch.Result();
}
