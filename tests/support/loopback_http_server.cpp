// A small HTTP server on 127.0.0.1 that serves fixed responses to download tests.
#include "tests/support/loopback_http_server.h"

#include <chrono>

namespace ph::test {
namespace {

constexpr int kPollMs = 50;

std::string StatusLine(int status) {
  const char* reason = status == 200 ? "OK" : status == 404 ? "Not Found" : "Status";
  return "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n";
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer() {
  listener_ = UniqueSocket(ListenOnLoopback(&port_));
  if (listener_) acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  stopping_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  for (std::thread& t : workers_) t.join();
}

std::string LoopbackHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackHttpServer::Serve(const std::string& path, HttpResponse response) {
  std::lock_guard<std::mutex> lock(mutex_);
  responses_[path] = std::move(response);
}

void LoopbackHttpServer::ServeOtherwise(HttpResponse response) {
  std::lock_guard<std::mutex> lock(mutex_);
  fallback_ = std::move(response);
}

std::vector<std::string> LoopbackHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void LoopbackHttpServer::AcceptLoop() {
  while (!stopping_) {
    const Socket s = AcceptWithin(listener_.get(), kPollMs);
    if (s != kNoSocket) workers_.emplace_back([this, s] { Answer(s); });
  }
}

void LoopbackHttpServer::Answer(Socket s) {
  const UniqueSocket connection(s);
  std::string request;
  char buffer[4096];
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (request.find("\r\n\r\n") == std::string::npos && !stopping_ && std::chrono::steady_clock::now() < deadline) {
    const int n = ReceiveWithin(s, buffer, sizeof buffer, kPollMs);
    if (n == 0) break;
    if (n > 0) request.append(buffer, static_cast<std::size_t>(n));
  }
  // "GET /target HTTP/1.1"
  const std::size_t first = request.find(' ');
  const std::size_t second = first == std::string::npos ? first : request.find(' ', first + 1);
  if (second == std::string::npos) return;
  const std::string target = request.substr(first + 1, second - first - 1);
  HttpResponse response;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(target);
    const auto it = responses_.find(target);
    response = it != responses_.end() ? it->second : fallback_;
  }
  std::string head =
      StatusLine(response.status) + "Content-Type: " + response.content_type + "\r\nConnection: close\r\n";
  if (!response.raw.empty()) {
    SendAll(s, response.raw);
  } else if (response.never_ends) {
    SendAll(s, head + "\r\n");  // no length: the body would end when the connection does
    while (!stopping_ && SendAll(s, "x")) std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
  } else {
    const std::size_t length = response.body.size() * (response.cut_short ? 2 : 1);
    SendAll(s, head + "Content-Length: " + std::to_string(length) + "\r\n\r\n" + response.body);
  }
}

}  // namespace ph::test
