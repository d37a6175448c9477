// Wiring the parts of a run of grab together.
#include "tools/grab/grab_parts.h"

#include "common/data_file_names.h"
#include "platform/fetch.h"

namespace ph::grab {
namespace {

FetchLimits DownloadLimits(const Options& options) {
  FetchLimits limits;
  limits.parallel = options.jobs;
  return limits;
}

}  // namespace

GrabParts::GrabParts(const Options& o, const std::string& data_folder, std::ostream& out_stream, std::ostream& err_stream)
    : options(o),
      out(out_stream),
      err(err_stream),
      code_page(MakeSystemCodePage()),
      files(MakeSystemFileSystem(data_folder)),
      urls(MakeSystemUrlPort()),
      settings_file(*files, o.settings, err_stream),
      user(err_stream),
      messages(user),
      clipboard(new X11Clipboard()),
      outputs(settings, *files, user, *code_page, std::unique_ptr<ClipboardPort>(clipboard), false,
              MakeSystemFetcher(DownloadLimits(o))),
      writers(outputs.writers(), user, settings),
      dialog(o.answer, OutputServices{writers, outputs.suggest_name(), settings}, writers, user),
      intake(OutputServices{writers, outputs.suggest_name(), settings}, *files, dialog, user, *code_page,
             ModuleFolderFile(*files, kActionsFileName)),
      link(intake),
      engine(EnginePorts{browser, toolbar, routed_events, timers, messages, link, registry, *files, *urls, *code_page}),
      loader(outputs.fetcher(), *urls) {
  loader.SkipFrames(!o.frames);
  dialog.KnowActions(intake.actions());
  // Nobody is there to answer a save dialog about a name that is taken.
  intake.set_number_taken_names(true);
}

void GrabParts::LoadStores() {
  settings_file.Load(registry, &settings);
  engine.set_relocation_mode(options.relocate_by_paths ? RelocationMode::kPaths : RelocationMode::kSmart);
  engine.set_auto_selection_mode(options.auto_cells ? AutoSelectionMode::kCells : AutoSelectionMode::kArticle);
  engine.LoadStores();
  intake.LoadActions();
}

bool GrabParts::OpenPage(PageLoader::Pending& pending, std::string* error) {
  auto document = loader.Finish(pending, error);
  if (!document) return false;
  browser.Set(document);
  engine.OnDocumentComplete();
  return true;
}

void GrabParts::ResetRecords() {
  writers.Reset();
  dialog.Reset();
  link.Reset();
}

}  // namespace ph::grab
