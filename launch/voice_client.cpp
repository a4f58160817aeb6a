#include "launch/voice_client.h"

#include <string>

#include "profile/ini.h"
#include "profile/paths.h"
#include "profile/program_files.h"

namespace launcher {

std::string VoiceClientProgram(std::string_view voiceFolder) {
    return InFolder(voiceFolder, kVoiceClientProgram);
}

CommandLine BuildVoiceCommandLine(std::string_view voiceFolder, std::string_view voiceServer,
                                  std::string_view position, std::string_view voiceCallsign) {
    CommandLine command;
    command.program = VoiceClientProgram(voiceFolder);
    command.arguments.append(" /join1 ")
        .append(voiceServer)
        .append("/")
        .append(position)
        .append(" /callsign ")
        .append(voiceCallsign);
    return command;
}

Outcome StartVoiceClient(ProgramStarter& starter, std::string_view programFolder,
                         std::string_view voiceServer, std::string_view position,
                         std::string_view voiceFolder) {
    const std::string voiceCallsign = ReadIni(rules::kVoiceCallsigns.section, position,
                                              InFolder(programFolder, rules::kVoiceCallsigns.file));
    return starter.Start(BuildVoiceCommandLine(voiceFolder, voiceServer, position, voiceCallsign),
                         WindowShow::kNormal);
}

CommandLine RadarCommandLine(std::string_view radarFolder) {
    return CommandLine{InFolder(radarFolder, kRadarClientProgram), {}};
}

}  // namespace launcher
