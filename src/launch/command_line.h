#pragma once

#include <string>
#include <string_view>

namespace morvane::launch {

// The run page's texts that make up a miner start line, taken as the fields show them.
struct StartLineParts {
    std::string windowTitle;       // "Window Title"
    std::string miner;             // "Miner"
    std::string params;            // "Miner Params (optional)"
    bool paramsAfterMiner = true;  // "After Miner" checked, else "At the end"
    bool usePool = false;          // the pool form: the caller decides when it applies
    std::string poolUrl;           // "Pool URL"
    std::string poolPort;          // "Port", joined to the URL as it stands
    std::string wallet;            // "Wallet"
    std::string rigNameFormat;     // "Rig Name Format (optional)"
};

// What runs inside the miner window's quotes, with `instance` ending the rig name:
//   pool form:  miner + P + URL + port + " " + wallet + rig name + E
//   plain form: miner + P + E
// where P is " " + params + " " and E empty when the params go after the miner, P is " " and E
// is " " + params otherwise, and the rig name is empty when the window title is, else the
// rig-name format + `instance`. Nothing is quoted, trimmed or escaped.
std::string minerCommand(const StartLineParts& parts, std::string_view instance);

// "START " + Q + title + instance + Q + starter + Q + minerCommand(parts, instance) + Q, Q being
// one double quote. `starter` is what stands between the window title and the command, such as
// " CMD /C " or " /WAIT CMD /C ".
std::string startLine(const StartLineParts& parts, std::string_view instance,
                      std::string_view starter);

// The single-window start line, numbered by the script variable i:
//   START "<title>%i%" CMD /C "<minerCommand(parts, "%i%")>"
// The run page's preview shows this line.
std::string directStartLine(const StartLineParts& parts);

}  // namespace morvane::launch
