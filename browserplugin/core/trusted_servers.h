// The servers whose answers may install or launch components: the list in
// the Kebo key's "Servers" value, entries separated by ";", each a server
// written as "scheme://host" or "scheme://host:port" ("*" trusts any page,
// for a deliberately open set-up).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kebo {

struct Server {
  std::string scheme;  // lower case
  std::string host;    // lower case, without user name or password
  std::string port;    // empty for the scheme's usual port
  bool operator==(const Server&) const = default;
};

// The server of an absolute URL ("scheme://[user@]host[:port]..."); nothing
// for a relative URL or one whose host or port cannot be read.
std::optional<Server> serverOf(std::string_view url);

// "scheme://host" or "scheme://host:port".
std::string serverText(const Server& server);

// True when url is on one of the servers of the list, or the list holds "*".
// A relative URL is on no server.
bool isOnTrustedServer(std::string_view url, std::string_view servers);

}  // namespace kebo
