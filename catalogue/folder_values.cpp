#include "catalogue/folder_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "profile/program_files.h"

namespace launcher {

std::string LookupFrequency(std::string_view programFolder, const std::string& position) {
    return ReadIni(rules::kFrequencies.section, position,
                   InFolder(programFolder, rules::kFrequencies.file));
}

namespace {

// Qt's limit on a widget's coordinates (QWIDGETSIZE_MAX); the core names it
// itself to stay free of the toolkit.
constexpr float kMaxPixels = 16777215.0f;

}  // namespace

std::optional<int> LogoLeftPixels(std::string_view twips) {
    constexpr std::string_view kBlanks = " \t";
    const auto first = twips.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view number = twips.substr(first, twips.find_last_not_of(kBlanks) + 1 - first);
    const bool negative = number.front() == '-';
    if (negative || number.front() == '+') {
        number.remove_prefix(1);
    }
    // from_chars reads the rest of the grammar, but also "inf", "nan" and a
    // sign of its own: the number proper must start with a digit or a point.
    if (number.empty() ||
        !(number.front() == '.' || (number.front() >= '0' && number.front() <= '9'))) {
        return std::nullopt;
    }
    float value = 0;
    const char* const end = number.data() + number.size();
    // from_chars ignores the locale: "1.5" is one and a half everywhere.
    const auto [stop, error] = std::from_chars(number.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    if (negative) {
        value = -value;
    }
    const float pixels = std::clamp(std::round(value / 15.0f), -kMaxPixels, kMaxPixels);
    return static_cast<int>(pixels);
}

}  // namespace launcher
