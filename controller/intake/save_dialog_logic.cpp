// What the save dialog's buttons do.
#include "controller/intake/save_dialog_logic.h"

#include "common/settings_record.h"
#include "platform/file_system.h"
#include "platform/user.h"

namespace ph {
namespace {

struct FileKindInfo {
  const char* default_ext;
  const char* filter;
};

FileKindInfo InfoOf(std::int32_t kind) {
  switch (kind) {
    case kOutputXml: return {"xml", "XML Files (*.xml)|*.xml||"};
    case kOutputHtml: return {"htm", "HTML Files (*.htm;*.html)|*.htm; *.html||"};
    default: return {"txt", "Text Files (*.txt)|*.txt||"};
  }
}

// The folder kept for a chosen file: everything before its last separator, or the whole path.
std::string FolderOfChosenPath(const std::string& path) {
  const std::size_t cut = path.rfind(kPathSeparator);
  return cut == std::string::npos ? path : path.substr(0, cut);
}

}  // namespace

OutputContext ContextFromItem(const IntakeItem& item, std::int32_t portion) {
  OutputContext context;
  context.text = item.text;
  context.html = item.html;
  context.url = item.url;
  context.title = item.title;
  context.style = item.style;
  context.portion = portion;
  return context;
}

std::int32_t PortionOfListIndex(int index) {
  switch (index) {
    case 1: return kPortionText;
    case 2: return kPortionHtml;
    default: return kPortionAuto;
  }
}

SaveDialogLogic::SaveDialogLogic(const IntakeItem& item, LayoutAction* action,
                                 const OutputServices& services, UserPort& user)
    : item_(item), action_(action), services_(services), user_(user) {}

bool SaveDialogLogic::InitialAppend() const { return services_.settings.append_files != 0; }

int SaveDialogLogic::SaveToFile(std::int32_t kind, int list_index, bool append_checked) {
  const FileKindInfo info = InfoOf(kind);
  OutputContext context = ContextFromItem(item_, kPortionAuto);

  FileChoice choice;
  choice.save = true;
  choice.filter = info.filter;
  choice.default_ext = info.default_ext;
  choice.initial_name = services_.suggest_name(context);
  // HTML files are never appended to, so overwriting one is always asked about.
  choice.overwrite_prompt = kind == kOutputHtml || !append_checked;

  std::string path;
  if (!user_.ChooseFile(choice, &path)) return kSaveCancelled;

  if (kind != kOutputHtml) services_.settings.append_files = append_checked ? 1 : 0;
  context.portion = PortionOfListIndex(list_index);
  context.path = path;
  // Once the user has confirmed, the choice is kept whatever the writer reports: the writer has
  // told the user about its own failure.
  services_.writers.Write(kind, context);
  action_->kind = kind;
  action_->portion = context.portion;
  action_->folder = FolderOfChosenPath(path);
  return kSaveDone;
}

int SaveDialogLogic::SaveOther(std::int32_t kind, int list_index) {
  const OutputContext context = ContextFromItem(item_, PortionOfListIndex(list_index));
  services_.writers.Write(kind, context);
  action_->kind = kind;
  action_->portion = context.portion;
  action_->folder.clear();
  return kSaveDone;
}

}  // namespace ph
