// The writer of HTML files, with their pictures and style sheets captured beside them.
#include "controller/outputs/html_file_writer.h"

#include <cerrno>
#include <cstring>
#include <sstream>

#include "controller/outputs/file_output.h"
#include "controller/outputs/linked_file_capture.h"
#include "controller/outputs/output_naming.h"
#include "controller/outputs/output_ports.h"
#include "controller/outputs/text_file_writer.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/user.h"

namespace ph {
namespace {

// The file holds the content's bytes as they are, so it declares the code page they are in.
std::string CharsetMeta(const CodePage& code_page) {
  return "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + code_page.Charset() + "\">";
}

// The page is saved; the user learns which of its pictures and style sheets it lacks, so that a
// download that failed is not taken for a page kept whole.
Message MissingFilesMessage(const std::vector<std::string>& urls) {
  constexpr std::size_t kListed = 10;
  std::string text = "The page was saved, but " + std::to_string(urls.size()) +
                     (urls.size() == 1 ? " picture or style sheet" : " pictures or style sheets") +
                     " could not be downloaded:";
  for (std::size_t i = 0; i < urls.size() && i < kListed; ++i) text += kLineBreak + urls[i];
  if (urls.size() > kListed) text += std::string(kLineBreak) + "and " + std::to_string(urls.size() - kListed) + " more";
  return {text, "Error", MessageIcon::kWarning, MessageButtons::kOk};
}

}  // namespace

int WriteHtmlFile(const OutputContext& context, OutputPorts& ports) {
  // A folder that is not there is not made, for a page with pictures (whose copies would make it on
  // their way) no more than for one without: the file cannot be opened.
  const std::string folder = FolderOfPath(context.path);
  if (folder != context.path && !folder.empty() && !ports.files.Exists(folder)) {
    ReportOpenFailure(ports, context.path, std::strerror(ENOENT));
    return 0;
  }
  // The page is made whole first and replaces the file in one step, so that a failure leaves no
  // part of a page behind.
  std::ostringstream o;
  if (context.portion == kPortionText) {
    o << "<pre>" << kLineBreak << context.text << kLineBreak << "</pre>" << kLineBreak;
    return SaveFileBytes(ports, context.path, o.str(), false);
  }
  LinkedFileCapture capture(ports, context.url, context.path);
  // The charset first, before any text a browser would have to guess at.
  o << "<html>" << kLineBreak << "<head>" << kLineBreak << CharsetMeta(ports.code_page) << kLineBreak << "<title>"
    << context.title << "</title>" << kLineBreak;
  capture.Write(context.style, o);
  o << "</head>" << kLineBreak << "<body>" << kLineBreak;
  if (ports.settings.datetime_url) {
    const LocalTime now = ports.clock.Now();
    o << "date: " << DateText(now) << "<br>" << kLineBreak << "time: " << TimeText(now) << "<br>" << kLineBreak
      << "url: " << context.url << "<br>" << kLineBreak << kLineBreak;
  }
  capture.Write(context.html, o);
  o << "</body>" << kLineBreak << "</html>" << kLineBreak;
  if (!SaveFileBytes(ports, context.path, o.str(), false)) return 0;
  if (!capture.failed().empty()) ports.user.Show(MissingFilesMessage(capture.failed()));
  return 1;
}

}  // namespace ph
