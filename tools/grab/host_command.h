// grab host: the extension's native host on Linux, its save panel, and its registration with the browsers.
#pragma once

#include <iosfwd>
#include <optional>

#include "band/host/native_channel.h"
#include "controller/intake/intake_item.h"
#include "tools/grab/options.h"

namespace ph::grab {

// The save dialog's answer from the panel the extension shows in the user's page; nothing when the
// user cancels or the page is gone.
std::optional<DialogAnswer> AskSavePanel(host::NativeChannel& channel, const IntakeItem& item,
                                         const std::string& suggested_name);

// grab host --install: a launcher that starts grab with the options given (the data folder and the
// answer), and the host manifests of Chromium, Chrome, Edge and Firefox that name it, in the user's folders.
// Prints where they went and how to load the extension. 0 when everything was written.
int InstallHost(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace ph::grab
