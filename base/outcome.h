// What came of an action whose failure the user is told about (starting a
// client, writing the ATIS file, opening a folder): success, or the message
// that says why not, complete and fit to show as it stands. Failures that
// stay silent by design (an INI write) are a [[nodiscard]] bool instead.
#pragma once

#include <string>
#include <utility>

#include "base/expect.h"

namespace launcher {

class [[nodiscard]] Outcome {
public:
    static Outcome Ok() { return Outcome(); }
    static Outcome Failed(std::string message) {
        LAUNCHER_EXPECT(!message.empty());
        Outcome failed;
        failed.message_ = std::move(message);
        return failed;
    }

    bool ok() const { return message_.empty(); }
    explicit operator bool() const { return ok(); }
    // Why it failed; empty on success.
    const std::string& message() const { return message_; }

    bool operator==(const Outcome&) const = default;

private:
    Outcome() = default;
    std::string message_;
};

}  // namespace launcher
