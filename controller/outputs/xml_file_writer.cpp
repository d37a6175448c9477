// The writer of XML files that collect selections under "content_selections".
#include "controller/outputs/xml_file_writer.h"

#include "controller/outputs/output_naming.h"
#include "controller/outputs/output_ports.h"
#include "controller/outputs/xml_document.h"
#include "platform/clock.h"
#include "platform/user.h"

namespace ph {
namespace {

void ShowError(OutputPorts& ports, const char* text) {
  ports.user.Show({text, "Error", MessageIcon::kError, MessageButtons::kOk});
}

// The indentation comes from passing the document through the identity style sheet.
bool SaveIndented(XmlDocument& content, XmlPort& xml, const std::string& path) {
  std::string sheet_text;
  if (!xml.IdentityStyleSheet(&sheet_text)) return false;
  std::unique_ptr<XmlDocument> sheet = xml.CreateDocument();
  std::unique_ptr<XmlDocument> result = xml.CreateDocument();
  if (!sheet || !result || !sheet->LoadText(sheet_text)) return false;
  if (!content.Transform(*sheet, *result)) return false;
  result->Save(path);
  return true;
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

  if (!SaveIndented(*doc, ports.xml, context.path)) ShowError(ports, "could not apply style to xml document");
  return 1;
}

}  // namespace ph
