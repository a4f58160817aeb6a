#include "prefs/volumes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace launcher {
namespace {

TEST(VolumeContainingTest, MatchesWholeFolderNames) {
    const std::vector<std::string> roots{"/", "/home", "/home/me/data"};
    EXPECT_EQ(VolumeContaining(roots, "/home/me"), std::string("/home"));
    EXPECT_EQ(VolumeContaining(roots, "/homework"), std::string("/"));
    EXPECT_EQ(VolumeContaining(roots, "/home/me/data"), std::string("/home/me/data"));
    // The root is given back as listed, trailing separator and all.
    EXPECT_EQ(VolumeContaining({"/home/"}, "/home"), std::string("/home/"));
    EXPECT_EQ(VolumeContaining({"/home"}, "/usr"), std::string());
}

}  // namespace
}  // namespace launcher
