#include "launch/launch_scripts.h"

#include <algorithm>
#include <stdexcept>

#include "store/text.h"

namespace morvane::launch {

namespace {

Script scriptIn(const std::string& folder, std::string name) {
    std::string path = folder + "\\" + name;
    return {std::move(name), std::move(path), {}};
}

std::string loopTitle(const LaunchInput& input) {
    if (input.parts.usePool) return input.poolConfiguration;
    if (input.useToken) return input.tokenConfiguration;
    return input.configuration;
}

void addBitstreamPart(const LaunchInput& input, std::vector<std::string>& lines) {
    if (!input.loadBitstream) {
        lines.emplace_back("echo NOT Loading Bitstreams");
        return;
    }
    lines.emplace_back("echo Loading Bitstreams");
    if (input.setVoltage) {
        lines.push_back(input.nextJTag + " -m -a --set_voltage=" + input.voltage + " -b " +
                        input.bitstream);
    } else {
        lines.push_back(input.nextJTag + " -m -a -b " + input.bitstream);
    }
}

std::vector<std::string> loopLines(const LaunchInput& input, int instance) {
    return {"@echo off",
            "echo Leave this window active. When the miner fails, it will be detected and "
            "relaunched from here.",
            "set z=0",
            "",
            ":Loop",
            startLine(input.parts, std::to_string(instance), " /WAIT CMD /C "),
            "",
            "set /a z+=1",
            "echo Number of Restarts = %z%",
            "goto loop"};
}

void addSingleWindowPart(const LaunchInput& input, std::vector<std::string>& lines) {
    const std::string first = input.useAllFpgas ? "1" : std::to_string(input.count);
    lines.insert(
        lines.end(),
        {"echo Start 1st Miner", "", "set i=" + first, ":loop1", "", directStartLine(input.parts),
         "", "set /a i+=1", "if !i!==" + std::to_string(input.count + 1) + " goto continue", "",
         "TIMEOUT /T " + std::to_string(input.delay), "echo Starting next Miner", "", "goto loop1",
         ":continue", "", "echo after", "", "exit /b 0"});
}

// A character as a message names it.
std::string shown(char32_t c) {
    if (c < 0x20 || c == 0x7F) {
        static const char* digits = "0123456789ABCDEF";
        return std::string("the control character U+00") + digits[c >> 4] + digits[c & 15];
    }
    std::string text = "\"";
    text::appendUtf8(text, c);
    return text + "\"";
}

// The first character of `text` that `refused` says no to, if any.
template <typename Refused>
std::optional<char32_t> firstRefused(std::string_view text, Refused refused) {
    for (size_t pos = 0; pos < text.size();) {
        const char32_t c = text::decodeUtf8(text, pos);
        if (refused(c)) return c;
    }
    return std::nullopt;
}

bool barredFromFileNames(char32_t c) {
    return c < 0x20 || std::u32string_view(U"\\/:*?\"<>|").find(c) != std::u32string_view::npos;
}

// Where a text of the scripts comes from, as a message names it.
struct Source {
    std::string what;    // "The field \"Miner\""
    std::string text;    // what it holds
    std::string change;  // what to do about it
};

std::string titleKind(const LaunchInput& input, const std::string& title) {
    if (input.parts.usePool && title == input.poolConfiguration) return "pool configuration title";
    if (input.useToken && title == input.tokenConfiguration) return "token configuration title";
    return "configuration title";
}

std::optional<std::string> fileNameRefusal(const LaunchInput& input, const Script& script,
                                           const std::vector<std::string>& titles) {
    const auto c = firstRefused(script.name, barredFromFileNames);
    if (!c) return std::nullopt;
    std::string holder = "The script file name";
    for (const std::string& title : titles) {
        if (firstRefused(title, [&](char32_t each) { return each == *c; })) {
            holder = "The " + titleKind(input, title) + " \"" + title + "\"";
            break;
        }
    }
    return holder + " holds " + shown(*c) + ", which a file name cannot hold, so the script \"" +
           script.name + "\" cannot be created. Change the title and launch again.";
}

std::vector<Source> sourcesOf(const LaunchInput& input) {
    const auto field = [](const char* label, const std::string& text) {
        return Source{std::string("The field \"") + label + "\"", text,
                      "Change the field and launch again."};
    };
    const std::string title = loopTitle(input);
    return {field("Window Title", input.parts.windowTitle),
            field("Miner", input.parts.miner),
            field("Miner Params (optional)", input.parts.params),
            field("Pool URL", input.parts.poolUrl),
            field("Port", input.parts.poolPort),
            field("Wallet", input.parts.wallet),
            field("Rig Name Format (optional)", input.parts.rigNameFormat),
            field("NextJTag (optional)", input.nextJTag),
            field("Bitstream", input.bitstream),
            {"The voltage beside \"Set Voltage?\"", input.voltage,
             "Change the voltage and launch again."},
            {"The " + titleKind(input, title) + " \"" + title + "\"", title,
             "Change the title and launch again."},
            {"The program's folder \"" + input.folder + "\"", input.folder,
             "Move the program to another folder and launch again."}};
}

std::optional<std::string> codePageRefusal(const LaunchInput& input, const Script& script,
                                           const FilePlatform& codePage) {
    std::string bytes;
    for (const std::string& line : script.lines) {
        if (codePage.utf8ToOem(line, bytes)) continue;
        const auto c = firstRefused(line, [&](char32_t each) {
            std::string one;
            text::appendUtf8(one, each);
            return !codePage.utf8ToOem(one, bytes);
        });
        if (!c) continue;
        const std::string because =
            " holds " + shown(*c) +
            ", which the command scripts cannot hold: cmd.exe reads them in the OEM code page, "
            "which lacks it. ";
        for (const Source& source : sourcesOf(input)) {
            if (source.text.empty() || line.find(source.text) == std::string::npos) continue;
            if (firstRefused(source.text, [&](char32_t each) { return each == *c; })) {
                return source.what + because + source.change;
            }
        }
        return "The line \"" + line + "\" of the script \"" + script.name + "\"" + because +
               "Change the text it comes from and launch again.";
    }
    return std::nullopt;
}

}  // namespace

LaunchScripts composeLaunch(const LaunchInput& input) {
    LaunchScripts scripts;
    scripts.master = scriptIn(
        input.folder,
        input.configuration +
            (input.parts.usePool ? " - " + input.poolConfiguration : " - No Pool or Token File") +
            ".cmd");
    std::vector<std::string>& master = scripts.master.lines;
    master = {"@echo off", "setlocal enabledelayedexpansion", ""};
    addBitstreamPart(input, master);
    master.emplace_back("");
    scripts.headLines = master.size();

    if (!input.separateInstances) {
        addSingleWindowPart(input, master);
        return scripts;
    }
    for (int k = 1; k <= input.count; ++k) {
        const int instance = input.offset + k;
        Script loop =
            scriptIn(input.folder, loopTitle(input) + "-" + std::to_string(instance) + ".cmd");
        loop.lines = loopLines(input, instance);
        master.push_back("START \"" + loop.name + "\" /MIN CMD /C \"" + loop.path + "\"");
        master.push_back("TIMEOUT /T " + std::to_string(input.delay));
        scripts.loops.push_back(std::move(loop));
    }
    return scripts;
}

std::optional<std::string> launchRefusal(const LaunchInput& input, const LaunchScripts& scripts,
                                         const FilePlatform& codePage) {
    std::vector<std::string> masterTitles = {input.configuration};
    if (input.parts.usePool) masterTitles.push_back(input.poolConfiguration);
    if (auto refusal = fileNameRefusal(input, scripts.master, masterTitles)) return refusal;
    for (const Script& loop : scripts.loops) {
        if (auto refusal = fileNameRefusal(input, loop, {loopTitle(input)})) return refusal;
    }

    if (!input.separateInstances && input.useAllFpgas && input.count < 1) {
        return "\"Num FPGAs\" is " + std::to_string(input.count) +
               ", but \"Use All FPGAs\" starts the instances 1 to \"Num FPGAs\", so the script "
               "would never stop starting miners. Set \"Num FPGAs\" to 1 or more, or choose \"Use "
               "1 FPGA\", and launch again.";
    }

    if (auto refusal = codePageRefusal(input, scripts.master, codePage)) return refusal;
    for (const Script& loop : scripts.loops) {
        if (auto refusal = codePageRefusal(input, loop, codePage)) return refusal;
    }
    return std::nullopt;
}

std::string scriptBytes(const Script& script, const FilePlatform& codePage, size_t lines) {
    std::string text;
    for (size_t i = 0; i < std::min(lines, script.lines.size()); ++i) {
        text += script.lines[i];
        text += "\r\n";
    }
    std::string bytes;
    if (!codePage.utf8ToOem(text, bytes)) {
        throw std::runtime_error("The script \"" + script.path +
                                 "\" holds a character the OEM code page lacks.");
    }
    return bytes;
}

}  // namespace morvane::launch
