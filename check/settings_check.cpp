#include "check/folder_checker.h"
#include "launch/voice_client.h"
#include "launch/wine.h"
#include "profile/program_files.h"

#ifndef _WIN32
#include <unistd.h>

#include "launch/wine_host.h"
#endif

namespace launcher::check {

void FolderCheck::CheckSettings() {
    const File& settings = Get(files::kSettings);
    if (!settings.index || settings.link) {
        return;
    }
    const auto value = [&](const IniKey& key) { return settings.Value(key.section, key.key); };
    CheckClient(settings, keys::kRadarFolder, "radar", value(keys::kRadarFolder),
                kRadarClientProgram);
    CheckClient(settings, keys::kVoiceFolder, "voice", value(keys::kVoiceFolder),
                kVoiceClientProgram);
    CheckWindowsFolder(settings, value(keys::kWindowsFolder));
    CheckWine(settings);
    const int dateLine = settings.LineOf(keys::kDateStyle.section, keys::kDateStyle.key);
    const std::string date = value(keys::kDateStyle);
    if (dateLine != 0 && date != "UK" && date != "USA") {
        Add(settings.shown, dateLine, Severity::kWarning,
            "date format " + Quoted(date) +
                " is neither \"UK\" nor \"USA\": the ATIS text starts with an empty line");
    }
}

// A folder of this machine that a settings file names for every machine
// it is copied to. Not looked at: on Windows that would log on to the host.
bool FolderCheck::IsSharedFolder(const File& settings, int line, std::string_view role,
                                 const std::string& folder) {
    if (!IsNetworkPath(folder)) {
        return false;
    }
    Add(settings.shown, line, Severity::kWarning,
        std::string(role) + " folder " + Quoted(folder) +
            " is a network path: a folder that is shared should not carry it; each machine "
            "names its own in User Preferences");
    return true;
}

void FolderCheck::CheckWindowsFolder(const File& settings, const std::string& folder) {
    const int line = settings.LineOf(keys::kWindowsFolder.section, keys::kWindowsFolder.key);
    if (folder.empty() || IsSharedFolder(settings, line, "Windows", folder)) {
        return;
    }
    const std::optional<fs::path> resolved = ResolveWritten(folder_, folder, reading_);
    if (!resolved) {
        return;  // a Windows path, which only the controller's machine can follow
    }
    if (!IsFolder(*resolved)) {
        Add(settings.shown, line, Severity::kWarning,
            "Windows folder " + Quoted(folder) + " does not exist");
        return;
    }
    const fs::path radarSettings =
        *resolved / FileSystemPath(FindInFolder(*resolved, files::kRadarSettings, reading_)
                                       .value_or(std::string(files::kRadarSettings)));
    if (const std::optional<std::string> target = LinkTarget(radarSettings)) {
        Add(settings.shown, line, Severity::kError,
            std::string(files::kRadarSettings) + " in Windows folder " + Quoted(folder) +
                " is a symbolic link to " + Quoted(*target) +
                ": the launcher never writes through a link, so the radar client is never "
                "told where the ATIS file is");
    }
}

void FolderCheck::CheckWine(const File& settings) {
    const std::string wine = settings.Value(keys::kWine.section, keys::kWine.key);
    if (wine.empty()) {
        return;
    }
    const int line = settings.LineOf(keys::kWine.section, keys::kWine.key);
    if (!NamesWine(wine)) {
        Add(settings.shown, line, Severity::kError,
            "WINE " + Quoted(wine) +
                " names no Wine: the launcher takes only a program whose name begins with "
                "\"wine\", so it starts no Windows client");
    } else if (InProgramFolder(wine)) {
        Add(settings.shown, line, Severity::kError,
            "WINE " + Quoted(wine) +
                " names a program inside the program folder, which would run with the "
                "controller's rights: the launcher refuses it and starts no Windows client");
    } else {
        Add(settings.shown, line, Severity::kWarning,
            "WINE " + Quoted(wine) +
                ": a folder that is shared should not decide which program starts the "
                "Windows clients; leave the key out, and each machine uses its own Wine");
    }
}

// Whether a program named in a file lies in the program folder, links
// resolved. A bare name is looked for on PATH, never there.
bool FolderCheck::InProgramFolder(std::string_view program) const {
    const bool bare = program.find('/') == std::string_view::npos &&
                      (kPathSeparator == '/' || program.find('\\') == std::string_view::npos);
    if (bare || IsNetworkPath(program)) {
        return false;
    }
    const auto real = [](const fs::path& path) {
        std::error_code error;
        fs::path found = fs::weakly_canonical(fs::absolute(path, error), error);
        return error ? fs::absolute(path, error).lexically_normal() : found;
    };
    const fs::path folder = real(FileSystemPath(folder_));
    const fs::path path = real(Resolve(program));
    auto p = path.begin();
    for (const fs::path& f : folder) {
        if (f.empty()) {
            continue;  // the empty name a trailing separator leaves
        }
        if (p == path.end() || *p != f) {
            return false;
        }
        ++p;
    }
    return true;
}

// The ATIS file is replaced, never written through a link.
void FolderCheck::CheckAtisFile() {
    const std::string name =
        FindInFolder(FileSystemPath(folder_), files::kAtis, reading_).value_or("");
    const fs::path atis = FileSystemPath(folder_) / FileSystemPath(name);
    if (const std::optional<std::string> target = name.empty() ? std::nullopt : LinkTarget(atis)) {
        Add(name, 0, Severity::kError,
            LinkFinding(*target, "Go fails with \"cannot create the ATIS file\""));
    }
}

void FolderCheck::CheckClient(const File& settings, const IniKey& key, std::string_view role,
                              const std::string& folder, std::string_view program) {
    const int line = settings.LineOf(key.section, key.key);
    if (folder.empty() || IsSharedFolder(settings, line, role, folder)) {
        return;
    }
    const std::optional<fs::path> resolved = ResolveWritten(folder_, folder, reading_);
    if (!resolved) {
        return;  // a Windows path, which only the controller's machine can follow
    }
    const fs::path path =
        *resolved /
        FileSystemPath(FindInFolder(*resolved, program, reading_).value_or(std::string(program)));
    if (!IsFile(path)) {
        Add(settings.shown, line, Severity::kWarning,
            std::string(role) + " folder " + Quoted(folder) + " holds no " + std::string(program));
        return;
    }
#ifndef _WIN32
    if (reading_ == Reading::kLinux && wine::IsWindowsProgram(path.string())) {
        // A Wine named by its path is not looked for, only tried.
        const WineFound wine = FindWine(settings.path);
        if (wine.path.empty() || !IsFile(wine.path) || ::access(wine.path.c_str(), X_OK) != 0) {
            Add(settings.shown, line, Severity::kWarning,
                std::string(program) + " is a Windows program, and no Wine (" + Quoted(wine.named) +
                    ") is found to start it");
        }
    }
#endif
}

}  // namespace launcher::check
