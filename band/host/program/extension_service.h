// One connection from the extension, served with the band's engine, data files and controller link.
#pragma once

namespace ph::host {

// Reads the extension's command from standard input and carries it out on the tab's page; the
// selections go to the controller. The exit status: 0 when the command ran, 1 when it was not
// understood.
int ServeExtension();

}  // namespace ph::host
