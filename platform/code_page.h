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
  // The code page's name as files declare their encoding ("utf-8", "windows-1252").
  virtual std::string Charset() const = 0;
};

// Windows-1252 worked out by table: the same bytes on every platform.
class Windows1252 : public CodePage {
 public:
  std::string ToAnsi(WideView text) const override;
  WideString FromAnsi(std::string_view text) const override;
  std::string Charset() const override { return "windows-1252"; }
};

// UTF-8: every character survives, so nothing is precomposed or replaced (a lone surrogate, which
// is no character, becomes U+FFFD). The code page of grab, of the controller on Windows 10 1903
// and later (its manifest asks for it), and of the band's data files whatever process loads it.
class Utf8CodePage : public CodePage {
 public:
  std::string ToAnsi(WideView text) const override;
  WideString FromAnsi(std::string_view text) const override;
  std::string Charset() const override { return "utf-8"; }
};

// The system's ANSI code page: CP_ACP on Windows, which the program's manifest makes UTF-8 where
// Windows honours it; UTF-8 natively, as Linux text is.
std::unique_ptr<CodePage> MakeSystemCodePage();

}  // namespace ph
