#pragma once
// Cuts every input of the command line, up to options.jobs of them at once, each through
// its own job. A cut's file is the same whether it ran alone or beside others.
#include "CutOptions.h"
#include "ProgressDisplay.h"

#include <csignal>

// One thread budget for the batch, a processor each: cuts at once come first, and a cut takes
// a second encoder stream only while the processors go round. Returns options so shared.
CutOptions WithinThreadBudget(CutOptions options, unsigned processors);

// Returns the exit code of the whole batch; stops early when the encoder library cannot be
// loaded or *interrupt becomes non-zero (the running cuts are stopped, their files removed).
int RunCutBatch(const CutOptions& options, ProgressDisplay& progress,
                const volatile std::sig_atomic_t* interrupt);
