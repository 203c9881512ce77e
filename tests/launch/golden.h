#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace morvane::testing {

// The bytes of a golden file under tests/launch/golden.
inline std::string golden(const std::string& name) {
    std::ifstream in(std::filesystem::path(MORVANE_GOLDEN_DIR) / name, std::ios::binary);
    EXPECT_TRUE(in) << "no golden file " << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace morvane::testing
