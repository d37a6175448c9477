// The one argument of every writer, the kinds of output and the portions of content.
#pragma once

#include "common/base.h"

namespace ph {

// The codes stored in actions.dat and chosen in the save dialog.
enum OutputKind : std::int32_t {
  kOutputText = 0,
  kOutputXml = 1,
  kOutputHtml = 2,
  kOutputClipboard = 3,
  kOutputDatabase = 4,
};

enum Portion : std::int32_t {
  kPortionAuto = 0,
  kPortionHtml = 1,
  kPortionText = 2,
};

struct OutputContext {
  std::string text;   // selection text
  std::string html;   // selection HTML
  std::string url;    // page URL
  std::string title;  // page title
  std::string style;  // page style markup
  std::string path;   // full path of the output file (file kinds only)
  std::int32_t portion = kPortionAuto;
};

// The five writers behind one call: nonzero when the content was saved, 0 when it was not.
// Each writer shows its own messages through the user port.
class Writers {
 public:
  virtual ~Writers() = default;
  virtual int Write(std::int32_t kind, const OutputContext& context) = 0;
};

}  // namespace ph
