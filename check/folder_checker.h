// The folder check's working state, shared by the files that each check one
// part of a program folder: the text of its INI files, the groups, the
// pictures, the files of positions, the settings. Private to the check.
#pragma once

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/position_catalogue.h"
#include "check/file_rules.h"
#include "check/folder_check.h"
#include "check/folder_files.h"
#include "profile/ini_listing.h"
#include "profile/paths.h"
#include "profile/program_files.h"

namespace launcher::check {

namespace fs = std::filesystem;

using ini::IniListing;
using ini::ListedKey;
using ini::ListedSection;

// Asked without exceptions: a file the check may not look at is no file to
// the launcher either.
bool IsFile(const fs::path& path);
bool IsFolder(const fs::path& path);

// A path as UTF-8 text.
std::string Utf8(const fs::path& path);

// Where the symbolic link at `path` points; no value when `path` is no link.
// The launcher writes no file through a link (a dangling one included).
std::optional<std::string> LinkTarget(const fs::path& path);

// The finding about a link in place of a file the launcher writes, and what
// follows from it.
std::string LinkFinding(const std::string& target, std::string_view consequence);

// A position as a group list shows it, with the config.ini line it comes from.
struct ShownPosition {
    std::string text;
    int group = 0;
    int line = 0;
    bool repeated = false;  // an earlier group or entry shows it already
};

class FolderCheck {
public:
    FolderCheck(std::string_view folder, Reading reading);

    std::vector<Finding> Run();

private:
    // File by file in the report's order, then by line; the order of each
    // file is worked out once, not at each comparison.
    static void SortByPlace(std::vector<Finding>& findings);

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

    // "file:line", or "file" for the file as a whole.
    static std::string Reference(std::string_view file, int line);

    static std::string See(const std::string& cause) {
        return cause.empty() ? "" : " (see " + cause + ")";
    }

    // A path written in a file, from the program folder when relative.
    fs::path Resolve(std::string_view written) const {
        return FileSystemPath(folder_) / FileSystemPath(written);
    }

    // How a missing file is named: on Linux, a spelling in another case is
    // no file at all.
    std::string NoSuchFile(const File& file) const;

    // The consequence of a file nothing is read from, for the files whose
    // loss the controller sees.
    static std::string Unread(std::string_view name);

    void CheckText(File& file);

    // Windows reads a file's bytes in its code page, Windows-1252 for the
    // languages of Western Europe: UTF-8 beyond ASCII comes out garbled.
    void CheckUtf8ForWindows(const File& file, std::string_view bytes);

    // Where `file` hides `section` from the launcher, the finding that says so
    // becomes an error saying what is lost, and a cause; "" when nothing hides
    // it. A byte-order mark on its header, or a header a letter or two off.
    std::string HiddenSection(const File& file, std::string_view section,
                              const std::string& consequence);

    // The text check's finding on that line, now an error and a cause.
    std::string Promote(const File& file, int line, std::string message);

    // The groups as the main window shows them, and their positions.
    void CheckGroups();

    // A key of "<n> items" the catalogue reads: 1 to 15; 0 for any other.
    static int EntryNumber(std::string_view key);

    // The window shows the rows down to the last one whose first group has
    // positions (see CatalogueWindowHeight): groups below lie out of sight.
    void CheckWindowEdge(const File& config, const PositionCatalogue& catalogue,
                         const std::string& cause);

    void AddShown(ShownPosition position);

    // As the launcher's lookups match a position with a key.
    static bool SamePosition(std::string_view a, std::string_view b);

    void CheckGeneral();

    // As the launcher takes a picture: a network, device or web path is never
    // opened; anything else only when it is a picture it understands.
    void CheckPicture(const File& config, const IniKey& key, std::string_view shown);

    // Why no shown position can have a value in `section` of `file`; "" when
    // each may. Says so first, once, as an error of `severity`.
    std::string WhyNoneRead(File& file, std::string_view section, Severity severity,
                            const std::string& consequence);

    // One finding for the positions that one cause leaves without a value.
    void AddFolded(Severity severity, const std::string& lack, const std::string& cause);

    // A key that differs from `position` only in blanks, invisible characters
    // or case: what was most likely meant.
    std::string LookAlike(const File& file, std::string_view section, std::string_view position);

    void CheckFrequencies();

    void CheckVoiceCallsigns();

    // Keys of a file of positions that no group shows: read only for a
    // position a controller types in. Folded into one when the groups are
    // lost to one cause.
    void NoteUnshown(const File& file, std::string_view sectionName);

    void CheckSettings();

    // A folder of this machine that a settings file names for every machine
    // it is copied to. Not looked at: on Windows that would log on to the host.
    bool IsSharedFolder(const File& settings, int line, std::string_view role,
                        const std::string& folder);

    void CheckWindowsFolder(const File& settings, const std::string& folder);

    void CheckWine(const File& settings);

    // Whether a program named in a file lies in the program folder, links
    // resolved. A bare name is looked for on PATH, never there.
    bool InProgramFolder(std::string_view program) const;

    // The ATIS file is replaced, never written through a link.
    void CheckAtisFile();

    void CheckClient(const File& settings, const IniKey& key, std::string_view role,
                     const std::string& folder, std::string_view program);

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

}  // namespace launcher::check
