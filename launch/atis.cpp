#include "launch/atis.h"

#include <algorithm>
#include <new>

#include "launch/voice_client.h"
#include "profile/file_replace.h"
#include "profile/ini.h"
#include "profile/program_files.h"

#ifdef _WIN32
#include "profile/win32_text.h"
#else
#include "launch/wine_host.h"
#include "profile/codepage.h"
#endif

namespace launcher {
namespace {

void AppendTwoDigits(std::string& out, int value) {
    out.push_back(static_cast<char>('0' + value / 10 % 10));
    out.push_back(static_cast<char>('0' + value % 10));
}

// The day of the month without a leading zero ("d"), then hours and minutes
// on the 24-hour clock ("HHMM").
std::string DayAndTime(const LocalTime& now) {
    std::string text = std::to_string(now.day);
    AppendTwoDigits(text, now.hour);
    AppendTwoDigits(text, now.minute);
    return text;
}

std::string AtisHeader(const LaunchDetails& details, std::string_view voiceCallsign) {
    std::string header;
    if (details.dateStyle == "UK") {
        header.append(voiceCallsign).append(" Information Alpha ").append(DayAndTime(details.now));
    } else if (details.dateStyle == "USA") {
        // The American date pattern is "#d": we render its "#" as the literal
        // character, so the 6th at 09:05 gives "...Information Alpha#60905".
        header.append(details.position)
            .append(" Information Alpha#")
            .append(DayAndTime(details.now));
    }
    return header;
}

// The radar client reads single-byte text in the code page of Windows.
Outcome WriteAtisText(std::string_view path, const std::vector<std::string>& lines,
                      [[maybe_unused]] bool windows1252) {
    std::string text;
    for (const std::string& line : lines) {
        text.append(line).append("\r\n");
    }
#ifdef _WIN32
    text = win32::Utf8ToAnsi(text);
#else
    if (windows1252) {
        text = codepage::Utf8ToWindows1252(text);
    }
#endif
    const ReplaceResult result = ReplaceFileContents(path, text);
    if (result.ok()) {
        return Outcome::Ok();
    }
    return Outcome::Failed("Cannot write the ATIS file \"" + std::string(path) +
                           "\": " + result.Reason());
}

// Go asks from inside a window's event handler, which no exception may leave:
// running out of memory is told as a write that failed. Anything else thrown
// would be a programming error, and ends the program.
template <typename Write>
Outcome TellingOutOfMemory(Write write) noexcept {
    try {
        return write();
    } catch (const std::bad_alloc&) {
        return Outcome::Failed("Cannot write the ATIS file: out of memory");
    }
}

bool RadarClientIsWindowsProgram([[maybe_unused]] std::string_view radarFolder) {
#ifdef _WIN32
    return true;
#else
    return wine::IsWindowsProgram(RadarCommandLine(radarFolder).program);
#endif
}

}  // namespace

std::vector<std::string> BuildAtisLines(const LaunchDetails& details,
                                        std::string_view voiceCallsign, std::string_view website,
                                        std::string_view autoAtisText) {
    std::vector<std::string> lines;
    lines.push_back(AtisHeader(details, voiceCallsign));
    lines.push_back("Voice on " + details.voiceServer + "/" + details.position);
    if (!details.runway.empty()) {
        lines.push_back(details.runway);
    }
    if (!details.onlineUntil.empty()) {
        lines.push_back("Online Until " + details.onlineUntil);
    }
    lines.push_back(details.userName + "  -  For More info " + std::string(website));
    if (details.autoAtis == 1 && !autoAtisText.empty()) {
        lines.push_back("AutoAtis is available on " + std::string(autoAtisText));
    }
    // A line break pasted into a field would add lines of its own to the file.
    for (std::string& line : lines) {
        std::replace_if(
            line.begin(), line.end(),
            [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7f'; }, ' ');
    }
    return lines;
}

std::vector<std::string> AtisLinesFor(const LaunchDetails& details) {
    const std::string_view folder = details.programFolder;
    std::string voiceCallsign;
    if (details.dateStyle == "UK") {
        voiceCallsign = ReadIni(rules::kVoiceCallsigns.section, details.position,
                                InFolder(folder, rules::kVoiceCallsigns.file));
    }
    const std::string website = ReadIni(keys::kWebsite, folder);
    std::string autoAtisText;
    if (details.autoAtis == 1) {
        autoAtisText = ReadIni(rules::kAutoAtis.section, details.position,
                               InFolder(folder, rules::kAutoAtis.file));
    }
    return BuildAtisLines(details, voiceCallsign, website, autoAtisText);
}

Outcome WriteAtisFile(std::string_view path, const std::vector<std::string>& lines) noexcept {
    return TellingOutOfMemory([&] { return WriteAtisText(path, lines, false); });
}

Outcome WriteAtisFileFor(const LaunchDetails& details) noexcept {
    return TellingOutOfMemory([&] {
        return WriteAtisText(AtisFilePath(details.programFolder), AtisLinesFor(details),
                             RadarClientIsWindowsProgram(details.radarFolder));
    });
}

std::string AtisFileNameForRadarClient(std::string_view programFolder,
                                       [[maybe_unused]] std::string_view radarFolder) {
    const std::string path = AtisFilePath(programFolder);
#ifdef _WIN32
    // rvsb.ini is 8-bit text: a folder the code page cannot spell is named by
    // its short form.
    return win32::PathForAnsiReader(path);
#else
    return wine::PathForClient(path, RadarCommandLine(radarFolder).program, programFolder);
#endif
}

}  // namespace launcher
