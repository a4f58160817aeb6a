// The byte rules behind the portable backend, where the file system would
// hide the interesting cases: cuts at character boundaries and lookups whose
// lines arrive split across reads.
#include "profile/ini_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profile/ini_line.h"

namespace launcher::ini {
namespace {

TEST(CutValueTest, BacksOffOnlyOverAUtf8CharacterSplitByTheCut) {
    const std::string a253(253, 'a');
    const struct {
        std::string value;
        std::size_t kept;
    } cases[] = {
        {std::string(300, 'a'), 254},
        {a253 + "\xc3\xa9", 253},                           // 2-byte character split after its lead
        {std::string(252, 'a') + "\xe2\x82\xac", 252},      // 3-byte, split after two bytes
        {std::string(251, 'a') + "\xf0\x9f\x98\x80", 251},  // 4-byte, split after three
        {std::string(251, 'a') + "\xe2\x82\xac!", 254},     // ends exactly on the cut
        {a253 + "\xe9"
                "bc",
         254},                                          // cp1252 text, not UTF-8
        {a253 + "\xc3", 254},                           // lead byte at the very end
        {a253 + "\xc0\x80", 254},                       // never a lead byte in UTF-8
        {std::string(252, 'a') + "\x80\x80\x80", 254},  // continuation bytes without a lead
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutValue(c.value), std::string_view(c.value).substr(0, c.kept))
            << "value of " << c.value.size() << " bytes";
    }
}

// Feeds `text` in pieces of `piece` bytes the way the portable ReadIni does.
std::string ScanInPieces(std::string_view text, std::string_view section, std::string_view key,
                         std::size_t piece) {
    ValueScanner scanner(TrimArgument(section), TrimArgument(key));
    std::string held;
    std::size_t next = 0;
    for (;;) {
        const std::string_view more = text.substr(next, piece);
        next += more.size();
        held += more;
        switch (scanner.Scan(held, more.empty())) {
            case ValueScanner::Status::kFound:
                return std::string(CutValue(scanner.value()));
            case ValueScanner::Status::kAbsent:
                return {};
            case ValueScanner::Status::kNeedMore:
                held.erase(0, scanner.consumed());
        }
    }
}

TEST(ValueScannerTest, PiecesOfAnySizeGiveTheAnswerOfTheWholeText) {
    // "x [[]" is no header, however the pieces cut it.
    const std::string text =
        "x [[]\r\n=v\r\ntop=1\r\n  [a] ; x\r\nk = 1\r\n;k=c\r\n  \t\r\nkk=no\nk=dup\r[b]x[c]\r\n"
        "[long]\r\nv=\"" +
        std::string(300, 'v') + "\"\r\n;" + std::string(90, 'c') + "\r\nnoequals" +
        std::string(40, 'n') + "\r\nlast = \t'q' \t";
    const std::vector<std::pair<std::string, std::string>> lookups = {
        {"a", "k"},       {"A", "kk"},          {"b", "x"}, {"", "top"},     {"long", "v"},
        {"long", "last"}, {"long", "noequals"}, {"c", "k"}, {"nosuch", "k"}, {"", ""},
    };
    for (const auto& [section, key] : lookups) {
        const std::string whole = ReadValue(text, section, key);
        for (std::size_t piece = 1; piece <= 40; ++piece) {
            ASSERT_EQ(ScanInPieces(text, section, key, piece), whole)
                << "[" << section << "] " << key << " in pieces of " << piece;
        }
    }
    EXPECT_EQ(ReadValue(text, "a", "k"), "1");
    EXPECT_EQ(ReadValue(text, "long", "last"), "q");
}

// A key family shares first and last bytes, so the search must tell keys
// apart by their inner bytes, in either case, wherever a line falls.
TEST(ValueScannerTest, LookAlikeKeysAreToldApartByTheirInnerBytes) {
    for (std::size_t pad = 0; pad < 70; ++pad) {
        std::string text = "[FREQ]\r\n;" + std::string(pad, 'c') + "\r\n";
        for (char code = 'A'; code <= 'Z'; ++code) {
            for (const std::string station : {"TWR", "N_TWR", "CTR"}) {
                // The line of EGLL_TWR spells its fourth byte in lower case.
                const char fourth = code == 'L' && station == "TWR" ? 'l' : code;
                text += "EXL" + std::string(1, code) + "_" + station + "=x\r\n";
                text +=
                    "EGL" + std::string(1, fourth) + "_" + station + "=" + code + station + "\r\n";
            }
        }
        text += "[NEXT]\r\nEGLL_DEL=next\r\n";
        const struct {
            const char* key;
            const char* value;
        } lookups[] = {
            {"EGLL_tWr", "LTWR"}, {"eglz_ctr", "ZCTR"}, {"EGLA_N_TWR", "AN_TWR"},
            {"EGLL_DEL", ""},     {"EGL_TWR", ""},      {"E", ""},
        };
        for (const auto& [key, value] : lookups) {
            ASSERT_EQ(ReadValue(text, "freq", key), value) << key << " after " << pad;
            for (const std::size_t piece : {7, 64}) {
                ASSERT_EQ(ScanInPieces(text, "FREQ", key, piece), value)
                    << key << " after " << pad << " in pieces of " << piece;
            }
        }
    }
}

// The search looks for the key as asked; a spelling in another case on an
// earlier line still wins, and the key as asked inside a value, after a NUL
// or in a later section is no key line of the section.
TEST(ValueScannerTest, TheFirstKeyLineInAnyCaseWinsOverTheKeyAsAsked) {
    using namespace std::string_literals;
    const std::string text =
        "[s]\r\nv=KEY1\0KEY1=x\r\n\0\r\nkey=KEY1\r\n  kEy1 =first\r\nKEY1=second\r\n"
        "[t]\r\nKEY1=t\r\n"s;
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } lookups[] = {
        {"s", "KEY1", "first"}, {"S", "key1", "first"}, {"s", "kEY1", "first"},
        {"t", "KEY1", "t"},     {"s", "EY1", ""},       {"s", "KEY", "KEY1"},
    };
    for (const auto& [section, key, value] : lookups) {
        ASSERT_EQ(ReadValue(text, section, key), value) << key;
        for (std::size_t piece = 1; piece <= 16; ++piece) {
            ASSERT_EQ(ScanInPieces(text, section, key, piece), value)
                << key << " in pieces of " << piece;
        }
    }
}

TEST(ValueScannerTest, NamesNoLineCanHoldFindNothing) {
    // A key starting with CR once sent the in-section search round in circles.
    for (const std::string_view key : {"\rk", "\nk", "k\r"}) {
        ValueScanner scanner("s", key);
        EXPECT_EQ(scanner.Scan("[s]\r\n\rk=1\r\n\nk=2\r\n", true), ValueScanner::Status::kAbsent);
    }
}

}  // namespace
}  // namespace launcher::ini
