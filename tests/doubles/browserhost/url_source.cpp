#include "url_source.h"

#include <winsock2.h>
#include <windows.h>

#include <fstream>
#include <iterator>

namespace host {

namespace {

std::string servedFolder = ".";

std::optional<std::string> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<std::string> fetchFromFolder(std::string url) {
  url = url.substr(0, url.find('?'));
  std::string name = url.substr(url.rfind('/') == std::string::npos ? 0 : url.rfind('/') + 1);
  if (name.empty() || name.find_first_of("\\:") != std::string::npos || name == "..") return std::nullopt;
  return readFile(servedFolder + "\\" + name);
}

// HTTP/1.0 GET to 127.0.0.1:port; the body of a 200 answer.
std::optional<std::string> fetchOverHttp(const std::string& url) {
  constexpr char kPrefix[] = "http://127.0.0.1:";
  std::string rest = url.substr(sizeof kPrefix - 1);
  std::size_t slash = rest.find('/');
  int port = atoi(rest.substr(0, slash).c_str());
  std::string path = slash == std::string::npos ? "/" : rest.substr(slash);

  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return std::nullopt;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::optional<std::string> body;
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    std::string request = "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    send(s, request.data(), static_cast<int>(request.size()), 0);
    std::string answer;
    char buffer[4096];
    int got = 0;
    while ((got = recv(s, buffer, sizeof buffer, 0)) > 0) answer.append(buffer, got);
    std::size_t headerEnd = answer.find("\r\n\r\n");
    if (answer.compare(0, 5, "HTTP/") == 0 && answer.compare(8, 5, " 200 ") == 0 &&
        headerEnd != std::string::npos) {
      body = answer.substr(headerEnd + 4);
    }
  }
  closesocket(s);
  return body;
}

}  // namespace

void setServedFolder(const std::string& folder) { servedFolder = folder; }

std::optional<std::string> fetchUrl(const std::string& url) {
  if (url.rfind("http://127.0.0.1:", 0) == 0) return fetchOverHttp(url);
  return fetchFromFolder(url);
}

}  // namespace host
