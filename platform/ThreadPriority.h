#pragma once
// The processor priority of the calling thread, for work that should take only the time
// nothing else wants (the window's cut). Threads started by a thread inherit its priority.

// Puts the calling thread in the idle scheduling class (SCHED_IDLE) with nice 19, which an
// unprivileged process may always do. True when at least one of the two took effect.
bool LowerCurrentThreadPriority();

// Moves every thread of this process that is in the idle class back to the normal class
// (its nice value stays), so work being stopped gets the processor time to notice and end
// while everything else keeps the processors busy.
void RaiseIdleThreadsOfProcess();
