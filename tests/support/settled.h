// A finder's optional result taken into a variable inside an assertion:
//   ASSERT_TRUE(Settled(FindMaximum(context, t0, deltaT), maximum));
#pragma once

#include <gtest/gtest.h>

#include <optional>

namespace vernier {

template <typename T>
::testing::AssertionResult Settled(const std::optional<T>& found, T& out) {
  if (!found) return ::testing::AssertionFailure() << "no result: the search did not settle";
  out = *found;
  return ::testing::AssertionSuccess();
}

}  // namespace vernier
