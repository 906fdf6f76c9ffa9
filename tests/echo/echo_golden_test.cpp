// Tables B to E of the echo of every bundled example, held by golden files
// (tests/golden/<example>/tables_b_e.txt, checked by hand once against the tables' layout;
// comparison rules in support/golden.h).
#include <gtest/gtest.h>

#include "support/golden.h"

namespace torva {
namespace {

TEST(EchoGolden, TablesBToEOfEveryExample) {
  testing::check_examples_golden(".echo", "tables_b_e.txt", [](const std::string& echo) {
    return testing::report_part(echo, "INPUT INFORMATION", "* TABLE F *");
  });
}

}  // namespace
}  // namespace torva
