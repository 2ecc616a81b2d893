#pragma once
// The processor priority of the calling thread, for work that should take only the time
// nothing else wants (the window's cut). Threads started by a thread inherit its priority.

// Puts the calling thread in the idle scheduling class (SCHED_IDLE) with nice 19, which an
// unprivileged process may always do. True when at least one of the two took effect.
bool LowerCurrentThreadPriority();
