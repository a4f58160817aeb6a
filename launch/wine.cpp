#include "launch/wine.h"

#include <algorithm>
#include <cctype>

namespace launcher {
namespace {

std::string Lowercase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool IsVariable(const std::string& entry, std::string_view name) {
    return entry.size() > name.size() && entry.compare(0, name.size(), name) == 0 &&
           entry[name.size()] == '=';
}

// The value of `name` in `environment`, or null.
const char* Variable(const std::vector<std::string>& environment, std::string_view name) {
    for (const std::string& entry : environment) {
        if (IsVariable(entry, name)) {
            return entry.c_str() + name.size() + 1;
        }
    }
    return nullptr;
}

void SetVariable(std::vector<std::string>& environment, std::string_view name,
                 std::string_view value) {
    std::erase_if(environment,
                  [name](const std::string& entry) { return IsVariable(entry, name); });
    environment.push_back(std::string(name) + "=" + std::string(value));
}

bool NamesUtf8(const char* locale) {
    const std::string name = Lowercase(locale != nullptr ? locale : "");
    return name.find("utf-8") != std::string::npos || name.find("utf8") != std::string::npos;
}

// Wine decodes its argv in the character set of the locale its environment
// names (not the one this process switched to), and our text is UTF-8. Only
// the character type changes: C.UTF-8 gives Wine code page 1252.
void MakeCharactersUtf8(std::vector<std::string>& environment) {
    const char* all = Variable(environment, "LC_ALL");
    if (all != nullptr && *all != '\0') {
        if (!NamesUtf8(all)) {
            SetVariable(environment, "LC_ALL", "C.UTF-8");
        }
        return;
    }
    const char* type = Variable(environment, "LC_CTYPE");
    if (type == nullptr || *type == '\0') {
        type = Variable(environment, "LANG");
    }
    if (!NamesUtf8(type)) {
        SetVariable(environment, "LC_CTYPE", "C.UTF-8");
    }
}

}  // namespace

bool NamesWine(std::string_view named) {
    const std::size_t slash = named.rfind('/');
    return Lowercase(named.substr(slash == std::string_view::npos ? 0 : slash + 1))
        .starts_with("wine");
}

std::vector<std::string> WineStartArguments(const std::string& wine, const std::string& windowsPath,
                                            WindowShow show) {
    std::vector<std::string> arguments = {wine, "start", "/b"};
    if (show == WindowShow::kMaximized) {
        arguments.emplace_back("/max");
    }
    arguments.push_back(windowsPath);
    return arguments;
}

std::vector<std::string> WineEnvironment(std::vector<std::string> environment,
                                         std::string_view prefix) {
    if (!prefix.empty()) {
        SetVariable(environment, "WINEPREFIX", prefix);
    }
    if (Variable(environment, "WINEDEBUG") == nullptr) {
        environment.emplace_back("WINEDEBUG=-all");
    }
    MakeCharactersUtf8(environment);
    return environment;
}

}  // namespace launcher
