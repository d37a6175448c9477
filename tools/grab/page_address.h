// What a PAGE on grab's command line may be: a file, or an http(s) URL, and nothing that only looks like one.
#pragma once

#include <optional>
#include <string>

namespace ph::grab {

// Why grab refuses the page, with a hint, when it is neither a file that exists nor a URL grab
// reads: a misspelt scheme ("htp://"), one grab does not read ("ftp://"), or a host and port
// without a scheme ("example.org:8080/news") would otherwise be taken for a file name.
std::optional<std::string> PageAddressMistake(const std::string& page);

}  // namespace ph::grab
