#include "trusted_servers.h"

namespace kebo {

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowered(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = lower(c);
  return result;
}

bool isSchemeCharacter(char c, bool first) {
  bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  return letter || (!first && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
}

bool allDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The usual port of a scheme is the same server as no port at all.
std::string effectivePort(const std::string& scheme, std::string_view port) {
  while (port.size() > 1 && port.front() == '0') port.remove_prefix(1);
  if ((scheme == "http" && port == "80") || (scheme == "https" && port == "443")) return {};
  return std::string(port);
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<Server> serverOf(std::string_view url) {
  size_t colon = url.find("://");
  if (colon == std::string_view::npos || colon == 0) return std::nullopt;
  for (size_t i = 0; i < colon; ++i) {
    if (!isSchemeCharacter(url[i], i == 0)) return std::nullopt;
  }
  Server server;
  server.scheme = lowered(url.substr(0, colon));
  // Browsers read a backslash as a slash: both end the server part.
  std::string_view authority = url.substr(colon + 3);
  authority = authority.substr(0, authority.find_first_of("/\\?#"));
  size_t at = authority.rfind('@');
  if (at != std::string_view::npos) authority.remove_prefix(at + 1);
  std::string_view port;
  size_t portColon = authority.rfind(':');
  size_t bracket = authority.rfind(']');
  if (portColon != std::string_view::npos && (bracket == std::string_view::npos || portColon > bracket)) {
    port = authority.substr(portColon + 1);
    authority = authority.substr(0, portColon);
  }
  if (authority.empty() || !allDigits(port)) return std::nullopt;
  server.host = lowered(authority);
  server.port = effectivePort(server.scheme, port);
  return server;
}

std::string serverText(const Server& server) {
  std::string text = server.scheme + "://" + server.host;
  if (!server.port.empty()) text += ":" + server.port;
  return text;
}

bool isOnTrustedServer(std::string_view url, std::string_view servers) {
  std::optional<Server> page = serverOf(url);
  while (true) {
    size_t end = servers.find(';');
    std::string_view entry = trimmed(servers.substr(0, end));
    if (entry == "*") return true;
    std::optional<Server> trusted = entry.empty() ? std::nullopt : serverOf(entry);
    if (page && trusted && *page == *trusted) return true;
    if (end == std::string_view::npos) return false;
    servers.remove_prefix(end + 1);
  }
}

}  // namespace kebo
