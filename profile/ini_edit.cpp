#include "profile/ini_edit.h"

#include "profile/ini_line.h"

namespace launcher::ini {

std::string Splice::ApplyTo(std::string_view text) const {
    std::string out;
    out.reserve(text.size() - erase + insert.size());
    out.append(text.substr(0, offset)).append(insert).append(text.substr(offset + erase));
    return out;
}

std::optional<Splice> PlanWrite(std::string_view text, std::string_view section,
                                std::string_view key, std::string_view value) {
    section = TrimArgument(section);
    key = TrimArgument(key);
    if (!IsWritableName(section) || !IsWritableName(key)) {
        return std::nullopt;
    }
    const std::string line = OneLineValue(value);
    const char* const base = text.data();
    const char* const end = base + text.size();

    bool inSection = false;
    bool found = false;
    std::size_t anchor = 0;         // where a new key line of the section goes
    bool anchorTerminated = false;  // the line before the anchor ends in a break
    for (const char* p = base; p < end;) {
        const char* const lineEnd = FindBreak(p, end);
        const char* next = lineEnd;
        if (next < end) {
            next += (*next == '\r' && next + 1 < end && next[1] == '\n') ? 2 : 1;
        }
        const LineParts parts =
            SplitLine(std::string_view(p, static_cast<std::size_t>(lineEnd - p)));
        p = next;
        if (parts.kind == LineParts::Kind::kHeader) {
            if (inSection) {
                break;
            }
            inSection = found = NamesMatch(parts.name, section);
        } else if (!inSection || parts.kind != LineParts::Kind::kKey) {
            continue;
        } else if (NamesMatch(parts.name, key)) {
            const std::string_view old = parts.rawValue;
            if (TrimBlanks(old) == line) {
                return Splice{};  // already there: leave the file alone
            }
            Splice splice{static_cast<std::size_t>(old.data() - base), old.size(), line};
            if (lineEnd == end) {
                splice.insert += "\r\n";
            }
            return splice;
        }
        anchor = static_cast<std::size_t>(next - base);
        anchorTerminated = lineEnd < end;
    }

    Splice splice;
    if (found) {
        splice.offset = anchor;
        if (!anchorTerminated) {
            splice.insert = "\r\n";
        }
    } else {
        splice.offset = text.size();
        if (!text.empty() && !IsBreak(text.back())) {
            splice.insert = "\r\n";
        }
        splice.insert.append("[").append(section).append("]\r\n");
    }
    splice.insert.append(key).append("=").append(line).append("\r\n");
    return splice;
}

}  // namespace launcher::ini
