// Where the browser double finds what a URL names: a file of the served
// folder (by the URL's last part, without its query), or a loopback HTTP
// server for URLs that start with "http://127.0.0.1:".
#pragma once

#include <optional>
#include <string>

namespace host {

void setServedFolder(const std::string& folder);
std::optional<std::string> fetchUrl(const std::string& url);

}  // namespace host
