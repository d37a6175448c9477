// The writer of XML files that collect selections under "content_selections".
#include "controller/outputs/xml_file_writer.h"

#include <cerrno>
#include <cstring>

#include "controller/outputs/file_output.h"
#include "controller/outputs/output_naming.h"
#include "controller/outputs/output_ports.h"
#include "controller/outputs/xml_document.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/user.h"

namespace ph {
namespace {

void ShowError(OutputPorts& ports, const char* text) {
  ports.user.Show({text, "Error", MessageIcon::kError, MessageButtons::kOk});
}

// The indentation comes from passing the document through the identity style sheet; null when
// the transform failed.
std::unique_ptr<XmlDocument> Indented(XmlDocument& content, XmlPort& xml) {
  std::string sheet_text;
  if (!xml.IdentityStyleSheet(&sheet_text)) return nullptr;
  std::unique_ptr<XmlDocument> sheet = xml.CreateDocument();
  std::unique_ptr<XmlDocument> result = xml.CreateDocument();
  if (!sheet || !result || !sheet->LoadText(sheet_text)) return nullptr;
  if (!content.Transform(*sheet, *result)) return nullptr;
  return result;
}

// Saved beside the file and moved into its place, so that a save cut short leaves the old file
// (and every selection it held) whole.
int SaveInPlace(XmlDocument& document, OutputPorts& ports, const std::string& path) {
  errno = 0;
  if (!MayReplace(ports.files, path)) {
    ReportOpenFailure(ports, path, errno != 0 ? std::strerror(errno) : "");
    return 0;
  }
  const std::string temporary = TemporaryBeside(path);
  if (document.Save(temporary) && ports.files.MoveReplacing(temporary, path)) return 1;
  ports.files.RemoveFile(temporary);
  ReportWriteFailure(ports, path, std::string());
  return 0;
}

}  // namespace

int WriteXmlFile(const OutputContext& context, OutputPorts& ports) {
  std::unique_ptr<XmlDocument> doc = ports.xml.CreateDocument();
  if (!doc) {
    ShowError(ports, "Failed to create XML document object!");
    return 0;
  }
  if (ports.settings.append_files) doc->Load(context.path);

  std::unique_ptr<XmlElement> root = doc->DocumentElement();
  if (!root) {
    doc->AppendProcessingInstruction("xml", "version=\"1.0\"");
    root = doc->CreateElement("content_selections");
    if (!root) {
      ShowError(ports, "Failed to create root XML element");
      return 0;
    }
    doc->SetDocumentElement(*root);
  }

  std::unique_ptr<XmlElement> selection = doc->CreateElement("selection");
  if (!selection) {
    ShowError(ports, "failed to create xml element for content");
    return 0;
  }
  const LocalTime now = ports.clock.Now();
  const std::pair<const char*, std::string> fields[] = {
      {"date", DateText(now)}, {"time", TimeText(now)}, {"url", context.url}, {"data", ChosenContent(context)}};
  for (const auto& [name, value] : fields) {
    std::unique_ptr<XmlElement> field = doc->CreateElement(name);
    if (!field) continue;
    field->SetText(value);
    selection->AppendChild(*field);
  }
  root->AppendChild(*selection);

  std::unique_ptr<XmlDocument> indented = Indented(*doc, ports.xml);
  if (!indented) {
    ShowError(ports, "could not apply style to xml document");
    return 1;
  }
  return SaveInPlace(*indented, ports, context.path);
}

}  // namespace ph
