// A fresh, empty folder for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace launcher::testing {

// The platform's folder separator, for expected paths.
#ifdef _WIN32
inline constexpr std::string_view kSeparator = "\\";
#else
inline constexpr std::string_view kSeparator = "/";
#endif

// The bytes of the file at `path` as they stand; "" when it cannot be read.
inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("launcher-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string File(std::string_view name) const { return (path_ / name).string(); }

    // Writes `bytes` unchanged (no line-end conversion) and returns the path.
    std::string Write(std::string_view name, std::string_view bytes) const {
        const std::string file = File(name);
        std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return file;
    }

private:
    std::filesystem::path path_;
};

}  // namespace launcher::testing
