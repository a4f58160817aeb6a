// Checks that a write given an empty folder leaves no file in the root of the
// drive (or "/"), where the bare file name would land.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>

#include "profile/paths.h"

namespace launcher::testing {

// Runs `write` and fails if it created `name` in the root. Should the file
// appear, it is removed again; if it was there before, nothing can be told.
template <typename Write>
void ExpectNothingWrittenAtRoot(std::string_view name, Write write) {
    const std::filesystem::path root = InFolder("", name);
    if (std::filesystem::exists(root)) {
        GTEST_SKIP() << root << " exists already; whether it was written cannot be told";
    }
    write();
    const bool written = std::filesystem::exists(root);
    if (written) {
        std::filesystem::remove(root);
    }
    EXPECT_FALSE(written) << root;
}

}  // namespace launcher::testing
