// Starts a program and measures, from the X server's side, how long it takes
// from the start to the moment the server maps its first top-level window,
// and the peak resident memory the process has reached a while later; then
// ends it. The same for a Qt program and for a Windows one under Wine, so
// both front ends are timed alike. One line: "<milliseconds> <peak KiB>".
//
// usage: map_probe SETTLE_MS PROGRAM [ARGUMENT...]
// The program starts in the current folder; DISPLAY names the server. With
// MAP_PROBE_MAPPINGS=FILE, FILE also gets the resident KiB of each mapped
// file (and of [anon], [heap], [stack]) at the moment the peak is read, to
// tell where the memory lies.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// The process's high-water mark of resident memory, in KiB; 0 when unknown.
long PeakKiB(pid_t process) {
    std::ifstream status("/proc/" + std::to_string(process) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return 0;
}

// Writes "<KiB> <mapping>" for each file mapped, summed over its pieces.
void WriteMappings(pid_t process, const char* file) {
    std::ifstream smaps("/proc/" + std::to_string(process) + "/smaps");
    std::map<std::string, long> resident;
    std::string name = "[anon]";
    for (std::string line; std::getline(smaps, line);) {
        const auto space = line.find(' ');
        if (space != std::string::npos && line.find('-') < space) {  // a mapping's first line
            const auto path = line.find_first_of("/[", space);
            name = path == std::string::npos ? "[anon]" : line.substr(path);
        } else if (line.starts_with("Rss:")) {
            resident[name] += std::strtol(line.c_str() + 4, nullptr, 10);
        }
    }
    std::ofstream out(file);
    for (const auto& [mapping, kib] : resident) {
        out << kib << ' ' << mapping << '\n';
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SETTLE_MS PROGRAM [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    const int settleMs = std::atoi(argv[1]);
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x) != 0) {
        std::fprintf(stderr, "map_probe: no X server\n");
        return 1;
    }
    // Every window mapped on the root, whoever maps it.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    std::free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::perror("map_probe: exec");
        _exit(127);
    }

    long mappedMs = -1;
    pollfd server{xcb_get_file_descriptor(x), POLLIN, 0};
    while (mappedMs < 0) {
        xcb_generic_event_t* event = xcb_poll_for_event(x);
        if (event == nullptr) {
            if (waitpid(child, nullptr, WNOHANG) == child) {
                std::fprintf(stderr, "map_probe: %s ended before it showed a window\n", argv[2]);
                return 1;
            }
            poll(&server, 1, 50);
            continue;
        }
        const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> held(event, &std::free);
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            // Menus and tool tips bypass the window manager; a window does not.
            if (map->event == root && map->override_redirect == 0) {
                mappedMs =
                    std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start)
                        .count();
            }
        }
    }
    usleep(static_cast<useconds_t>(settleMs) * 1000);
    const long peak = PeakKiB(child);
    if (const char* mappings = std::getenv("MAP_PROBE_MAPPINGS")) {
        WriteMappings(child, mappings);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(x);
    std::printf("%ld %ld\n", mappedMs, peak);
    return 0;
}
