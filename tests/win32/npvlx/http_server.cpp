#include "http_server.h"

#include <fstream>
#include <iterator>

namespace npvlx_test {

HttpServer::HttpServer(std::string folder) : folder_(std::move(folder)) {
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listener_, 16);
  int size = sizeof address;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
  port_ = ntohs(address.sin_port);
  thread_.reset(CreateThread(nullptr, 0, serveThread, this, 0, nullptr));
}

HttpServer::~HttpServer() {
  closesocket(listener_);  // ends accept() and so the thread
  WaitForSingleObject(thread_.get(), 5000);
}

std::string HttpServer::baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

std::vector<std::string> HttpServer::requests() {
  win::LockHolder hold(lock_);
  return requests_;
}

DWORD WINAPI HttpServer::serveThread(void* self) {
  auto* server = static_cast<HttpServer*>(self);
  while (true) {
    SOCKET client = accept(server->listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return 0;
    server->serveOne(client);
    closesocket(client);
  }
}

void HttpServer::serveOne(SOCKET client) {
  std::string request;
  char buffer[2048];
  while (request.find("\r\n\r\n") == std::string::npos) {
    int got = recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) return;
    request.append(buffer, got);
  }
  std::string line = request.substr(0, request.find("\r\n"));
  {
    win::LockHolder hold(lock_);
    requests_.push_back(line);
  }
  // "GET /path?query HTTP/1.0"
  std::string path = line.substr(4, line.rfind(' ') - 4);
  path = path.substr(0, path.find('?'));
  std::string name = path.substr(path.rfind('/') + 1);
  std::ifstream in(folder_ + "\\" + name, std::ios::binary);
  std::string answer;
  if (name.empty() || name.find_first_of("\\:") != std::string::npos || !in) {
    answer = "HTTP/1.0 404 Not Found\r\n\r\n";
  } else {
    std::string body((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    answer = "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
  }
  send(client, answer.data(), static_cast<int>(answer.size()), 0);
}

}  // namespace npvlx_test
