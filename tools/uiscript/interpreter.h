#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tools/uiscript/backend.h"
#include "tools/uiscript/script.h"

namespace morvane::uiscript {

struct Outcome {
    bool passed = true;
    int line = 0;
    std::string source;  // the failing command
    std::string reason;
    std::vector<std::pair<std::string, std::string>> details;
};

// Plays a parsed scenario on `backend` until the first failing command; the program is
// stopped before it returns. Screenshots go to `screenshots`.
Outcome runScenario(const std::vector<Command>& commands, Backend& backend,
                    const std::filesystem::path& screenshots);

}  // namespace morvane::uiscript
