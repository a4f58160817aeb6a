// How ReadIni compares with the least any reader must do: open the file, read
// its bytes once, close it. Each lookup benchmark has its floor measured in
// the same run, and the summary prints lookup / floor.
//
// Run with --benchmark_repetitions=10 for steadier ratios.
//
// Files: config.ini, the full 30 groups x 15 entries catalogue, and freq.ini,
// one section of 10,000 positions (1,250 airports of one region with eight
// stations each); both written to a temporary folder first.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench/floor.h"
#include "catalogue/position_catalogue.h"
#include "profile/ini.h"

namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, 30> kAirports = {
    "EGLL", "EGKK", "EGSS", "EGGW", "EGLC", "EGCC", "EGBB", "EGPH", "EGPF", "EGNX",
    "EGGD", "EGHI", "EGNT", "EGNM", "EGAA", "EHAM", "EDDF", "EDDM", "LFPG", "LFPO",
    "EBBR", "LSZH", "LOWW", "EKCH", "ESSA", "ENGM", "EIDW", "LEMD", "LIRF", "LPPT"};
constexpr std::array<const char*, 15> kPositions = {"DEL",   "GND",   "N_GND", "S_GND", "TWR",
                                                    "N_TWR", "S_TWR", "APP",   "F_APP", "DEP",
                                                    "DIR",   "CTR",   "N_CTR", "S_CTR", "ATIS"};
constexpr std::array<const char*, 8> kStations = {"DEL", "GND",   "TWR", "N_TWR",
                                                  "APP", "F_APP", "DEP", "CTR"};

std::string Frequency(unsigned n) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%03u", 118 + n % 19, (n * 25) % 1000);
    return text;
}

struct Files {
    fs::path folder;
    std::string config;
    std::string freq;
    std::vector<std::string> freqKeys;  // every key of freq.ini, in file order
};

Files& Fixture() {
    static Files files = [] {
        Files f;
        f.folder = fs::temp_directory_path() / ("ini-bench-" + std::to_string(::getpid()));
        fs::create_directories(f.folder);

        std::string config =
            "[GENERAL]\r\nACCNAME=London Area Control\r\n"
            "WWW=www.example.org/atc\r\nLOGO=logo.bmp\r\nCAPTION=ATC Launcher\r\n"
            "[combo names]\r\n";
        for (int g = 1; g <= 30; ++g) {
            config += std::to_string(g) + "=" + kAirports[g - 1] + " Positions\r\n";
        }
        for (int g = 1; g <= 30; ++g) {
            config.append("[").append(std::to_string(g)).append(" items]\r\n");
            for (int e = 1; e <= 15; ++e) {
                config +=
                    std::to_string(e) + "=" + kAirports[g - 1] + "_" + kPositions[e - 1] + "\r\n";
            }
        }
        // Positions as a real network names them: four-letter airport codes
        // of one region (all start with 'E') and a few repeated station
        // suffixes, so many keys share their first and last bytes.
        std::string freq = "[FREQ]\r\n";
        std::set<std::string> airports;
        unsigned seed = 12345;
        while (f.freqKeys.size() < 10000) {
            std::string code = "E";
            for (int i = 0; i < 3; ++i) {
                seed = seed * 1103515245u + 12345u;
                code += static_cast<char>('A' + (seed >> 16) % 26);
            }
            if (!airports.insert(code).second) {
                continue;  // every key distinct
            }
            for (const char* station : kStations) {
                const std::string key = code + "_" + station;
                freq +=
                    key + "=" + Frequency(static_cast<unsigned>(f.freqKeys.size()) * 7) + "\r\n";
                f.freqKeys.push_back(key);
            }
        }
        f.config = (f.folder / "config.ini").string();
        f.freq = (f.folder / "freq.ini").string();
        std::ofstream(f.config, std::ios::binary) << config;
        std::ofstream(f.freq, std::ios::binary) << freq;
        return f;
    }();
    return files;
}

void BM_FloorConfig(benchmark::State& state) {
    bench::Floor(state, Fixture().config);
}

// Every lookup the catalogue makes, in turn: on average half the file is passed.
void BM_ReadIniConfig(benchmark::State& state) {
    std::vector<std::pair<std::string, std::string>> lookups;
    for (int g = 1; g <= 30; ++g) {
        lookups.emplace_back("combo names", std::to_string(g));
        for (int e = 1; e <= 15; ++e) {
            lookups.emplace_back(std::to_string(g) + " items", std::to_string(e));
        }
    }
    const std::string& file = Fixture().config;
    std::size_t next = 0;
    for (auto _ : state) {
        const auto& [section, key] = lookups[next];
        benchmark::DoNotOptimize(launcher::ReadIni(section, key, file));
        next = next + 1 == lookups.size() ? 0 : next + 1;
    }
}

void BM_FloorFreq(benchmark::State& state) {
    bench::Floor(state, Fixture().freq);
}

// Positions spread evenly over the file, so the average lies in its middle.
void BM_ReadIniFreq(benchmark::State& state) {
    const std::vector<std::string>& keys = Fixture().freqKeys;
    const std::string& file = Fixture().freq;
    std::size_t next = 37;
    for (auto _ : state) {
        benchmark::DoNotOptimize(launcher::ReadIni("FREQ", keys[next], file));
        next = (next + 101) % keys.size();
    }
}

void BM_LoadPositionCatalogue(benchmark::State& state) {
    const std::string& file = Fixture().config;
    for (auto _ : state) {
        benchmark::DoNotOptimize(launcher::LoadPositionCatalogue(file));
    }
}

BENCHMARK(BM_FloorConfig);
BENCHMARK(BM_ReadIniConfig);
BENCHMARK(BM_FloorFreq);
BENCHMARK(BM_ReadIniFreq);
BENCHMARK(BM_LoadPositionCatalogue);

// Keeps each benchmark's time per iteration for the summary: the median when
// the run is repeated (--benchmark_repetitions), else the one result.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            const std::string name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                nanoseconds_[name] = run.GetAdjustedRealTime();
                medians_.insert(name);
            } else if (run.run_type == Run::RT_Iteration && medians_.count(name) == 0) {
                nanoseconds_[name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double operator[](const std::string& name) const {
        const auto found = nanoseconds_.find(name);
        return found == nanoseconds_.end() ? 0.0 : found->second;
    }

private:
    std::map<std::string, double> nanoseconds_;
    std::set<std::string> medians_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Fixture();
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double floorConfig = reporter["BM_FloorConfig"];
    const double floorFreq = reporter["BM_FloorFreq"];
    const double load = reporter["BM_LoadPositionCatalogue"];
    constexpr int kLoadLookups = 30 + 30 * 15;
    std::printf("\nReadIni / floor (open + one read + close of the same file):\n");
    if (floorConfig > 0 && reporter["BM_ReadIniConfig"] > 0) {
        std::printf("  config.ini (30 x 15)    %.2fx\n",
                    reporter["BM_ReadIniConfig"] / floorConfig);
    }
    if (floorFreq > 0 && reporter["BM_ReadIniFreq"] > 0) {
        std::printf("  freq.ini (10,000 keys)  %.2fx\n", reporter["BM_ReadIniFreq"] / floorFreq);
    }
    if (floorConfig > 0 && load > 0) {
        std::printf(
            "LoadPositionCatalogue: %.1f us for %d lookups, %.2fx the config.ini floor each\n",
            load / 1000, kLoadLookups, load / kLoadLookups / floorConfig);
    }
    std::error_code ignored;
    fs::remove_all(Fixture().folder, ignored);
    benchmark::Shutdown();
    return 0;
}
