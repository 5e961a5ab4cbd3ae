// main() for every Windows-side suite: GoogleTest first, then the harness's own arguments.
#include <gtest/gtest.h>

#include "HarnessArguments.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  KeepHarnessArguments(argc, argv);
  return RUN_ALL_TESTS();
}
