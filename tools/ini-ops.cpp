// ini-ops: runs the R, W and X operations of an ini-oracle script through our
// ReadIni / WriteIni and prints the results the way the oracle does, so that
// tests/profile/ini-oracle/compare.py can hold our backend against the corpus.
// Built for Windows as well, where the same calls reach the system's profile
// functions, so that tools/ini-differential.py can hold the two against each
// other on many generated cases in one process.
//
// usage: ini-ops OPS_FILE INI_PATH
//        ini-ops --batch BATCH_FILE FOLDER
//
// OPS_FILE holds one operation a line, fields separated by TAB:
//   R section key          ReadIni
//   W section key value    WriteIni (prints 1 when the file holds the value)
//   X                      the file's current bytes
// Empty lines and lines starting with '#' or '@' are skipped. Field escapes:
// \\ \t \r \n \s (space) \0 \xHH and \{N:TEXT} (TEXT repeated N times).
//
// A BATCH_FILE holds many cases, each opened by "@case NAME" and optionally
// "@ini BYTES" (the file's first contents, escaped as a field; without it the
// case starts with no file). Each case works on FOLDER/NAME.ini, which is
// removed afterwards, and its results follow an "@case NAME" line.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "profile/ini.h"
#include "profile/ini_detail.h"

namespace {

[[noreturn]] void Fail(const std::string& message, int line) {
    std::fprintf(stderr, "ini-ops: %s on line %d\n", message.c_str(), line);
    std::exit(2);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string Unescape(std::string_view in, int line) {
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\') {
            out += in[i];
            continue;
        }
        if (++i == in.size()) {
            Fail("dangling backslash", line);
        }
        switch (in[i]) {
            case '\\':
                out += '\\';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'n':
                out += '\n';
                break;
            case 's':
                out += ' ';
                break;
            case '0':
                out += '\0';
                break;
            case 'x': {
                const int high = i + 2 < in.size() ? HexDigit(in[i + 1]) : -1;
                const int low = i + 2 < in.size() ? HexDigit(in[i + 2]) : -1;
                if (high < 0 || low < 0) {
                    Fail("bad \\x escape", line);
                }
                out += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            case '{': {
                const std::size_t colon = in.find(':', i);
                const std::size_t close = in.find('}', i);
                if (colon == std::string_view::npos || close == std::string_view::npos ||
                    colon > close) {
                    Fail("bad \\{N:TEXT} escape", line);
                }
                const long count =
                    std::strtol(std::string(in.substr(i + 1, colon - i - 1)).c_str(), nullptr, 10);
                const std::string_view text = in.substr(colon + 1, close - colon - 1);
                for (long k = 0; k < count; ++k) {
                    out += text;
                }
                i = close;
                break;
            }
            default:
                Fail("unknown escape", line);
        }
    }
    return out;
}

// The oracle hands fields to the API as C strings; do the same.
std::string ApiField(std::string_view in, int line) {
    std::string field = Unescape(in, line);
    return field.substr(0, field.find('\0'));
}

std::string Quote(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                if (c >= 0x20 && c < 0x7f) {
                    out += ch;
                } else {
                    out += "\\x";
                    out += kHex[c >> 4];
                    out += kHex[c & 15];
                }
        }
    }
    return out + '"';
}

bool ReadWhole(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

// Runs one operation line on `file`; false when it is no operation.
// The oracle holds the A functions' bytes: our own backend is held to them
// without a code page; on Windows the system converts, as ReadIni does.
std::string ReadBytes(const std::string& section, const std::string& key, const std::string& file) {
#ifdef _WIN32
    return launcher::ReadIni(section, key, file);
#else
    return launcher::detail::ReadIniBytes(section, key, file);
#endif
}

bool WriteBytes(const std::string& section, const std::string& key, const std::string& value,
                const std::string& file) {
#ifdef _WIN32
    return launcher::detail::WriteIniReported(section, key, value, file);
#else
    return launcher::detail::WriteIniBytes(section, key, value, file);
#endif
}

bool RunOperation(std::string text, int number, const std::string& file) {
    if (!text.empty() && text.back() == '\r') {
        text.pop_back();
    }
    if (text.empty() || text[0] == '#' || text[0] == '@') {
        return false;
    }
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = text.find('\t', start);
        fields.push_back(ApiField(std::string_view(text).substr(start, tab - start), number));
        if (tab == std::string::npos) {
            break;
        }
        start = tab + 1;
    }
    const std::string& op = fields[0];
    if (op == "R" && fields.size() == 3) {
        const std::string value = ReadBytes(fields[1], fields[2], file);
        Print("R\t" + std::to_string(value.size()) + "\t" + Quote(value));
    } else if (op == "W" && fields.size() == 4) {
        const bool ok = WriteBytes(fields[1], fields[2], fields[3], file);
        Print(ok ? "W\t1" : "W\t0");
    } else if (op == "X" && fields.size() == 1) {
        std::string bytes;
        if (ReadWhole(file, bytes)) {
            Print("X\t" + std::to_string(bytes.size()) + "\t" + Quote(bytes));
        } else {
            Print("X\tabsent");
        }
    } else {
        Fail("unsupported operation '" + op + "'", number);
    }
    return true;
}

void RunScript(const std::string& script, const std::string& file) {
    std::istringstream lines(script);
    std::string text;
    for (int number = 1; std::getline(lines, text); ++number) {
        RunOperation(text, number, file);
    }
}

// Each case gets a file of its own name: Wine keeps parsed files cached by
// name, and a fresh name rules out an answer from a previous case.
void RunBatch(const std::string& batch, const std::string& folder) {
    std::istringstream lines(batch);
    std::string text;
    std::string file;
    const auto finishCase = [&file] {
        if (!file.empty()) {
            std::remove(file.c_str());
        }
    };
    for (int number = 1; std::getline(lines, text); ++number) {
        if (text.rfind("@case ", 0) == 0) {
            finishCase();
            const std::string name = text.substr(6);
            file = folder + "/" + name + ".ini";
            std::remove(file.c_str());
            Print("@case " + name);
        } else if (text.rfind("@ini ", 0) == 0) {
            const std::string bytes = Unescape(std::string_view(text).substr(5), number);
            std::ofstream(file, std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        } else if (!file.empty()) {
            RunOperation(text, number, file);
        }
    }
    finishCase();
}

}  // namespace

int main(int argc, char** argv) {
    const bool batch = argc == 4 && std::string_view(argv[1]) == "--batch";
    if (argc != 3 && !batch) {
        std::fprintf(stderr,
                     "usage: ini-ops OPS_FILE INI_PATH\n"
                     "       ini-ops --batch BATCH_FILE FOLDER\n");
        return 2;
    }
    const char* input = argv[batch ? 2 : 1];
    std::string script;
    if (!ReadWhole(input, script)) {
        std::fprintf(stderr, "ini-ops: cannot read %s\n", input);
        return 2;
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);  // the same bytes as the native build
#endif
    Print("# ini-ops 1");
    if (batch) {
        RunBatch(script, argv[3]);
    } else {
        RunScript(script, argv[2]);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
