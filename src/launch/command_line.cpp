#include "launch/command_line.h"

namespace morvane::launch {

std::string minerCommand(const StartLineParts& parts, std::string_view instance) {
    const std::string afterMiner = parts.paramsAfterMiner ? " " + parts.params + " " : " ";
    const std::string atEnd = parts.paramsAfterMiner ? "" : " " + parts.params;
    std::string command = parts.miner + afterMiner;
    if (parts.usePool) {
        command += parts.poolUrl + parts.poolPort + " " + parts.wallet;
        // The window title, not the format, decides whether there is a rig name.
        if (!parts.windowTitle.empty()) command += parts.rigNameFormat + std::string(instance);
    }
    return command + atEnd;
}

std::string startLine(const StartLineParts& parts, std::string_view instance,
                      std::string_view starter) {
    return "START \"" + parts.windowTitle + std::string(instance) + "\"" + std::string(starter) +
           "\"" + minerCommand(parts, instance) + "\"";
}

std::string directStartLine(const StartLineParts& parts) {
    return startLine(parts, "%i%", " CMD /C ");
}

}  // namespace morvane::launch
