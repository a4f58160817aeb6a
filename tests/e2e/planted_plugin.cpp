// A Qt plugin as a hostile program folder brings one, for the hostile-folder
// scenario: whatever loads it runs its code. Its one deed is to leave a marker
// beside itself, its own file name with ".ran" added. Built twice: as an image
// format plugin, which the scenario plants in imageformats/ beside the
// launcher, and with PLANTED_PLATFORM as a platform plugin for the X display
// ("xcb"), planted in a folder that a qt.conf beside the launcher names.
#include <dlfcn.h>

#include <QImageIOPlugin>
#include <QObject>
#include <cstdio>
#include <string>

namespace {

__attribute__((constructor)) void LeaveMarker() {
    Dl_info self{};
    if (dladdr(reinterpret_cast<void*>(&LeaveMarker), &self) == 0 || self.dli_fname == nullptr) {
        return;
    }
    const std::string marker = std::string(self.dli_fname) + ".ran";
    if (std::FILE* file = std::fopen(marker.c_str(), "w")) {
        std::fputs("loaded\n", file);
        std::fclose(file);
    }
}

}  // namespace

#ifdef PLANTED_PLATFORM
// Qt looks for a platform plugin by its key and loads it before it asks for
// the interface, so a bare object with the metadata suffices.
class PlantedPlatform : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QPA.QPlatformIntegrationFactoryInterface.5.3" FILE
                          "planted_plugin.json")
};
#else
// Reads nothing; Qt loads it to ask whether it reads a picture of unknown format.
class PlantedImageFormat : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "planted_plugin.json")

public:
    Capabilities capabilities(QIODevice*, const QByteArray&) const override { return {}; }
    QImageIOHandler* create(QIODevice*, const QByteArray&) const override { return nullptr; }
};
#endif

#include "planted_plugin.moc"
