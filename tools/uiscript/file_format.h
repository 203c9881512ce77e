#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/file_platform.h"
#include "tools/uiscript/script.h"

namespace morvane::uiscript {

// The bytes of a block written in `format`: each line followed by the line end (the last one
// too unless nofinal), a BOM where the encoding has one, raw pieces copied as they are. ANSI
// and OEM go through `files`' code pages. Throws std::invalid_argument naming a character the code
// page lacks.
std::string encodeBlock(const std::vector<PieceText>& lines, const FileFormat& format,
                        const FilePlatform& files);

// A file's bytes read back in `format` for a report: its lines, each with the line end that
// closed it ("\r\n", "\n" or "\r"), a leading BOM of the encoding dropped.
std::vector<std::string> decodeLines(std::string_view bytes, const FileFormat& format,
                                     const FilePlatform& files);

// Why `actual` is not `expected` (both in `format`), in terms of lines where the lines differ.
std::string describeDifference(std::string_view expected, std::string_view actual,
                               const FileFormat& format, const FilePlatform& files);

}  // namespace morvane::uiscript
