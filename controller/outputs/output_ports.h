// Everything the writers reach outside themselves: settings, the platform ports and the user.
#pragma once

#include <iosfwd>

#include "common/settings_record.h"

namespace ph {

class ClipboardPort;
class Clock;
class CodePage;
class Fetcher;
class FileSystem;
class UrlPort;
class UserPort;
class XmlPort;

struct OutputPorts {
  const SettingsRecord& settings;
  FileSystem& files;
  UrlPort& urls;
  Fetcher& fetcher;
  ClipboardPort& clipboard;
  XmlPort& xml;
  Clock& clock;
  UserPort& user;
  const CodePage& code_page;
  // Where the markup scanner reports malformed markup: the process's standard output.
  std::ostream& diagnostics;
};

}  // namespace ph
