// One tick of the main window's poll: thirty group texts read and the
// selected position's frequency looked up in freq.ini, afresh. Measured with
// a 200-key and a 10,000-key freq.ini, each beside its floor (open the file,
// read its bytes once, close it) in the same run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/position_selection.h"
#include "bench/floor.h"

namespace {

namespace fs = std::filesystem;

class ArrayGroups final : public launcher::GroupTexts {
public:
    std::array<std::string, 30> texts;
    std::string Text(int group) const override { return texts[group - 1]; }
    void SetText(int group, const std::string& text) override { texts[group - 1] = text; }
};

// A program folder whose freq.ini holds `keys` positions; the middle one is
// the position the ticks look up.
struct Folder {
    fs::path path;
    std::string middleKey;

    explicit Folder(int keys) {
        path = fs::temp_directory_path() /
               ("selection-bench-" + std::to_string(keys) + "-" + std::to_string(::getpid()));
        fs::create_directories(path);
        // Positions as a real network names them: a four-letter airport code
        // of one region (so every key starts alike) and a station suffix.
        static constexpr std::array<const char*, 8> kStations = {"DEL", "GND",   "TWR", "N_TWR",
                                                                 "APP", "F_APP", "DEP", "CTR"};
        std::string text = "[FREQ]\r\n";
        for (int k = 0; k < keys; ++k) {
            const int airport = k / static_cast<int>(kStations.size());
            char key[32];
            std::snprintf(key, sizeof key, "E%c%c%c_%s", 'A' + airport / 676 % 26,
                          'A' + airport / 26 % 26, 'A' + airport % 26,
                          kStations[static_cast<std::size_t>(k) % kStations.size()]);
            if (k == keys / 2) {
                middleKey = key;
            }
            char line[64];
            std::snprintf(line, sizeof line, "%s=%d.%03d\r\n", key, 118 + k % 19, (k * 25) % 1000);
            text += line;
        }
        std::ofstream(path / "freq.ini", std::ios::binary) << text;
    }
    ~Folder() { fs::remove_all(path); }
};

void BM_Floor(benchmark::State& state) {
    const Folder folder(static_cast<int>(state.range(0)));
    const std::string file = (folder.path / "freq.ini").string();
    bench::Floor(state, file);
}

void BM_PollSelection(benchmark::State& state) {
    const Folder folder(static_cast<int>(state.range(0)));
    ArrayGroups groups;
    groups.texts[6] = folder.middleKey;  // a pick in group 7
    launcher::PositionSelection selection(groups, folder.path.string());
    for (auto _ : state) {
        selection.PollSelection();
        benchmark::DoNotOptimize(selection.selectedFrequency());
    }
    if (selection.selectedFrequency().empty()) {
        state.SkipWithError("the frequency was not found");
    }
}

BENCHMARK(BM_Floor)->Arg(200)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PollSelection)->Arg(200)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
