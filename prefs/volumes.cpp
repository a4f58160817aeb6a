#include "prefs/volumes.h"

#include <algorithm>
#include <cctype>

namespace launcher {

namespace {

// Forward slashes, no trailing separator but on a root ("/", "C:/").
std::string Normalised(std::string_view path) {
    std::string clean(path);
    std::replace(clean.begin(), clean.end(), '\\', '/');
    while (clean.size() > 1 && clean.back() == '/' && !clean.ends_with(":/")) {
        clean.pop_back();
    }
    return clean;
}

bool SameText(std::string_view a, std::string_view b) {
#ifdef _WIN32
    // Drive letters and folder names match without regard to case.
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
#else
    return a == b;
#endif
}

}  // namespace

std::string VolumeContaining(const std::vector<std::string>& roots, std::string_view folder) {
    const std::string target = Normalised(folder);
    std::string best;
    std::size_t bestLength = 0;
    bool found = false;
    for (const std::string& root : roots) {
        const std::string clean = Normalised(root);
        if (clean.empty() || clean.size() > target.size() ||
            !SameText(std::string_view(target).substr(0, clean.size()), clean)) {
            continue;
        }
        // "/home" holds "/home/me" but not "/homework".
        const bool boundary =
            target.size() == clean.size() || clean.back() == '/' || target[clean.size()] == '/';
        if (boundary && (!found || clean.size() > bestLength)) {
            best = root;
            bestLength = clean.size();
            found = true;
        }
    }
    return best;
}

}  // namespace launcher
