// libFuzzer target over the folder check: each input lays out a program
// folder (each INI file and a picture as bytes, absent, a folder, a FIFO, a
// link, a link loop) and the check runs on it by both readings and in every
// format. Nothing may crash, hang (a FIFO opened would) or report a line the
// file does not have.
#include <fuzzer/FuzzedDataProvider.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "check/folder_check.h"
#include "check/report.h"

namespace {

namespace fs = std::filesystem;

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "check_fuzz: %s\n", what);
        std::abort();
    }
}

const fs::path& Folder() {
    static const fs::path folder =
        fs::temp_directory_path() / ("check-fuzz-" + std::to_string(::getpid()));
    return folder;
}

// Lines as the listing counts them: CR, LF or CR LF end one.
int LineCount(std::string_view bytes) {
    int lines = 0;
    for (std::size_t at = 0; at < bytes.size(); ++lines) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
        at = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::error_code error;
    fs::remove_all(Folder(), error);
    fs::create_directories(Folder());
    // Written names vary in case, as folders copied from Windows do.
    const char* names[] = {"config.ini",   "freq.ini", "voice.ini", "autoatis.ini", "var.ini",
                           "settings.ini", "atis",     "p.png",     "FREQ.INI",     "Config.ini"};
    std::vector<std::pair<std::string, int>> lines;
    for (const char* name : names) {
        const fs::path path = Folder() / name;
        switch (input.ConsumeIntegralInRange(0, 7)) {
            case 0:
                break;  // absent
            case 1:
                fs::create_directory(path);
                break;
            case 2:
                Check(::mkfifo(path.c_str(), 0600) == 0, "mkfifo");
                break;
            case 3:
                fs::create_symlink(path.filename(), path);  // a loop
                break;
            case 4:
                fs::create_symlink("config.ini", path);
                break;
            default: {
                std::string bytes = input.ConsumeRandomLengthString(4096);
                if (input.ConsumeBool()) {
                    bytes.insert(0, "\xff\xfe");  // UTF-16 by its mark
                }
                std::ofstream(path, std::ios::binary) << bytes;
                lines.emplace_back(name, LineCount(bytes));
            }
        }
    }
    for (const auto reading :
         {launcher::check::Reading::kWindows, launcher::check::Reading::kLinux}) {
        for (const launcher::check::Finding& finding :
             launcher::check::CheckProgramFolder(Folder().string(), reading)) {
            Check(!finding.message.empty(), "a finding without a message");
            Check(finding.line >= 0, "a negative line");
            const auto file = std::find_if(lines.begin(), lines.end(),
                                           [&](const auto& l) { return l.first == finding.file; });
            // A UTF-16 file's lines are half its bytes' own, so only an
            // upper bound holds for all.
            Check(finding.line == 0 || file == lines.end() || finding.line <= file->second,
                  "a line past the end of the file");
        }
    }
    for (const auto format : {launcher::check::Format::kText, launcher::check::Format::kJson,
                              launcher::check::Format::kSarif, launcher::check::Format::kGithub}) {
        std::ostringstream out;
        std::ostringstream err;
        launcher::check::Options options;
        options.format = format;
        const int status = launcher::check::RunCheck({Folder().string()}, options, out, err);
        Check(status == 0 || status == 1, "a folder that was there is no folder");
        Check(!out.str().empty() || format == launcher::check::Format::kGithub, "no report");
    }
    return 0;
}
