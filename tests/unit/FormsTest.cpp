#include <gtest/gtest.h>

#include "forms/CommandRoute.h"

namespace {

TEST(RouteCommand, OnlyClicksOfTheFourButtonsInOrder) {
  const std::pair<uint32_t, CommandRoute> cases[] = {
      {1008, CommandRoute::Next}, {2, CommandRoute::Cancel},
      {1007, CommandRoute::Back}, {1003, CommandRoute::Browse},
      {1, CommandRoute::None},    {(6u << 16) | 1008, CommandRoute::None},
      {1005, CommandRoute::None}, {(0x300u << 16) | 1005, CommandRoute::None},
  };
  for (const auto& [wParam, route] : cases) EXPECT_EQ(RouteCommand(wParam), route) << std::hex << wParam;
}

}  // namespace
