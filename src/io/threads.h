// The thread-count rule of the parallel loops, and the threads a loop's work is worth.
#pragma once

namespace torva {

// Chooses the thread count of a parallel loop, raises the two running maxima and returns
// the count (callers pass it to the loop's num_threads clause).
int SETNTHR(int request, int& use_max, int& run_max, int rows, int cap_switch);

// Pile nodes of work that one more thread of a loop must have before it is worth taking:
// about half a millisecond of pile solutions on one processor. Below this the cost of
// waking a thread, and on a busy machine of waiting for one the system has not yet run,
// is more than the thread's share saves.
inline constexpr long long kNodesPerThread = 300;

// The threads a parallel loop runs on: the count `limit` that the rule gave (never more),
// less where the loop's work is small: `nodes` is the pile nodes its rows solve (each row's
// nodes times the solutions the loop makes per row), and each thread gets at least
// kNodesPerThread of them; one thread when the work is less than twice that. The rule's
// count is still the one the run log shows; this only leaves threads idle where they
// would cost more than they give.
int LOOPTHR(int limit, long long nodes);

// Sets the share of work per thread that LOOPTHR asks for; 0 restores kNodesPerThread. For
// tests that run a small model's loops on all the threads the rule gives (a share of 1).
void set_nodes_per_thread(long long nodes);

}  // namespace torva
