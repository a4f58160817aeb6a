// ini-ops: runs the R, W and X operations of an ini-oracle script through our
// ReadIni / WriteIni on bytes (no code page: the oracle holds the A functions'
// bytes) and prints the results the way the oracle does, so that
// tests/profile/ini-oracle/compare.py can hold our backend against the corpus.
//
// usage: ini-ops OPS_FILE INI_PATH
//
// OPS_FILE holds one operation a line, fields separated by TAB:
//   R section key          ReadIni
//   W section key value    WriteIni (prints 1 when the file holds the value)
//   X                      the file's current bytes
// Empty lines and lines starting with '#' or '@' are skipped. Field escapes:
// \\ \t \r \n \s (space) \0 \xHH and \{N:TEXT} (TEXT repeated N times).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

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
    // The oracle hands fields to the API as C strings; do the same.
    return out.substr(0, out.find('\0'));
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: ini-ops OPS_FILE INI_PATH\n");
        return 2;
    }
    std::string script;
    if (!ReadWhole(argv[1], script)) {
        std::fprintf(stderr, "ini-ops: cannot read %s\n", argv[1]);
        return 2;
    }
    const std::string file = argv[2];
    Print("# ini-ops 1");

    std::istringstream lines(script);
    std::string text;
    for (int number = 1; std::getline(lines, text); ++number) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        if (text.empty() || text[0] == '#' || text[0] == '@') {
            continue;
        }
        std::vector<std::string> fields;
        for (std::size_t start = 0;;) {
            const std::size_t tab = text.find('\t', start);
            fields.push_back(Unescape(std::string_view(text).substr(start, tab - start), number));
            if (tab == std::string::npos) {
                break;
            }
            start = tab + 1;
        }
        const std::string& op = fields[0];
        if (op == "R" && fields.size() == 3) {
            const std::string value = launcher::detail::ReadIniBytes(fields[1], fields[2], file);
            Print("R\t" + std::to_string(value.size()) + "\t" + Quote(value));
        } else if (op == "W" && fields.size() == 4) {
            const bool ok = launcher::detail::WriteIniBytes(fields[1], fields[2], fields[3], file);
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
    }
    return 0;
}
