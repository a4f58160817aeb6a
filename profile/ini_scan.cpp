#include "profile/ini_scan.h"

#include <cstring>

#include "profile/ini_line.h"
#include "profile/ini_search.h"

namespace launcher::ini {
namespace {

// Names of a file's lines are trimmed, so a name with outer blanks matches none.
bool HasEdgeBlank(std::string_view name) {
    return !name.empty() && (IsBlank(name.front()) || IsBlank(name.back()));
}

}  // namespace

ValueScanner::ValueScanner(std::string_view section, std::string_view key)
    : section_(section),
      key_(key),
      nameless_(!IsWritableName(section) || !IsWritableName(key) || HasEdgeBlank(section) ||
                HasEdgeBlank(key)) {}

ValueScanner::Status ValueScanner::Scan(std::string_view data, bool atEnd) {
    const char* const base = data.data();
    const char* const end = base + data.size();
    const char* p = base;
    value_ = {};
    if (nameless_) {
        return Status::kAbsent;
    }
    if (skipLine_) {
        p = FindBreak(p, end);
        if (p == end) {
            return atEnd ? Status::kAbsent : NeedMore(data.size());
        }
        skipLine_ = false;
    }
    if (!inSection_) {
        const Status status = ScanHeaders(base, p, end, atEnd);
        if (!inSection_) {
            return status;
        }
    }
    return ScanSection(base, p, end, atEnd);
}

// Outside the wanted section only headers matter, and a header starts with
// '[': jump from one '[' to the next. Leaves `p` after the wanted header.
ValueScanner::Status ValueScanner::ScanHeaders(const char* base, const char*& p, const char* end,
                                               bool atEnd) {
    for (;;) {
        const auto* open =
            static_cast<const char*>(std::memchr(p, '[', static_cast<std::size_t>(end - p)));
        if (open == nullptr) {
            if (atEnd) {
                return Status::kAbsent;
            }
            // Back to where the unfinished last line starts, which may lie
            // before `p` when a '[' inside it was passed over: the next piece
            // must not take the middle of a line for its start.
            const char* last = LastLineStart(base, end);
            if (SkipBlanks(last, end) < end) {
                skipLine_ = true;  // the unfinished last line is not the header
                return NeedMore(static_cast<std::size_t>(end - base));
            }
            return NeedMore(static_cast<std::size_t>(last - base));
        }
        if (!StartsLine(open, base)) {
            p = open + 1;  // a '[' inside a line
            continue;
        }
        // A quick look before the line rule: the wanted name starts right
        // after the '[' and its blanks.
        const char* name = SkipBlanks(open + 1, end);
        if (static_cast<std::size_t>(end - name) >= section_.size() &&
            !NamesMatch(std::string_view(name, section_.size()), section_)) {
            p = open + 1;
            continue;
        }
        const char* lineStart = BackOverBlanks(open, base);
        const char* lineEnd = FindBreak(open, end);
        if (lineEnd == end && !atEnd) {
            return NeedMore(static_cast<std::size_t>(lineStart - base));
        }
        p = lineEnd;
        const LineParts header =
            SplitLine(std::string_view(lineStart, static_cast<std::size_t>(lineEnd - lineStart)));
        if (NamesMatch(header.name, section_)) {
            inSection_ = true;
            return Status::kNeedMore;  // not looked at: the caller goes on in the section
        }
    }
}

bool ValueScanner::MayStartKey(char c) const {
    return key_.empty() ? c == '=' || c == '\0' : FoldAscii(c) == FoldAscii(key_.front());
}

ValueScanner::Status ValueScanner::ScanSection(const char* base, const char* p, const char* end,
                                               bool atEnd) {
    if (!anchorChosen_) {
        anchor_ = key_.size() <= 2 ? 0 : RarestPair(key_, p, end);
        anchorChosen_ = true;
    }
    SectionLines lines(key_, anchor_, base, end);
    for (;;) {
        const char* first = lines.Next(p);
        if (first == end) {
            if (atEnd) {
                return Status::kAbsent;
            }
            const char* last = LastLineStart(base, end);
            const char* lastFirst = SkipBlanks(last, end);
            if (lastFirst < end && *lastFirst != '[' && !MayStartKey(*lastFirst)) {
                skipLine_ = true;
                return NeedMore(static_cast<std::size_t>(end - base));
            }
            return NeedMore(static_cast<std::size_t>(last - base));
        }
        const char* lineEnd = FindBreak(first, end);
        const Status status = CheckLine(base, BackOverBlanks(first, base), lineEnd, end, atEnd);
        if (status != kNextLine) {
            return status;
        }
        p = lineEnd;
    }
}

ValueScanner::Status ValueScanner::CheckLine(const char* base, const char* lineStart,
                                             const char* lineEnd, const char* end, bool atEnd) {
    const bool complete = lineEnd < end || atEnd;
    const LineParts line =
        SplitLine(std::string_view(lineStart, static_cast<std::size_t>(lineEnd - lineStart)));
    switch (line.kind) {
        case LineParts::Kind::kHeader:
            return Status::kAbsent;  // the first matching section has ended
        case LineParts::Kind::kBlank:
        case LineParts::Kind::kNoKey:
            // A '=' may still come on the rest of the line.
            return complete ? kNextLine : NeedMore(static_cast<std::size_t>(lineStart - base));
        case LineParts::Kind::kComment:
        case LineParts::Kind::kKey:
            break;
    }
    if (line.kind == LineParts::Kind::kComment || !NamesMatch(line.name, key_)) {
        if (complete) {
            return kNextLine;
        }
        skipLine_ = true;  // whatever follows on this line cannot matter
        return NeedMore(static_cast<std::size_t>(end - base));
    }
    if (!complete) {
        return NeedMore(static_cast<std::size_t>(lineStart - base));
    }
    value_ = line.value;
    return Status::kFound;
}

std::string ReadValue(std::string_view text, std::string_view section, std::string_view key) {
    section = TrimArgument(section);
    key = TrimArgument(key);
    if (!IsWritableName(section) || !IsWritableName(key)) {
        return {};  // no line of a file can hold such a name
    }
    const std::string followed = std::string(text) + std::string(key);  // see Scan
    ValueScanner scanner(section, key);
    if (scanner.Scan(std::string_view(followed).substr(0, text.size()), true) !=
        ValueScanner::Status::kFound) {
        return {};
    }
    return std::string(CutValue(scanner.value()));
}

}  // namespace launcher::ini
