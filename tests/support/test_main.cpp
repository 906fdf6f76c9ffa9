// Test main of every test binary.
#include <gtest/gtest.h>

#include "host/waiting.h"

int main(int argc, char** argv) {
  // The tests run the engine in this process: its threads wait as in a run of the host.
  torva_host::wait_passively(argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
