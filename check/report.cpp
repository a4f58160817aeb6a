#include "check/report.h"

#include <algorithm>
#include <filesystem>

#include "profile/paths.h"

namespace launcher::check {
namespace {

namespace fs = std::filesystem;

const char* SeverityName(Severity severity) {
    switch (severity) {
        case Severity::kError:
            return "error";
        case Severity::kWarning:
            return "warning";
        case Severity::kNote:
            return "note";
    }
    return "";
}

std::string Counted(long count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

}  // namespace

std::string FormatFinding(const Finding& finding) {
    std::string text = finding.file;
    if (finding.line > 0) {
        text.append(":").append(std::to_string(finding.line));
    }
    text.append(": ").append(SeverityName(finding.severity)).append(": ");
    return text.append(finding.message);
}

std::string Summary(const std::vector<Finding>& findings) {
    const auto count = [&](Severity severity) {
        return std::count_if(findings.begin(), findings.end(),
                             [&](const Finding& f) { return f.severity == severity; });
    };
    return Counted(count(Severity::kError), "error") + ", " +
           Counted(count(Severity::kWarning), "warning") + ", " +
           Counted(count(Severity::kNote), "note");
}

int RunCheck(std::string_view folder, std::ostream& out, std::ostream& err) {
    std::error_code error;
    const fs::path path = FileSystemPath(folder);
    if (!fs::is_directory(path, error)) {
        err << "radavue-launcher-check: " << folder << ": no such folder\n";
        return 2;
    }
    const fs::directory_iterator entries(path, error);
    if (error) {
        err << "radavue-launcher-check: " << folder << ": cannot be read\n";
        return 2;
    }
    const std::vector<Finding> findings = CheckProgramFolder(folder);
    for (const Finding& finding : findings) {
        out << FormatFinding(finding) << "\n";
    }
    out << Summary(findings) << "\n";
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::kError; })
               ? 1
               : 0;
}

}  // namespace launcher::check
