#include "check/folder_check.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "app/position_selection.h"
#include "app/startup.h"
#include "catalogue/position_catalogue.h"
#include "check/file_rules.h"
#include "check/folder_files.h"
#include "form/picture_file.h"
#include "launch/system_starter.h"
#include "launch/voice_client.h"
#include "prefs/preferences.h"
#include "profile/codepage.h"
#include "profile/ini.h"
#include "profile/ini_listing.h"
#include "profile/ini_text.h"
#include "profile/paths.h"
#include "profile/program_files.h"

#ifndef _WIN32
#include <unistd.h>

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
    const FileBytes read = ReadFileBytes(file);
    if (!read.refusal.empty()) {
        return read.refusal;
    }
    const std::optional<PictureHeader> header = ReadPictureHeader(read.bytes);
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
    FolderCheck(std::string_view folder, Reading reading) : folder_(folder), reading_(reading) {
        files_.reserve(kFiles.size());  // the indexes point into the listings
        for (std::string_view name : kFiles) {
            File& file = files_.emplace_back();
            file.name = name;
            const std::optional<std::string> found =
                FindInFolder(FileSystemPath(folder), name, reading);
            file.shown = found.value_or(std::string(name));
            file.path = InFolder(folder, file.shown);
            const fs::path path = FileSystemPath(file.path);
            std::error_code error;
            // settings.ini is written, so a link there is not followed; the
            // files only read are read through one, as the launcher does.
            if (name == files::kSettings) {
                file.link = LinkTarget(path);
            }
            file.exists = found.has_value();
            if (file.exists && !file.link) {
                FileBytes read = ReadFileBytes(path);
                file.status = read.status;
                file.refusal = std::move(read.refusal);
                file.bytes = std::move(read.bytes);
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
        SortByPlace(causes_);
        SortByPlace(findings_);
        causes_.insert(causes_.end(), std::make_move_iterator(findings_.begin()),
                       std::make_move_iterator(findings_.end()));
        return std::move(causes_);
    }

private:
    // File by file in the report's order, then by line; the order of each
    // file is worked out once, not at each comparison.
    static void SortByPlace(std::vector<Finding>& findings) {
        std::unordered_map<std::string, std::size_t> orders;
        std::vector<std::pair<std::size_t, std::size_t>> keys;  // (order, index)
        keys.reserve(findings.size());
        for (std::size_t i = 0; i < findings.size(); ++i) {
            auto [known, added] = orders.try_emplace(findings[i].file, 0);
            if (added) {
                known->second = static_cast<std::size_t>(
                    std::find(kFiles.begin(), kFiles.end(), FoldedName(findings[i].file)) -
                    kFiles.begin());
            }
            keys.emplace_back(known->second, i);
        }
        std::stable_sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
            return a.first != b.first ? a.first < b.first
                                      : findings[a.second].line < findings[b.second].line;
        });
        std::vector<Finding> sorted;
        sorted.reserve(findings.size());
        for (const auto& key : keys) {
            sorted.push_back(std::move(findings[key.second]));
        }
        findings = std::move(sorted);
    }

    struct File {
        std::string_view name;
        std::string shown;  // its name in the folder, which Windows finds in any case
        std::string path;
        fs::file_status status;
        bool exists = false;
        std::optional<std::string> link;    // where it points, when a link the launcher writes
        std::string refusal;                // why it cannot be read
        std::string bytes;                  // dropped once listed
        std::optional<IniListing> listing;  // none when nothing of it is read
        std::optional<ListingIndex> index;
        std::string cause;   // "file:line" of the finding that says why nothing is read
        std::string spoilt;  // the section a byte-order mark hides

        const ListedSection* FindSection(std::string_view section) const {
            return index ? index->FindSection(section) : nullptr;
        }
        const ListedKey* Find(std::string_view section, std::string_view key) const {
            return index ? index->Find(section, key) : nullptr;
        }
        // What ReadIni gives.
        std::string Value(std::string_view section, std::string_view key) const {
            const ListedKey* found = Find(section, key);
            return found != nullptr ? found->value : "";
        }
        int LineOf(std::string_view section, std::string_view key) const {
            const ListedKey* found = Find(section, key);
            return found != nullptr ? found->line : 0;
        }
    };

    const File& Get(std::string_view name) const {
        return *std::find_if(files_.begin(), files_.end(),
                             [&](const File& f) { return f.name == name; });
    }

    void Add(std::string_view file, int line, Severity severity, std::string message) {
        findings_.push_back({std::string(file), line, severity, std::move(message)});
    }

    // A finding that explains others: it comes first, and they name it by
    // what this returns.
    std::string AddCause(std::string_view file, int line, Severity severity, std::string message) {
        causes_.push_back({std::string(file), line, severity, std::move(message)});
        return Reference(file, line);
    }

    static std::string Reference(std::string_view file, int line) {
        return std::string(file) + (line > 0 ? ":" + std::to_string(line) : "");
    }

    static std::string See(const std::string& cause) {
        return cause.empty() ? "" : " (see " + cause + ")";
    }

    // A path written in a file, from the program folder when relative.
    fs::path Resolve(std::string_view written) const {
        return FileSystemPath(folder_) / FileSystemPath(written);
    }

    // How a missing file is named: on Linux, a spelling in another case is
    // no file at all.
    std::string NoSuchFile(const File& file) const {
        const std::string other =
            reading_ == Reading::kLinux ? OtherCase(FileSystemPath(folder_), file.name) : "";
        return other.empty() ? "no such file"
                             : "no such file (" + Quoted(other) +
                                   " is there, but the Linux launcher matches the case of file "
                                   "names)";
    }

    // The consequence of a file nothing is read from, for the files whose
    // loss the controller sees.
    static std::string Unread(std::string_view name) {
        return name == kConfig ? ", so it shows no groups"
               : name == kFreq ? ", so no position has a frequency"
                               : "";
    }

    void CheckText(File& file) {
        if (!file.exists) {
            return;
        }
        const Severity loss =
            file.name == kConfig || file.name == kFreq ? Severity::kError : Severity::kWarning;
        if (file.link) {
            Add(file.shown, 0, Severity::kError,
                LinkFinding(*file.link,
                            "User Preferences and Final Setup keep nothing; the check reads "
                            "none of it"));
            return;
        }
        if (!file.refusal.empty()) {
            file.cause =
                AddCause(file.shown, 0, loss,
                         file.refusal + ": the launcher cannot read it" + Unread(file.name));
            return;
        }
        const std::string_view bytes = file.bytes;
        if (reading_ == Reading::kWindows && bytes.starts_with("\xff\xfe")) {
            // Windows reads a file with this mark as Unicode.
            file.listing = ini::ListIni(Utf16LeToUtf8(bytes.substr(2)));
        } else {
            file.listing = ini::ListIni(bytes);
        }
        if (file.listing->utf16) {
            file.listing.reset();
            file.cause = AddCause(
                file.shown, 1, loss,
                (reading_ == Reading::kLinux
                     ? "UTF-16 text, which the Linux launcher does not read"
                     : "UTF-16 text without the byte-order mark FF FE, which Windows reads as "
                       "ANSI and finds nothing in") +
                    std::string(Unread(file.name)) + ": save the file as ANSI (Windows-1252)");
            return;
        }
        file.index.emplace(*file.listing);
        if (reading_ == Reading::kWindows && !bytes.starts_with("\xff\xfe")) {
            CheckUtf8ForWindows(file, bytes);
        }
        file.spoilt = SpoiltSection(bytes);
        CheckFileText(file.shown, *file.listing, *file.index, file.spoilt, findings_);
        file.bytes.clear();
        file.bytes.shrink_to_fit();
    }

    // Windows reads a file's bytes in its code page, Windows-1252 for the
    // languages of Western Europe: UTF-8 beyond ASCII comes out garbled.
    void CheckUtf8ForWindows(const File& file, std::string_view bytes) {
        int number = 0;
        int lines = 0;
        int first = 0;
        std::string_view sample;
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
            const std::string_view line = bytes.substr(at, end - at);
            at = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
            ++number;
            const bool beyondAscii = std::any_of(line.begin(), line.end(), [](char c) {
                return static_cast<unsigned char>(c) >= 0x80;
            });
            if (beyondAscii && codepage::IsUtf8(line) &&
                !(number == 1 && line.starts_with("\xef\xbb\xbf"))) {
                ++lines;
                if (first == 0) {
                    first = number;
                    sample = line;
                }
            }
        }
        if (first == 0) {
            return;
        }
        // The first word beyond ASCII, as each reads it.
        std::size_t start = 0;
        while (start < sample.size() && static_cast<unsigned char>(sample[start]) < 0x80) {
            ++start;
        }
        start = sample.find_last_of(" =\t", start) == std::string_view::npos
                    ? 0
                    : sample.find_last_of(" =\t", start) + 1;
        const std::string_view word =
            sample.substr(start, sample.find_first_of(" \t=", start) - start);
        std::string garbled;
        for (const char c : word) {
            garbled += codepage::FileTextToUtf8(std::string_view(&c, 1));
        }
        Add(file.shown, first, Severity::kWarning,
            "UTF-8 text" +
                (lines > 1 ? " on " + std::to_string(lines) + " lines, the first this one" : "") +
                ": Windows reads the file in its code page, so " + Quoted(word) + " shows as " +
                Quoted(garbled) + "; save the file as ANSI (Windows-1252)");
    }

    // Where `file` hides `section` from the launcher, the finding that says so
    // becomes an error saying what is lost, and a cause; "" when nothing hides
    // it. A byte-order mark on its header, or a header a letter or two off.
    std::string HiddenSection(const File& file, std::string_view section,
                              const std::string& consequence) {
        if (!file.listing) {
            return "";
        }
        const std::string name = "[" + std::string(section) + "]";
        if (!file.spoilt.empty() && ini::NamesMatch(file.spoilt, section)) {
            return Promote(file, 1,
                           "a UTF-8 byte-order mark spoils this first line, so its section " +
                               name + " is never read and " + consequence +
                               ": save the file without one");
        }
        for (const ListedSection& listed : file.listing->sections) {
            // Names of other lengths are ruled out before any comparison.
            const std::size_t shorter = std::min(listed.name.size(), section.size());
            const std::size_t longer = std::max(listed.name.size(), section.size());
            if (longer - shorter <= 2 && file.FindSection(listed.name) == &listed &&
                !NearMiss(listed.name, {std::string(section)}).empty()) {
                const std::string cause =
                    Promote(file, listed.line,
                            "section [" + Escaped(listed.name) + "] is never read, so " +
                                consequence + ": did you mean " + name + "?");
                // Its entries are what the misspelt section hides.
                for (const ListedKey& key : listed.keys) {
                    hidden_.emplace(FoldedName(ini::TrimArgument(key.value)), cause);
                }
                return cause;
            }
        }
        return "";
    }

    // The text check's finding on that line, now an error and a cause.
    std::string Promote(const File& file, int line, std::string message) {
        const auto found = std::find_if(findings_.begin(), findings_.end(), [&](const Finding& f) {
            return f.file == file.shown && f.line == line;
        });
        if (found != findings_.end()) {
            findings_.erase(found);
        }
        return AddCause(file.shown, line, Severity::kError, std::move(message));
    }

    // The groups as the main window shows them, and their positions.
    void CheckGroups() {
        const File& config = Get(kConfig);
        if (!config.exists) {
            groupsCause_ = AddCause(kConfig, 0, Severity::kError,
                                    NoSuchFile(config) + ": the launcher shows no groups");
            return;
        }
        if (!config.index) {
            groupsCause_ = config.cause;  // which says that it shows no groups
            return;
        }
        std::string cause;
        if (config.FindSection(sections::kGroupNames) == nullptr) {
            cause = HiddenSection(config, sections::kGroupNames,
                                  "no group has a name, so the launcher shows none");
        }
        groupsCause_ = cause;
        PositionCatalogue catalogue;
        for (PositionGroup& group : catalogue.groups) {
            const std::string number = std::to_string(group.number);
            group.name = config.Value(sections::kGroupNames, number);
            const std::string items = number + " items";
            if (group.name.empty()) {
                const ListedSection* section = config.FindSection(items);
                const bool listed =
                    section != nullptr && std::any_of(section->keys.begin(), section->keys.end(),
                                                      [&](const ListedKey& k) {
                                                          return !k.value.empty() &&
                                                                 config.Find(items, k.name) == &k &&
                                                                 EntryNumber(k.name) > 0;
                                                      });
                if (listed) {
                    Add(config.shown, section->line, Severity::kWarning,
                        "group " + number +
                            " has no name in [combo names]: its positions are never shown" +
                            See(groupsCause_));
                }
                continue;
            }
            // The entries skip empty keys.
            std::vector<int> lines;
            for (int k = 1; k <= kEntriesPerGroup; ++k) {
                const ListedKey* entry = config.Find(items, std::to_string(k));
                if (entry != nullptr && !entry->value.empty()) {
                    group.entries.push_back(entry->value);
                    lines.push_back(entry->line);
                }
            }
            if (group.entries.empty()) {
                const std::string hidden =
                    config.FindSection(items) != nullptr
                        ? ""
                        : HiddenSection(
                              config, items,
                              "group " + number + " " + Quoted(group.name) + " shows no position");
                if (hidden.empty()) {
                    Add(config.shown, config.LineOf(sections::kGroupNames, number), Severity::kNote,
                        "group " + number + " " + Quoted(group.name) +
                            " has no positions: its list stays empty");
                } else if (cause.empty()) {
                    cause = hidden;
                }
                continue;
            }
            for (std::size_t i = 0; i < group.entries.size(); ++i) {
                AddShown({group.entries[i], group.number, lines[i]});
            }
        }
        CheckWindowEdge(config, catalogue, cause);
    }

    // A key of "<n> items" the catalogue reads: 1 to 15; 0 for any other.
    static int EntryNumber(std::string_view key) {
        for (int k = 1; k <= kEntriesPerGroup; ++k) {
            if (ini::NamesMatch(key, std::to_string(k))) {
                return k;
            }
        }
        return 0;
    }

    // The window shows the rows down to the last one whose first group has
    // positions (see CatalogueWindowHeight): groups below lie out of sight.
    void CheckWindowEdge(const File& config, const PositionCatalogue& catalogue,
                         const std::string& cause) {
        constexpr int kGroupsPerRow = 5;
        int rows = 1;
        for (int row = 2; row * kGroupsPerRow <= kGroupCount; ++row) {
            if (!catalogue.group((row - 1) * kGroupsPerRow + 1).entries.empty()) {
                rows = row;
            }
        }
        bool anyShown = false;
        for (const PositionGroup& group : catalogue.groups) {
            if (group.entries.empty()) {
                continue;
            }
            const int row = (group.number - 1) / kGroupsPerRow + 1;
            if (row <= rows) {
                anyShown = true;
                continue;
            }
            const std::string number = std::to_string(group.number);
            Add(config.shown, config.LineOf(sections::kGroupNames, number), Severity::kWarning,
                "group " + number + " " + Quoted(group.name) + " lies in row " +
                    std::to_string(row) +
                    ", below the window's edge: the window shows that row only when group " +
                    std::to_string((row - 1) * kGroupsPerRow + 1) + " has a position");
        }
        if (!anyShown) {
            Add(config.shown, 0, Severity::kError,
                "no group shows a position: every list of the main window stays empty" +
                    See(cause));
        }
    }

    void AddShown(ShownPosition position) {
        for (const ShownPosition& earlier : shown_) {
            if (SamePosition(earlier.text, position.text)) {
                Add(Get(kConfig).shown, position.line, Severity::kWarning,
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
        if (!config.index) {
            return;
        }
        CheckPicture(config, "LOGO", "the banner");
        CheckPicture(config, "BACK", "the corner picture");
        const std::string left = config.Value("GENERAL", "LOGOLEFT");
        if (!left.empty() && !LogoLeftPixels(left)) {
            Add(config.shown, config.LineOf("GENERAL", "LOGOLEFT"), Severity::kWarning,
                "LOGOLEFT " + Quoted(left) + " is not a number: the banner keeps its place");
        }
    }

    // As the launcher takes a picture: a network, device or web path is never
    // opened; anything else only when it is a picture it understands.
    void CheckPicture(const File& config, std::string_view key, std::string_view shown) {
        const std::string picture = config.Value("GENERAL", key);
        if (picture.empty()) {
            return;
        }
        const std::string named = std::string(key) + " picture " + Quoted(picture);
        const int line = config.LineOf("GENERAL", key);
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
            Add(config.shown, line, Severity::kError, std::move(message));
            return;
        }
        std::string path = PicturePath(folder_, picture);
        if (reading_ == Reading::kWindows) {
            const std::optional<fs::path> resolved = ResolveWritten(folder_, picture, reading_);
            if (!resolved) {
                return;  // a Windows path, which only the controller's machine can follow
            }
            path = Utf8(*resolved);
        }
        const std::string problem = PictureProblem(path);
        if (!problem.empty()) {
            Add(config.shown, line, Severity::kWarning, named + " " + problem);
        }
    }

    // Why no shown position can have a value in `section` of `file`; "" when
    // each may. Says so first, once, as an error of `severity`.
    std::string WhyNoneRead(File& file, std::string_view section, Severity severity,
                            const std::string& consequence) {
        if (!file.exists) {
            return AddCause(file.shown, 0, severity, NoSuchFile(file) + ": " + consequence);
        }
        if (!file.index) {
            return file.cause;
        }
        if (file.FindSection(section) != nullptr) {
            return "";
        }
        std::string hidden = HiddenSection(file, section, consequence);
        if (!hidden.empty()) {
            causes_.back().severity = severity;
            return hidden;
        }
        return AddCause(file.shown, 0, severity,
                        "no section [" + std::string(section) + "]: " + consequence);
    }

    // One finding for the positions that one cause leaves without a value.
    void AddFolded(Severity severity, const std::string& lack, const std::string& cause) {
        std::vector<const ShownPosition*> lacking;
        for (const ShownPosition& position : shown_) {
            if (!position.repeated) {
                lacking.push_back(&position);
            }
        }
        if (lacking.empty()) {
            return;
        }
        const std::string more = lacking.size() == 1
                                     ? " has"
                                     : " and " + std::to_string(lacking.size() - 1) + " more have";
        Add(Get(kConfig).shown, lacking.front()->line, severity,
            "position " + Quoted(lacking.front()->text) + more + " " + lack + See(cause));
    }

    // A key that differs from `position` only in blanks, invisible characters
    // or case: what was most likely meant.
    std::string LookAlike(const File& file, std::string_view section, std::string_view position) {
        // Letters and digits alone, case aside: no blank, separator or
        // invisible character (no-break space, soft hyphen, zero widths, BOM).
        const auto plain = [](std::string_view text) {
            std::string kept;
            for (std::size_t i = 0; i < text.size(); ++i) {
                const auto c = static_cast<unsigned char>(text[i]);
                const std::string_view rest = text.substr(i);
                if (rest.starts_with("\xc2\xa0") || rest.starts_with("\xc2\xad")) {
                    ++i;
                } else if (rest.starts_with("\xef\xbb\xbf") ||
                           (rest.starts_with("\xe2\x80") && rest.size() > 2 &&
                            static_cast<unsigned char>(rest[2]) >= 0x8b &&
                            static_cast<unsigned char>(rest[2]) <= 0x8f)) {
                    i += 2;
                } else if (c >= 0x80 || std::isalnum(c) != 0) {
                    kept.push_back(static_cast<char>(std::tolower(c)));
                }
            }
            return kept;
        };
        // Built once a file, of the keys that look like some shown position.
        auto& lookAlikes = lookAlikes_[file.name];
        if (lookAlikes.empty()) {
            for (const ShownPosition& shown : shown_) {
                lookAlikes.emplace(plain(shown.text), nullptr);
            }
            if (const ListedSection* listed = file.FindSection(section)) {
                for (const ListedKey& key : listed->keys) {
                    const auto alike = lookAlikes.find(plain(key.name));
                    if (alike != lookAlikes.end() && alike->second == nullptr) {
                        alike->second = &key;
                    }
                }
            }
        }
        const auto found = lookAlikes.find(plain(position));
        if (found == lookAlikes.end() || found->second == nullptr ||
            SamePosition(found->second->name, position)) {
            return "";
        }
        return ": did you mean " + Quoted(found->second->name) + " (" +
               Reference(file.shown, found->second->line) + ")?";
    }

    void CheckFrequencies() {
        File& freq = files_[1];
        if (!shown_.empty()) {
            const std::string cause =
                WhyNoneRead(freq, "FREQ", Severity::kError, "no position has a frequency");
            if (!cause.empty()) {
                AddFolded(Severity::kError, "no frequency in freq.ini", cause);
            } else {
                for (const ShownPosition& position : shown_) {
                    if (!position.repeated && freq.Value("FREQ", position.text).empty()) {
                        Add(Get(kConfig).shown, position.line, Severity::kError,
                            "position " + Quoted(position.text) + " has no frequency in freq.ini" +
                                LookAlike(freq, "FREQ", position.text));
                    }
                }
            }
        }
        const ListedSection* section = freq.FindSection("FREQ");
        for (std::size_t i = 0; section != nullptr && i < section->keys.size(); ++i) {
            const ListedKey& key = section->keys[i];
            if (freq.index->IsFirstKey(key) && !key.value.empty() && !IsAirbandChannel(key.value)) {
                Add(freq.shown, key.line, Severity::kWarning,
                    "frequency " + Quoted(key.value) + " of " + Quoted(key.name) +
                        " is no airband channel as the radar client expects it: NNN.NNN from "
                        "118.000 to 136.990, a 25 kHz channel or an 8.33 kHz channel's name (5, "
                        "10 or 15 kHz above one)");
            }
        }
        NoteUnshown(freq, "FREQ");
    }

    void CheckVoiceCallsigns() {
        File& voice = files_[2];
        if (!shown_.empty()) {
            const std::string cause =
                WhyNoneRead(voice, "voice", Severity::kWarning,
                            "the voice client joins every position with an empty callsign");
            if (!cause.empty()) {
                AddFolded(Severity::kWarning, "no voice callsign in voice.ini", cause);
            } else {
                for (const ShownPosition& position : shown_) {
                    if (!position.repeated && voice.Value("voice", position.text).empty()) {
                        Add(Get(kConfig).shown, position.line, Severity::kWarning,
                            "position " + Quoted(position.text) +
                                " has no voice callsign in voice.ini: the voice client would "
                                "join with an empty one" +
                                LookAlike(voice, "voice", position.text));
                    }
                }
            }
        }
        NoteUnshown(voice, "voice");
    }

    // Keys of a file of positions that no group shows: read only for a
    // position a controller types in. Folded into one when the groups are
    // lost to one cause.
    void NoteUnshown(const File& file, std::string_view sectionName) {
        const ListedSection* section = file.FindSection(sectionName);
        if (section == nullptr) {
            return;
        }
        std::unordered_set<const ListedKey*> shown;
        for (const ShownPosition& position : shown_) {
            shown.insert(file.Find(sectionName, position.text));
        }
        std::vector<const ListedKey*> unshown;
        for (const ListedKey& key : section->keys) {
            if (!shown.contains(&key) && file.index->IsFirstKey(key)) {
                unshown.push_back(&key);
            }
        }
        // What one cause hides is one note; the rest a note each.
        std::map<std::string, std::vector<const ListedKey*>> byCause;
        for (const ListedKey* key : unshown) {
            const auto hidden = hidden_.find(FoldedName(key->name));
            const std::string& cause = !groupsCause_.empty()     ? groupsCause_
                                       : hidden != hidden_.end() ? hidden->second
                                                                 : groupsCause_;
            if (cause.empty()) {
                Add(file.shown, key->line, Severity::kNote, "no group shows " + Quoted(key->name));
            } else {
                byCause[cause].push_back(key);
            }
        }
        for (const auto& [cause, keys] : byCause) {
            Add(file.shown, keys.front()->line, Severity::kNote,
                "no group shows " + Quoted(keys.front()->name) +
                    (keys.size() == 1 ? ""
                                      : " nor " + std::to_string(keys.size() - 1) +
                                            " more keys of [" + section->name + "]") +
                    See(cause));
        }
    }

    void CheckSettings() {
        const File& settings = Get(files::kSettings);
        if (!settings.index || settings.link) {
            return;
        }
        const auto value = [&](std::string_view key) {
            return settings.Value(sections::kMain, key);
        };
        CheckClient(settings, "RDVDIR", "radar", value("RDVDIR"), kRadarClientProgram);
        CheckClient(settings, "RWDIR", "voice", value("RWDIR"), kVoiceClientProgram);
        CheckWindowsFolder(settings, value("WINDIR"));
        CheckWine(settings);
        const int dateLine = settings.LineOf(sections::kMain, "DATE");
        const std::string date = value("DATE");
        if (dateLine != 0 && date != "UK" && date != "USA") {
            Add(settings.shown, dateLine, Severity::kWarning,
                "date format " + Quoted(date) +
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
        Add(settings.shown, line, Severity::kWarning,
            std::string(role) + " folder " + Quoted(folder) +
                " is a network path: a folder that is shared should not carry it; each machine "
                "names its own in User Preferences");
        return true;
    }

    void CheckWindowsFolder(const File& settings, const std::string& folder) {
        const int line = settings.LineOf(sections::kMain, "WINDIR");
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

    void CheckWine(const File& settings) {
        const std::string wine = settings.Value(sections::kMain, "WINE");
        if (wine.empty()) {
            return;
        }
        const int line = settings.LineOf(sections::kMain, "WINE");
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
        const std::string name =
            FindInFolder(FileSystemPath(folder_), files::kAtis, reading_).value_or("");
        const fs::path atis = FileSystemPath(folder_) / FileSystemPath(name);
        if (const std::optional<std::string> target =
                name.empty() ? std::nullopt : LinkTarget(atis)) {
            Add(name, 0, Severity::kError,
                LinkFinding(*target, "Go fails with \"cannot create the ATIS file\""));
        }
    }

    void CheckClient(const File& settings, std::string_view key, std::string_view role,
                     const std::string& folder, std::string_view program) {
        const int line = settings.LineOf(sections::kMain, key);
        if (folder.empty() || IsSharedFolder(settings, line, role, folder)) {
            return;
        }
        const std::optional<fs::path> resolved = ResolveWritten(folder_, folder, reading_);
        if (!resolved) {
            return;  // a Windows path, which only the controller's machine can follow
        }
        const fs::path path =
            *resolved /
            FileSystemPath(
                FindInFolder(*resolved, program, reading_).value_or(std::string(program)));
        if (!IsFile(path)) {
            Add(settings.shown, line, Severity::kWarning,
                std::string(role) + " folder " + Quoted(folder) + " holds no " +
                    std::string(program));
            return;
        }
#ifndef _WIN32
        if (reading_ == Reading::kLinux && wine::IsWindowsProgram(path.string())) {
            // A Wine named by its path is not looked for, only tried.
            const WineFound wine = FindWine(settings.path);
            if (wine.path.empty() || !IsFile(wine.path) || ::access(wine.path.c_str(), X_OK) != 0) {
                Add(settings.shown, line, Severity::kWarning,
                    std::string(program) + " is a Windows program, and no Wine (" +
                        Quoted(wine.named) + ") is found to start it");
            }
        }
#endif
    }

    std::string folder_;
    Reading reading_;
    std::vector<File> files_;
    std::vector<ShownPosition> shown_;
    std::vector<Finding> findings_;
    std::vector<Finding> causes_;
    std::string groupsCause_;  // what hides the groups' names, when anything does
    // The positions of a group section a misspelt header hides, and where.
    std::unordered_map<std::string, std::string> hidden_;
    std::unordered_map<std::string_view, std::unordered_map<std::string, const ListedKey*>>
        lookAlikes_;
};

}  // namespace

std::vector<Finding> CheckProgramFolder(std::string_view folder, Reading reading) {
    return FolderCheck(folder, reading).Run();
}

bool IsNetworkPath(std::string_view path) {
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    return path.size() >= 2 && separator(path[0]) && separator(path[1]);
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
    // a name 20 kHz above is no channel, nor is one between the five.
    const int total = megahertz * 1000 + kilohertz;
    return total >= 118000 && total <= 136990 && kilohertz % 25 % 5 == 0 && kilohertz % 25 != 20;
}

}  // namespace launcher::check
