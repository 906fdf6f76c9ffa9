// Every parallel loop of a small model on all the threads the thread-count rule gives, for the
// life of the object: the tests that compare thread counts need the threads to run.
#pragma once

#include "io/threads.h"

namespace torva::testing {

struct AllThreads {
  AllThreads() { set_nodes_per_thread(1); }
  ~AllThreads() { set_nodes_per_thread(0); }
  AllThreads(const AllThreads&) = delete;
  AllThreads& operator=(const AllThreads&) = delete;
};

}  // namespace torva::testing
