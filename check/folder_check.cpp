#include "check/folder_check.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "app/position_selection.h"
#include "app/startup.h"
#include "catalogue/position_catalogue.h"
#include "check/file_rules.h"
#include "form/picture_file.h"
#include "launch/voice_client.h"
#include "prefs/preferences.h"
#include "profile/ini.h"
#include "profile/ini_listing.h"
#include "profile/ini_text.h"
#include "profile/paths.h"
#include "profile/program_files.h"

#ifndef _WIN32
#include <unistd.h>

#include "launch/system_starter.h"
#include "launch/wine_host.h"
#endif

namespace launcher::check {
namespace {

namespace fs = std::filesystem;

using ini::IniListing;
using ini::ListedKey;
using ini::ListedSection;

// Asked without exceptions: a file the check may not look at is no file to
// the launcher either.
bool IsFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool IsFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// What stands at a path instead of a file, as a message names it.
std::string KindOf(const fs::file_status& status) {
    switch (status.type()) {
        case fs::file_type::directory:
            return "a folder";
        case fs::file_type::fifo:
            return "a FIFO";
        case fs::file_type::block:
        case fs::file_type::character:
            return "a device";
        case fs::file_type::socket:
            return "a socket";
        default:
            return "no regular file";
    }
}

// Where the symbolic link at `path` points; no value when `path` is no link.
// The launcher writes no file through a link (a dangling one included).
std::optional<std::string> LinkTarget(const fs::path& path) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error))) {
        return std::nullopt;
    }
    return Utf8(fs::read_symlink(path, error));
}

std::string LinkFinding(const std::string& target, std::string_view consequence) {
    return "a symbolic link to " + Quoted(target) +
           " stands in place of the file: the launcher never writes through a link, so " +
           std::string(consequence);
}

// Why the launcher shows no picture from `path`, or "" when it shows it. It
// opens nothing but a regular file, so a FIFO cannot hold the check up.
std::string PictureProblem(const std::string& path) {
    const fs::path file = FileSystemPath(path);
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (!fs::exists(status)) {
        return "does not exist";
    }
    if (!fs::is_regular_file(status)) {
        return "is " + KindOf(status) + ", not a file";
    }
    const std::uintmax_t size = fs::file_size(file, error);
    if (!error && size > kMaxPictureFileBytes) {
        return "is " + std::to_string(size) + " bytes long: the launcher reads no picture over " +
               std::to_string(kMaxPictureFileBytes >> 20) + " MiB";
    }
    if (ReadPictureFile(path)) {
        return "";
    }
    // The core only says no; its header rule, on the same bytes, says why.
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::optional<PictureHeader> header = ReadPictureHeader(bytes);
    if (!in.is_open()) {
        return "cannot be read";
    }
    if (!header) {
        return "is not a BMP, PNG, JPEG or GIF picture";
    }
    const auto fits = [](std::uint32_t side) { return side >= 1 && side <= kMaxPictureSide; };
    if (!fits(header->width) || !fits(header->height)) {
        return "is " + std::to_string(header->width) + " by " + std::to_string(header->height) +
               " pixels: the launcher shows none over " + std::to_string(kMaxPictureSide) +
               " a side";
    }
    return "cannot be read";
}

// A position as a group list shows it, with the config.ini line it comes from.
struct ShownPosition {
    std::string text;
    int group = 0;
    int line = 0;
    bool repeated = false;  // an earlier group or entry shows it already
};

class FolderCheck {
public:
    explicit FolderCheck(std::string_view folder) : folder_(folder) {
        for (std::string_view name : kFiles) {
            File& file = files_.emplace_back();
            file.name = name;
            file.path = InFolder(folder, name);
            const fs::path path = FileSystemPath(file.path);
            std::error_code error;
            // settings.ini is written, so a link there is not followed; the
            // files only read are read through one, as the launcher does.
            if (name == files::kSettings) {
                file.link = LinkTarget(path);
            }
            file.status = file.link ? fs::symlink_status(path, error) : fs::status(path, error);
            file.exists = fs::exists(file.status);
            // Only a regular file is opened: a FIFO would hold the check up.
            if (fs::is_regular_file(file.status)) {
                file.listing = ini::ListIniFile(file.path);
            }
        }
    }

    std::vector<Finding> Run() {
        for (File& file : files_) {
            CheckText(file);
        }
        CheckGroups();
        CheckGeneral();
        CheckFrequencies();
        CheckVoiceCallsigns();
        NoteUnshown(Get(kAutoAtis), "AUTOATIS");
        CheckSettings();
        CheckAtisFile();
        std::stable_sort(
            findings_.begin(), findings_.end(), [](const Finding& a, const Finding& b) {
                const auto order = [](const Finding& f) {
                    return std::find(kFiles.begin(), kFiles.end(), f.file) - kFiles.begin();
                };
                return order(a) != order(b) ? order(a) < order(b) : a.line < b.line;
            });
        return std::move(findings_);
    }

private:
    struct File {
        std::string_view name;
        std::string path;
        fs::file_status status;
        bool exists = false;
        std::optional<std::string> link;    // where it points, when a link the launcher writes
        std::optional<IniListing> listing;  // none when unreadable or UTF-16

        bool regular() const { return fs::is_regular_file(status); }
    };

    const File& Get(std::string_view name) const {
        return *std::find_if(files_.begin(), files_.end(),
                             [&](const File& f) { return f.name == name; });
    }

    void Add(std::string_view file, int line, Severity severity, std::string message) {
        findings_.push_back({std::string(file), line, severity, std::move(message)});
    }

    static int LineOf(const File& file, std::string_view section, std::string_view key) {
        const ListedKey* found = file.listing ? file.listing->Find(section, key) : nullptr;
        return found != nullptr ? found->line : 0;
    }

    // A path written in a file, from the program folder when relative.
    fs::path Resolve(std::string_view written) const {
        return FileSystemPath(folder_) / FileSystemPath(written);
    }

    void CheckText(File& file) {
        if (!file.exists) {
            return;
        }
        if (file.link) {
            Add(file.name, 0, Severity::kError,
                LinkFinding(*file.link,
                            "User Preferences and Final Setup keep nothing; the check reads "
                            "none of it"));
            return;
        }
        if (!file.regular()) {
            Add(file.name, 0, Severity::kError,
                KindOf(file.status) + " stands in place of the file: the launcher cannot read it");
            return;
        }
        if (!file.listing) {
            Add(file.name, 0, Severity::kWarning, "cannot be read");
            return;
        }
        CheckFileText(file.name, *file.listing, findings_);
        if (file.listing->utf16) {
            file.listing.reset();  // its bytes say nothing the launcher reads
        }
    }

    // The groups as the main window shows them, and their positions.
    void CheckGroups() {
        const File& config = Get(kConfig);
        if (!config.exists) {
            Add(kConfig, 0, Severity::kError, "no such file: the launcher shows no groups");
            return;
        }
        if (!config.regular()) {
            return;
        }
        const PositionCatalogue catalogue = LoadPositionCatalogue(config.path);
        for (const PositionGroup& group : catalogue.groups) {
            const std::string number = std::to_string(group.number);
            const std::string items = number + " items";
            if (group.name.empty()) {
                const ListedSection* section =
                    config.listing ? config.listing->FindSection(items) : nullptr;
                const std::vector<std::string> keys = Numbers(kEntriesPerGroup);
                if (section != nullptr && std::any_of(keys.begin(), keys.end(), [&](auto& k) {
                        const ListedKey* entry = config.listing->Find(items, k);
                        return entry != nullptr && !entry->value.empty();
                    })) {
                    Add(kConfig, section->line, Severity::kWarning,
                        "group " + number +
                            " has no name in [combo names]: its positions are never shown");
                }
                continue;
            }
            if (group.entries.empty()) {
                Add(kConfig, LineOf(config, "combo names", number), Severity::kNote,
                    "group " + number + " " + Quoted(group.name) +
                        " has no positions: its list stays empty");
                continue;
            }
            // The entries skip empty keys, and so do their lines.
            std::vector<int> lines;
            for (int k = 1; k <= kEntriesPerGroup; ++k) {
                const ListedKey* entry =
                    config.listing ? config.listing->Find(items, std::to_string(k)) : nullptr;
                if (entry != nullptr && !entry->value.empty()) {
                    lines.push_back(entry->line);
                }
            }
            for (std::size_t i = 0; i < group.entries.size(); ++i) {
                AddShown({group.entries[i], group.number, i < lines.size() ? lines[i] : 0});
            }
        }
    }

    void AddShown(ShownPosition position) {
        for (const ShownPosition& earlier : shown_) {
            if (SamePosition(earlier.text, position.text)) {
                Add(kConfig, position.line, Severity::kWarning,
                    "position " + Quoted(position.text) + " is already in group " +
                        std::to_string(earlier.group) + " (line " + std::to_string(earlier.line) +
                        ")");
                position.repeated = true;
                break;
            }
        }
        shown_.push_back(std::move(position));
    }

    // As the launcher's lookups match a position with a key.
    static bool SamePosition(std::string_view a, std::string_view b) {
        return ini::NamesMatch(ini::TrimArgument(a), ini::TrimArgument(b));
    }

    void CheckGeneral() {
        const File& config = Get(kConfig);
        if (!config.regular()) {
            return;
        }
        CheckPicture(config, "LOGO", "the banner");
        CheckPicture(config, "BACK", "the corner picture");
        const std::string left = ReadIni("GENERAL", "LOGOLEFT", config.path);
        if (!left.empty() && !LogoLeftPixels(left)) {
            Add(kConfig, LineOf(config, "GENERAL", "LOGOLEFT"), Severity::kWarning,
                "LOGOLEFT " + Quoted(left) + " is not a number: the banner keeps its place");
        }
    }

    // As the launcher takes a picture: a network, device or web path is never
    // opened; anything else only when it is a picture it understands.
    void CheckPicture(const File& config, std::string_view key, std::string_view shown) {
        const std::string picture = ReadIni("GENERAL", key, config.path);
        if (picture.empty()) {
            return;
        }
        const std::string named = std::string(key) + " picture " + Quoted(picture);
        const int line = LineOf(config, "GENERAL", key);
        const PicturePathRefusal refusal = ClassifyPicturePath(picture);
        if (refusal != PicturePathRefusal::kNone) {
            std::string message = named +
                                  (refusal == PicturePathRefusal::kNetwork  ? " is a network path"
                                   : refusal == PicturePathRefusal::kDevice ? " is a device path"
                                                                            : " is a web address") +
                                  ": the launcher never opens it, so " + std::string(shown) +
                                  " never shows";
            if (refusal == PicturePathRefusal::kNetwork) {
                message +=
                    " (on Windows, opening it would hand the controller's network "
                    "credentials to that host)";
            }
            Add(kConfig, line, Severity::kError, std::move(message));
            return;
        }
        const std::string problem = PictureProblem(PicturePath(folder_, picture));
        if (!problem.empty()) {
            Add(kConfig, line, Severity::kWarning, named + " " + problem);
        }
    }

    void CheckFrequencies() {
        const File& freq = Get(kFreq);
        if (!freq.exists) {
            if (!shown_.empty()) {
                Add(kFreq, 0, Severity::kError, "no such file: no position has a frequency");
            }
            return;
        }
        if (!freq.regular()) {
            return;
        }
        for (const ShownPosition& position : shown_) {
            if (!position.repeated && LookupFrequency(folder_, position.text).empty()) {
                Add(kConfig, position.line, Severity::kError,
                    "position " + Quoted(position.text) + " has no frequency in freq.ini");
            }
        }
        const ListedSection* section = freq.listing ? freq.listing->FindSection("FREQ") : nullptr;
        for (std::size_t i = 0; section != nullptr && i < section->keys.size(); ++i) {
            const ListedKey& key = section->keys[i];
            if (freq.listing->Find("FREQ", key.name) == &key && !key.value.empty() &&
                !IsAirbandChannel(key.value)) {
                Add(kFreq, key.line, Severity::kWarning,
                    "frequency " + Quoted(key.value) + " of " + Quoted(key.name) +
                        " is no airband channel as the radar client expects it (NNN.NNN, "
                        "118.000 to 136.990)");
            }
        }
        NoteUnshown(freq, "FREQ");
    }

    void CheckVoiceCallsigns() {
        const File& voice = Get(kVoice);
        if (!voice.exists) {
            if (!shown_.empty()) {
                Add(kVoice, 0, Severity::kWarning,
                    "no such file: the voice client joins every position with an empty callsign");
            }
            return;
        }
        if (!voice.regular()) {
            return;
        }
        for (const ShownPosition& position : shown_) {
            if (!position.repeated && ReadIni("voice", position.text, voice.path).empty()) {
                Add(kConfig, position.line, Severity::kWarning,
                    "position " + Quoted(position.text) +
                        " has no voice callsign in voice.ini: the voice client would join with "
                        "an empty one");
            }
        }
        NoteUnshown(voice, "voice");
    }

    // Keys of a file of positions that no group shows: read only for a
    // position a controller types in.
    void NoteUnshown(const File& file, std::string_view sectionName) {
        const ListedSection* section =
            file.listing ? file.listing->FindSection(sectionName) : nullptr;
        if (section == nullptr) {
            return;
        }
        for (const ListedKey& key : section->keys) {
            const bool shown = std::any_of(shown_.begin(), shown_.end(), [&](auto& position) {
                return file.listing->Find(sectionName, position.text) == &key;
            });
            if (!shown && file.listing->Find(sectionName, key.name) == &key) {
                Add(file.name, key.line, Severity::kNote, "no group shows " + Quoted(key.name));
            }
        }
    }

    void CheckSettings() {
        const File& settings = Get(files::kSettings);
        if (!settings.regular() || settings.link) {
            return;
        }
        Preferences preferences;
        LoadPreferences(preferences, settings.path);
        CheckClient(settings, "RDVDIR", "radar", preferences.rdvdir, kRadarClientProgram);
        CheckClient(settings, "RWDIR", "voice", preferences.rwdir, kVoiceClientProgram);
        CheckWindowsFolder(settings, preferences.windowsdir);
        CheckWine(settings);
        const int dateLine = LineOf(settings, sections::kMain, "DATE");
        if (dateLine != 0 && preferences.datebox != "UK" && preferences.datebox != "USA") {
            Add(settings.name, dateLine, Severity::kWarning,
                "date format " + Quoted(preferences.datebox) +
                    " is neither \"UK\" nor \"USA\": the ATIS text starts with an empty line");
        }
    }

    // A folder of this machine that a settings file names for every machine
    // it is copied to. Not looked at: on Windows that would log on to the host.
    bool IsSharedFolder(const File& settings, int line, std::string_view role,
                        const std::string& folder) {
        if (!IsNetworkPath(folder)) {
            return false;
        }
        Add(settings.name, line, Severity::kWarning,
            std::string(role) + " folder " + Quoted(folder) +
                " is a network path: a folder that is shared should not carry it; each machine "
                "names its own in User Preferences");
        return true;
    }

    void CheckWindowsFolder(const File& settings, const std::string& folder) {
        const int line = LineOf(settings, sections::kMain, "WINDIR");
        if (folder.empty() || IsSharedFolder(settings, line, "Windows", folder)) {
            return;
        }
        if (!IsFolder(Resolve(folder))) {
            Add(settings.name, line, Severity::kWarning,
                "Windows folder " + Quoted(folder) + " does not exist");
            return;
        }
        const fs::path radarSettings = Resolve(folder) / FileSystemPath(files::kRadarSettings);
        if (const std::optional<std::string> target = LinkTarget(radarSettings)) {
            Add(settings.name, line, Severity::kError,
                std::string(files::kRadarSettings) + " in Windows folder " + Quoted(folder) +
                    " is a symbolic link to " + Quoted(*target) +
                    ": the launcher never writes through a link, so the radar client is never "
                    "told where the ATIS file is");
        }
    }

    void CheckWine(const File& settings) {
        const std::string wine = ReadIni(sections::kMain, "WINE", settings.path);
        if (wine.empty()) {
            return;
        }
        const int line = LineOf(settings, sections::kMain, "WINE");
        if (!NamesWine(wine)) {
            Add(settings.name, line, Severity::kError,
                "WINE " + Quoted(wine) +
                    " names no Wine: the launcher takes only a program whose name begins with "
                    "\"wine\", so it starts no Windows client");
        } else if (InProgramFolder(wine)) {
            Add(settings.name, line, Severity::kError,
                "WINE " + Quoted(wine) +
                    " names a program inside the program folder, which would run with the "
                    "controller's rights: the launcher refuses it and starts no Windows client");
        } else {
            Add(settings.name, line, Severity::kWarning,
                "WINE " + Quoted(wine) +
                    ": a folder that is shared should not decide which program starts the "
                    "Windows clients; leave the key out, and each machine uses its own Wine");
        }
    }

    // Whether a program named in a file lies in the program folder, links
    // resolved. A bare name is looked for on PATH, never there.
    bool InProgramFolder(std::string_view program) const {
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
        for (auto f = folder.begin(); f != folder.end(); ++f) {
            if (f->empty()) {
                continue;  // the empty name a trailing separator leaves
            }
            if (p == path.end() || *p != *f) {
                return false;
            }
            ++p;
        }
        return true;
    }

    // The ATIS file is replaced, never written through a link.
    void CheckAtisFile() {
        const fs::path atis = FileSystemPath(InFolder(folder_, files::kAtis));
        if (const std::optional<std::string> target = LinkTarget(atis)) {
            Add(files::kAtis, 0, Severity::kError,
                LinkFinding(*target, "Go fails with \"cannot create the ATIS file\""));
        }
    }

    void CheckClient(const File& settings, std::string_view key, std::string_view role,
                     const std::string& folder, std::string_view program) {
        const int line = LineOf(settings, sections::kMain, key);
        if (folder.empty() || IsSharedFolder(settings, line, role, folder)) {
            return;
        }
        const fs::path path = Resolve(folder) / FileSystemPath(program);
        if (!IsFile(path)) {
            Add(settings.name, line, Severity::kWarning,
                std::string(role) + " folder " + Quoted(folder) + " holds no " +
                    std::string(program));
            return;
        }
#ifndef _WIN32
        if (wine::IsWindowsProgram(path.string())) {
            // A Wine named by its path is not looked for, only tried.
            const WineFound wine = FindWine(settings.path);
            if (wine.path.empty() || !IsFile(wine.path) || ::access(wine.path.c_str(), X_OK) != 0) {
                Add(settings.name, line, Severity::kWarning,
                    std::string(program) + " is a Windows program, and no Wine (" +
                        Quoted(wine.named) + ") is found to start it");
            }
        }
#endif
    }

    std::string folder_;
    std::vector<File> files_;
    std::vector<ShownPosition> shown_;
    std::vector<Finding> findings_;
};

}  // namespace

std::vector<Finding> CheckProgramFolder(std::string_view folder) {
    return FolderCheck(folder).Run();
}

bool IsNetworkPath(std::string_view path) {
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    return path.size() >= 2 && separator(path[0]) && separator(path[1]);
}

bool NamesWine(std::string_view program) {
    std::string name(program.substr(program.rfind('/') + 1));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name.starts_with("wine");
}

bool IsAirbandChannel(std::string_view frequency) {
    if (frequency.size() != 7 || frequency[3] != '.' ||
        !std::all_of(frequency.begin(), frequency.end(),
                     [](char c) { return c == '.' || (c >= '0' && c <= '9'); })) {
        return false;
    }
    const int megahertz = std::stoi(std::string(frequency.substr(0, 3)));
    const int kilohertz = std::stoi(std::string(frequency.substr(4)));
    // 8.33 kHz channels are named 5, 10 and 15 kHz above the 25 kHz ones:
    // a name 20 kHz above is no channel.
    const int total = megahertz * 1000 + kilohertz;
    return total >= 118000 && total <= 136990 && kilohertz % 25 != 20;
}

}  // namespace launcher::check
