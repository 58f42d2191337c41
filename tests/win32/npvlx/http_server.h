// A loopback HTTP server on a thread of the test: serves the files of one
// folder by the last part of the request path and keeps every request line.
#pragma once

// The test framework brings windows.h in first, and with it Windows
// Sockets 1.1, which is all this server needs.
#include <windows.h>
#include <winsock.h>

#include <string>
#include <vector>

#include "common/win32/handles.h"

namespace npvlx_test {

class HttpServer {
 public:
  explicit HttpServer(std::string folder);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // "http://127.0.0.1:PORT/"
  std::string baseUrl() const;
  std::vector<std::string> requests();

 private:
  static DWORD WINAPI serveThread(void* self);
  void serveOne(SOCKET client);

  std::string folder_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  win::UniqueHandle thread_;
  win::Lock lock_;
  std::vector<std::string> requests_;
};

}  // namespace npvlx_test
