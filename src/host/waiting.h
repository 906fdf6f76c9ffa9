// How the engine's threads wait for work in a run of the host.
#pragma once

namespace torva_host {

// Threads of the OpenMP runtime that run out of work keep their processor for a while,
// spinning, in case more work comes at once. On a machine that other work shares they take
// the processor from the thread holding the rest of the work, and a run can take many times
// as long as on one thread. The runtime reads how its threads wait from the environment once,
// when it is loaded (before main), so when the user has set none of OMP_WAIT_POLICY,
// GOMP_SPINCOUNT, KMP_BLOCKTIME and KMP_LIBRARY (and more than one thread may run), this
// sets OMP_WAIT_POLICY=passive (threads without work sleep at once) and starts the host
// again in place with the same arguments, the same process and the same open files.
// Returns when the host goes on as it is: what the user set is kept, and when the host
// cannot start itself again it runs with the runtime's own policy. With
// `hold_stop_signals`, the stop signals (SIGINT, SIGTERM, SIGHUP) are blocked across the
// restart, so that one sent meanwhile waits for the new image's handlers (which must
// unblock them) instead of ending the process.
void wait_passively(char** argv, bool hold_stop_signals = false);

}  // namespace torva_host
