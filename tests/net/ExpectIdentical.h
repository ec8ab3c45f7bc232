// Compares Variants kind by kind: stricter than ==, which lets numbers and texts of
// different kinds compare equal.
#pragma once

#include <gtest/gtest.h>

#include "platform/Variant.h"

namespace ox::test {

inline void ExpectIdentical(const Variant& a, const Variant& b) {
  ASSERT_EQ(a.type(), b.type());
  if (a.isArray()) {
    ASSERT_EQ(a.array().dimCount(), b.array().dimCount());
    for (int d = 1; d <= a.array().dimCount(); ++d)
      EXPECT_EQ(a.array().bounds(d), b.array().bounds(d));
    ASSERT_EQ(a.array().size(), b.array().size());
    for (std::size_t i = 0; i < a.array().size(); ++i)
      ExpectIdentical(a.array().elements()[i], b.array().elements()[i]);
  } else if (a.isNarrowText()) {
    EXPECT_EQ(*a.narrowText(), *b.narrowText());
  } else if (a.isWideText()) {
    EXPECT_EQ(*a.wideText(), *b.wideText());
  } else if (!VarIsClear(a)) {
    EXPECT_TRUE(a == b);
  }
}

}  // namespace ox::test
