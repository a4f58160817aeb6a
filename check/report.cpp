#include "check/report.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/version.h"
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

long Count(const std::vector<Finding>& findings, Severity severity) {
    return std::count_if(findings.begin(), findings.end(),
                         [&](const Finding& f) { return f.severity == severity; });
}

std::string ReadingName(Reading reading) {
    return reading == Reading::kWindows ? "windows" : "linux";
}

std::string JsonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                quoted += "\\\"";
                break;
            case '\\':
                quoted += "\\\\";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\r':
                quoted += "\\r";
                break;
            case '\t':
                quoted += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char code[8];
                    std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
                    quoted += code;
                } else {
                    quoted.push_back(c);
                }
        }
    }
    return quoted + "\"";
}

// A path as a SARIF artifact URI: relative ones as a reference from the
// folder the check ran in, which code scanning takes from the repository's
// root; absolute ones as file URIs.
std::string ArtifactUri(std::string_view path) {
    std::string slashed(path);
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    std::string uri;
    if (slashed.starts_with('/')) {
        uri = "file://";
    } else if (slashed.size() >= 2 && slashed[1] == ':') {
        uri = "file:///";
    }
    for (const char c : slashed) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) != 0 || std::string_view("-._~/").find(c) != std::string::npos ||
            (c == ':' && uri.starts_with("file:"))) {
            uri.push_back(c);
        } else {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", byte);
            uri += code;
        }
    }
    return uri;
}

// A workflow command's text: its line breaks and '%' escaped, and in a
// property also ':' and ','.
std::string GithubEscaped(std::string_view text, bool property) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '%':
                escaped += "%25";
                break;
            case '\r':
                escaped += "%0D";
                break;
            case '\n':
                escaped += "%0A";
                break;
            case ':':
                escaped += property ? "%3A" : ":";
                break;
            case ',':
                escaped += property ? "%2C" : ",";
                break;
            default:
                escaped.push_back(c);
        }
    }
    return escaped;
}

std::string Version() {
    return std::to_string(kProgramVersion.majorNumber) + "." +
           std::to_string(kProgramVersion.minorNumber) + "." +
           std::to_string(kProgramVersion.revision);
}

// The findings of one folder, or why it cannot be read.
struct FolderReport {
    std::string folder;
    std::string failure;
    std::vector<Finding> findings;  // file: as the report names it
};

FolderReport CheckFolder(const std::string& folder, const Options& options) {
    FolderReport report{folder, "", {}};
    std::error_code error;
    const fs::path path = FileSystemPath(folder);
    if (!fs::is_directory(path, error)) {
        report.failure = "no such folder";
        return report;
    }
    const fs::directory_iterator entries(path, error);
    if (error) {
        report.failure = "cannot be read";
        return report;
    }
    for (Finding& finding : CheckProgramFolder(folder, options.reading)) {
        if (options.quiet && finding.severity == Severity::kNote) {
            continue;
        }
        finding.file = FileOfFolder(folder, finding.file);
        report.findings.push_back(std::move(finding));
    }
    return report;
}

void PrintText(const FolderReport& report, const Options& options, std::ostream& out) {
    const auto colour = [&](const char* code, const std::string& text) {
        if (!options.colour) {
            return text;
        }
        // Appended piece by piece: GCC 12 at -O3 takes "..." + std::string
        // for an overlapping copy (-Wrestrict).
        std::string coloured("\033[");
        coloured.append(code).append("m").append(text).append("\033[0m");
        return coloured;
    };
    for (const Finding& finding : report.findings) {
        if (!options.colour) {
            out << FormatFinding(finding) << "\n";
            continue;
        }
        const char* code = finding.severity == Severity::kError     ? "1;31"
                           : finding.severity == Severity::kWarning ? "1;35"
                                                                    : "1;36";
        std::string place = finding.file;
        if (finding.line > 0) {
            place.append(":").append(std::to_string(finding.line));
        }
        out << colour("1", place + ":") << " " << colour(code, SeverityName(finding.severity))
            << ": " << finding.message << "\n";
    }
    out << Summary(report.findings) << " in " << report.folder << ", as the "
        << (options.reading == Reading::kWindows ? "Windows" : "Linux") << " launcher reads it\n";
}

void PrintGithub(const FolderReport& report, std::ostream& out) {
    for (const Finding& finding : report.findings) {
        out << "::"
            << (finding.severity == Severity::kError     ? "error"
                : finding.severity == Severity::kWarning ? "warning"
                                                         : "notice")
            << " file=" << GithubEscaped(finding.file, true);
        if (finding.line > 0) {
            out << ",line=" << finding.line;
        }
        out << ",title=" << GithubEscaped("radavue-launcher-check", true)
            << "::" << GithubEscaped(finding.message, false) << "\n";
    }
}

void PrintJson(const std::vector<FolderReport>& reports, const Options& options,
               std::ostream& out) {
    out << "{\"tool\": \"radavue-launcher-check\", \"version\": " << JsonString(Version())
        << ", \"reading\": " << JsonString(ReadingName(options.reading)) << ", \"folders\": [";
    for (std::size_t r = 0; r < reports.size(); ++r) {
        const FolderReport& report = reports[r];
        out << (r == 0 ? "" : ",") << "\n  {\"folder\": " << JsonString(report.folder);
        if (!report.failure.empty()) {
            out << ", \"failure\": " << JsonString(report.failure) << "}";
            continue;
        }
        out << ", \"errors\": " << Count(report.findings, Severity::kError)
            << ", \"warnings\": " << Count(report.findings, Severity::kWarning)
            << ", \"notes\": " << Count(report.findings, Severity::kNote) << ", \"findings\": [";
        for (std::size_t i = 0; i < report.findings.size(); ++i) {
            const Finding& finding = report.findings[i];
            out << (i == 0 ? "" : ",") << "\n    {\"file\": " << JsonString(finding.file)
                << ", \"line\": " << finding.line
                << ", \"severity\": " << JsonString(SeverityName(finding.severity))
                << ", \"message\": " << JsonString(finding.message) << "}";
        }
        out << (report.findings.empty() ? "" : "\n  ") << "]}";
    }
    out << "\n]}\n";
}

void PrintSarif(const std::vector<FolderReport>& reports, const Options& options,
                std::ostream& out) {
    const bool failed = std::any_of(reports.begin(), reports.end(),
                                    [](const FolderReport& r) { return !r.failure.empty(); });
    out << "{\n  \"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\",\n"
        << "  \"version\": \"2.1.0\",\n  \"runs\": [{\n"
        << "    \"tool\": {\"driver\": {\"name\": \"radavue-launcher-check\", \"version\": "
        << JsonString(Version()) << ", \"rules\": [\n"
        << "      {\"id\": \"error\", \"shortDescription\": {\"text\": \"What leaves a "
           "controller without positions, frequencies or clients\"}, "
           "\"defaultConfiguration\": {\"level\": \"error\"}},\n"
        << "      {\"id\": \"warning\", \"shortDescription\": {\"text\": \"What is lost, cut "
           "or left unused\"}, \"defaultConfiguration\": {\"level\": \"warning\"}},\n"
        << "      {\"id\": \"note\", \"shortDescription\": {\"text\": \"Nothing wrong, but "
           "maybe not what was meant\"}, \"defaultConfiguration\": {\"level\": \"note\"}}]}},\n"
        << "    \"invocations\": [{\"executionSuccessful\": " << (failed ? "false" : "true");
    std::string failures;
    for (const FolderReport& report : reports) {
        if (!report.failure.empty()) {
            failures += std::string(failures.empty() ? "" : ",") +
                        "{\"level\": \"error\", \"message\": {\"text\": " +
                        JsonString(report.folder + ": " + report.failure) + "}}";
        }
    }
    if (!failures.empty()) {
        out << ", \"toolExecutionNotifications\": [" << failures << "]";
    }
    out << "}],\n    \"properties\": {\"reading\": " << JsonString(ReadingName(options.reading))
        << "},\n    \"results\": [";
    bool first = true;
    for (const FolderReport& report : reports) {
        for (const Finding& finding : report.findings) {
            const int rule = static_cast<int>(finding.severity);
            out << (first ? "" : ",")
                << "\n      {\"ruleId\": " << JsonString(SeverityName(finding.severity))
                << ", \"ruleIndex\": " << rule
                << ", \"level\": " << JsonString(SeverityName(finding.severity))
                << ", \"message\": {\"text\": " << JsonString(finding.message)
                << "}, \"locations\": [{\"physicalLocation\": {\"artifactLocation\": {\"uri\": "
                << JsonString(ArtifactUri(finding.file)) << "}";
            if (finding.line > 0) {
                out << ", \"region\": {\"startLine\": " << finding.line << "}";
            }
            out << "}}]}";
            first = false;
        }
    }
    out << (first ? "" : "\n    ") << "]\n  }]\n}\n";
}

}  // namespace

std::string FileOfFolder(std::string_view folder, std::string_view file) {
    if (folder == "." || folder.empty()) {
        return std::string(file);
    }
    std::string path(folder);
    // The folder's own separator, so that "C:\atc" gives "C:\atc\config.ini".
    const char separator =
        path.find('/') == std::string::npos && path.find('\\') != std::string::npos ? '\\' : '/';
    if (!path.ends_with('/') && !path.ends_with('\\')) {
        path.push_back(separator);
    }
    return path.append(file);
}

std::string FormatFinding(const Finding& finding) {
    std::string text = finding.file;
    if (finding.line > 0) {
        text.append(":").append(std::to_string(finding.line));
    }
    text.append(": ").append(SeverityName(finding.severity)).append(": ");
    return text.append(finding.message);
}

std::string Summary(const std::vector<Finding>& findings) {
    return Counted(Count(findings, Severity::kError), "error") + ", " +
           Counted(Count(findings, Severity::kWarning), "warning") + ", " +
           Counted(Count(findings, Severity::kNote), "note");
}

int RunCheck(const std::vector<std::string>& folders, const Options& options, std::ostream& out,
             std::ostream& err) {
    std::vector<FolderReport> reports;
    int status = 0;
    for (const std::string& folder : folders) {
        FolderReport report = CheckFolder(folder, options);
        if (!report.failure.empty()) {
            err << "radavue-launcher-check: " << folder << ": " << report.failure << "\n";
            status = 2;
        } else if (Count(report.findings, Severity::kError) > 0 ||
                   (options.warningsAsErrors && Count(report.findings, Severity::kWarning) > 0)) {
            status = std::max(status, 1);
        }
        // Text and workflow commands stream folder by folder; the documents
        // are written whole at the end.
        if (report.failure.empty() && options.format == Format::kText) {
            PrintText(report, options, out);
        } else if (report.failure.empty() && options.format == Format::kGithub) {
            PrintGithub(report, out);
        }
        if (options.format == Format::kJson || options.format == Format::kSarif) {
            reports.push_back(std::move(report));
        }
    }
    if (options.format == Format::kJson) {
        PrintJson(reports, options, out);
    } else if (options.format == Format::kSarif) {
        PrintSarif(reports, options, out);
    }
    return status;
}

int RunCheck(std::string_view folder, std::ostream& out, std::ostream& err) {
    return RunCheck({std::string(folder)}, Options{}, out, err);
}

}  // namespace launcher::check
