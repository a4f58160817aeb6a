// The machine's real storage as the folder browse dialogs see it.
#pragma once

#include "prefs/volumes.h"

namespace launcher::qt {

class SystemVolumeList final : public VolumeList {
public:
    // Windows: the drive letters ("C:\", "D:\", ...). Elsewhere: the mounted
    // volumes that can be read now, "/" first, then by path.
    std::vector<std::string> Volumes() const override;
    // The process's current folder, native separators.
    std::string WorkingFolder() const override;
};

}  // namespace launcher::qt
