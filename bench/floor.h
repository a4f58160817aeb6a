// The least any reader of `file` must do, measured as a floor for the lookup
// benchmarks beside it: open the file, read its bytes once, close it.
#pragma once

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace bench {

inline void Floor(benchmark::State& state, const std::string& file) {
    std::vector<char> buffer(std::filesystem::file_size(file) + 1);
    for (auto _ : state) {
        const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        benchmark::DoNotOptimize(::read(fd, buffer.data(), buffer.size()));
        ::close(fd);
        benchmark::ClobberMemory();
    }
}

}  // namespace bench
