// The thread-count rule of the parallel loops.
#pragma once

namespace torva {

// Chooses the thread count of a parallel loop, raises the two running maxima and returns
// the count (callers pass it to the loop's num_threads clause).
int SETNTHR(int request, int& use_max, int& run_max, int rows, int cap_switch);

}  // namespace torva
