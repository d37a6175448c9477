// The host of a page, as layouts are grouped and data files name it, and the band's own data files.
#pragma once

#include "band/engine/document.h"

namespace ph {

class CodePage;
class FileSystem;
class UrlPort;

// Hosts are compared byte for byte later, so their case is kept. A URL without a host (or no URL)
// gives the empty host, the same for every such document. A longer host is cut to kMaxHostLength
// bytes, never inside a character.
inline constexpr std::size_t kMaxHostLength = 255;
std::string HostOfDocument(Document& document, UrlPort& urls, const CodePage& code_page);

// The full path of a file in the folder that holds the band library.
std::string ModuleFilePath(FileSystem& files, std::string_view name);

}  // namespace ph
