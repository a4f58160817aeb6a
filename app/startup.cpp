#include "app/startup.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "launch/atis.h"
#include "launch/radar_settings.h"
#include "profile/ini.h"

namespace launcher {

namespace {

// Qt's limit on a widget's coordinates (QWIDGETSIZE_MAX); the core names it
// itself to stay free of the toolkit.
constexpr float kMaxPixels = 16777215.0f;

}  // namespace

bool AutoAtisTicked(std::string_view saved) {
    return saved == "1";
}

std::optional<int> LogoLeftPixels(std::string_view twips) {
    float value = 0;
    const char* const end = twips.data() + twips.size();
    // from_chars ignores the locale: "1.5" is one and a half everywhere.
    const auto [stop, error] = std::from_chars(twips.data(), end, value);
    if (twips.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    const float pixels = std::clamp(std::round(value / 15.0f), -kMaxPixels, kMaxPixels);
    return static_cast<int>(pixels);
}

void WriteAtisFileName(std::string_view windowsFolder, std::string_view programFolder,
                       std::string_view radarFolder) {
    const std::string file = RadarSettingsFile(windowsFolder);
    if (!file.empty()) {
        WriteIni(kRadarSettingsSection, "ATIS FILENAME",
                 AtisFileNameForRadarClient(programFolder, radarFolder), file,
                 IniText::kWindows1252);
    }
}

std::string ComposeCaption(std::string_view current, std::string_view title, ProgramVersion version,
                           std::string_view notice) {
    std::string caption;
    caption.append(current).append(title).append(" Edition Version ");
    caption.append(std::to_string(version.majorNumber)).push_back('.');
    caption.append(std::to_string(version.minorNumber)).push_back('.');
    caption.append(std::to_string(version.revision));
    caption.push_back(' ');
    caption.append(notice);
    return caption;
}

}  // namespace launcher
