#pragma once

#include "model/Status.h"

#include <gtest/gtest.h>

namespace morvi::testing {

// EXPECT_TRUE(Succeeded(status)) prints the status message when the operation failed.
inline ::testing::AssertionResult Succeeded(const Status& status) {
    if (status) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << status.message();
}

} // namespace morvi::testing
