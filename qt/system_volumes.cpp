#include "qt/system_volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace launcher::qt {

std::vector<std::string> SystemVolumeList::Volumes() const {
    QStringList roots;
#ifdef Q_OS_WIN
    // QDir::drives leaves out empty removable drives, as a drive list should
    // rather than offering a drive that cannot be opened.
    for (const QFileInfo& drive : QDir::drives()) {
        roots.append(QDir::toNativeSeparators(drive.absoluteFilePath()));
    }
#else
    // QDir::drives gives only "/" here; the mounted volumes are what a user
    // thinks of as drives.
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady()) {
            roots.append(volume.rootPath());
        }
    }
    std::sort(roots.begin(), roots.end(), [](const QString& a, const QString& b) {
        const bool aRoot = a == QLatin1String("/");
        const bool bRoot = b == QLatin1String("/");
        return aRoot != bRoot ? aRoot : a < b;
    });
    // A mount point with a mount stacked over another lists once.
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
#endif
    std::vector<std::string> result;
    result.reserve(std::size_t(roots.size()));
    for (const QString& root : roots) {
        result.push_back(root.toStdString());
    }
    return result;
}

std::string SystemVolumeList::WorkingFolder() const {
    return QDir::toNativeSeparators(QDir::currentPath()).toStdString();
}

}  // namespace launcher::qt
