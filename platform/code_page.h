// The code-page port: UTF-16 to the system ANSI code page and back.
#pragma once

#include <memory>

#include "common/base.h"

namespace ph {

class CodePage {
 public:
  virtual ~CodePage() = default;

  // A base letter followed by a combining mark becomes the precomposed letter where the code page
  // has one; every unit it cannot represent becomes one space (no look-alike "best fit").
  virtual std::string ToAnsi(WideView text) const = 0;
  virtual WideString FromAnsi(std::string_view text) const = 0;
};

// Windows-1252 worked out by table: the same bytes on every platform.
class Windows1252 : public CodePage {
 public:
  std::string ToAnsi(WideView text) const override;
  WideString FromAnsi(std::string_view text) const override;
};

// The system's ANSI code page (CP_ACP on Windows, Windows-1252 natively).
std::unique_ptr<CodePage> MakeSystemCodePage();

}  // namespace ph
