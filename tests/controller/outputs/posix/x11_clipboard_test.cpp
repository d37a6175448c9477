// The desktop clipboard's text/html: the document that an "HTML Format" block marks.
#include "controller/outputs/posix/x11_clipboard.h"

#include <gtest/gtest.h>

namespace ph {
namespace {

TEST(X11Clipboard, TheBlocksOffsetsChooseTheMarkup) {
  const std::string block =
      "Version:0.9\r\nStartHTML:00000097\r\nEndHTML:00000103\r\nStartFragment:00000097\r\n"
      "EndFragment:00000103\r\n<html>trailing";
  EXPECT_EQ(HtmlDocumentOfBlock(block), "<html>");
  EXPECT_EQ(HtmlDocumentOfBlock("no offsets"), "no offsets");
  EXPECT_EQ(HtmlDocumentOfBlock("StartHTML:5\r\nEndHTML:999\r\n"), "StartHTML:5\r\nEndHTML:999\r\n");
}

}  // namespace
}  // namespace ph
