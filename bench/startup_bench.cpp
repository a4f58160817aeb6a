// The main window's whole start-up (made, then Form_Load): over a
// full program folder (thirty groups of fifteen positions, a 10,000-key
// freq.ini, every settings.ini key, rvsb.ini in the Windows folder) and, as
// the floor in the same run, over an empty program folder. The difference is
// what reading and showing a full folder costs; aim: at most 10 ms.
//
// Peak memory is measured outside, with /usr/bin/time -v, against
// bare_window (bare_window.cpp).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/form1_presenter.h"
#include "qt/form_maker.h"
#include "qt/form_window.h"
#include "tests/support/fakes.h"

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct ProgramFolder {
    fs::path path;

    explicit ProgramFolder(bool full) {
        path =
            fs::temp_directory_path() / ("startup-bench-" + std::string(full ? "full" : "empty") +
                                         "-" + std::to_string(::getpid()));
        fs::create_directories(path);
        if (full) {
            Fill();
        }
    }
    ~ProgramFolder() { fs::remove_all(path); }

    void Fill() const {
        std::string config =
            "[GENERAL]\r\nLOGOLEFT=120\r\nLOGO=\r\nBACK=\r\nTITLE=Benchmark\r\n"
            "WEBSITE=www.example.net\r\n[combo names]\r\n";
        for (int group = 1; group <= 30; ++group) {
            config += std::to_string(group) + "=Group " + std::to_string(group) + "\r\n";
        }
        std::string freq = "[FREQ]\r\n";
        for (int group = 1; group <= 30; ++group) {
            config.append("[").append(std::to_string(group)).append(" items]\r\n");
            for (int entry = 1; entry <= 15; ++entry) {
                char position[32];
                std::snprintf(position, sizeof position, "E%03d_%02d_TWR", group, entry);
                config += std::to_string(entry) + "=" + position + "\r\n";
            }
        }
        for (int key = 0; key < 10000; ++key) {
            char line[48];
            std::snprintf(line, sizeof line, "E%04d_APP=%d.%03d\r\n", key, 118 + key % 19,
                          (key * 25) % 1000);
            freq += line;
        }
        fs::create_directories(path / "windows");
        WriteFile(path / "windows" / "rvsb.ini", "[RV 2.0]\r\nCALLSIGN=\r\nRANGE RINGS=5\r\n");
        std::string settings = "[MAIN]\r\nWINDIR=" + (path / "windows").string() +
                               "\r\nRWIP=voice1.example.net\r\nRDVIP=radar1.example.net\r\n"
                               "NAME=Bench Controller\r\nRWDIR=/rw\r\nRDVDIR=/rv\r\nDATE=UK\r\n"
                               "RWY=27L\r\nADDITIONAL=2200z\r\nautoatis=1\r\n[rwservers]\r\n";
        for (int n = 1; n <= 8; ++n) {
            settings += std::to_string(n) + "=voice" + std::to_string(n) + ".example.net\r\n";
        }
        settings += "[rdvservers]\r\n";
        for (int n = 1; n <= 10; ++n) {
            settings += std::to_string(n) + "=radar" + std::to_string(n) + ".example.net\r\n";
        }
        WriteFile(path / "config.ini", config);
        WriteFile(path / "freq.ini", freq);
        WriteFile(path / "settings.ini", settings);
        WriteFile(path / "var.ini", "[MAIN]\r\nRWY=09R\r\nADDINFO=until late\r\n");
    }
};

void LoadForm1(benchmark::State& state, bool full) {
    const ProgramFolder folder(full);
    launcher::testing::FakeLocation location;
    location.folder = folder.path.string();
    launcher::testing::RecordingEnder ender;
    launcher::testing::FakeVolumes volumes;
    launcher::testing::FixedClock clock;
    launcher::testing::RecordingStarter starter;
    launcher::testing::RecordingErrors errors;
    launcher::qt::FormMaker maker;
    for (auto _ : state) {
        launcher::Form1Presenter form(maker, {location, ender, volumes, clock, starter, errors});
        form.Form_Load();
        benchmark::DoNotOptimize(dynamic_cast<QWidget&>(form.view()).windowTitle());
    }
}

void BM_Form1_EmptyFolder(benchmark::State& state) {
    LoadForm1(state, false);
}

void BM_Form1_FullFolder(benchmark::State& state) {
    LoadForm1(state, true);
}

}  // namespace

BENCHMARK(BM_Form1_EmptyFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Form1_FullFolder)->Unit(benchmark::kMillisecond);

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
