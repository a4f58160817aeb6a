// What the folder browse dialogs see of the machine's storage: the drives (on
// Windows) or mounted volumes (elsewhere) and the program's current folder.
// Injected so tests can offer a fake set of volumes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace launcher {

class VolumeList {
public:
    virtual ~VolumeList() = default;
    // Root paths of the drives or volumes, in display order ("C:\", "D:\" or
    // "/", "/home", ...).
    virtual std::vector<std::string> Volumes() const = 0;
    // The launcher's current working folder.
    virtual std::string WorkingFolder() const = 0;
};

// The volume holding `folder`: the longest root in `roots` that `folder`
// starts with, matched at a folder boundary; empty when none does. Drive
// letters and names match without regard to case on Windows.
std::string VolumeContaining(const std::vector<std::string>& roots, std::string_view folder);

}  // namespace launcher
