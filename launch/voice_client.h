// Starting the two client programs: the voice client on the position's voice
// channel and the radar client.
#pragma once

#include <string>
#include <string_view>

#include "launch/program_start.h"

namespace launcher {

inline constexpr std::string_view kVoiceClientProgram = "roger.exe";
inline constexpr std::string_view kRadarClientProgram = "rv.exe";

// voiceFolder + separator + "roger.exe": the program StartVoiceClient starts.
std::string VoiceClientProgram(std::string_view voiceFolder);

// VoiceClientProgram(voiceFolder), then " /join1 " + voiceServer + "/" +
// position + " /callsign " + voiceCallsign. Nothing is quoted, trimmed or
// checked: a folder ending in a separator keeps it, and an empty callsign
// leaves the line ending in " /callsign ".
CommandLine BuildVoiceCommandLine(std::string_view voiceFolder, std::string_view voiceServer,
                                  std::string_view position, std::string_view voiceCallsign);

// Looks up the position's voice callsign in section "voice" of voice.ini in
// the program folder (empty when absent), and starts the voice client with
// its window shown normally. The caller decides what a failed start means.
Outcome StartVoiceClient(ProgramStarter& starter, std::string_view programFolder,
                         std::string_view voiceServer, std::string_view position,
                         std::string_view voiceFolder);

// radarFolder + separator + "rv.exe", with no arguments.
CommandLine RadarCommandLine(std::string_view radarFolder);

}  // namespace launcher
