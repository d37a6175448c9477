// A small HTTP server on 127.0.0.1 that serves fixed responses to download tests.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/loopback_socket.h"

namespace ph::test {

struct HttpResponse {
  int status = 200;
  std::string content_type = "application/octet-stream";
  std::string body;
  // Sends the headers and then a byte at a time, until the client goes away or the server stops.
  bool never_ends = false;
  // Promises twice the body's length and then closes the connection: a download cut off half way.
  bool cut_short = false;
  // Sends these bytes instead of any HTTP answer.
  std::string raw = {};
};

class LoopbackHttpServer {
 public:
  LoopbackHttpServer();
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  bool ok() const { return static_cast<bool>(listener_); }
  std::uint16_t port() const { return port_; }
  // http://127.0.0.1:port followed by the path (which starts with "/").
  std::string Url(const std::string& path) const;

  // Paths not served get the fallback response, 404 unless set.
  void Serve(const std::string& path, HttpResponse response);
  void ServeOtherwise(HttpResponse response);
  // The request targets received so far, in order.
  std::vector<std::string> Requests() const;

 private:
  void AcceptLoop();
  void Answer(Socket s);

  UniqueSocket listener_;  // closed after the threads that use it have ended
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::map<std::string, HttpResponse> responses_;
  HttpResponse fallback_{404, "text/plain", "not here"};
  std::vector<std::string> requests_;
  std::vector<std::thread> workers_;
  std::thread acceptor_;
};

}  // namespace ph::test
