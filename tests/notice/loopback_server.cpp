// loopback_server.cpp - a test's own HTTP server on 127.0.0.1 and a free port.
#include "tests/notice/loopback_server.h"

#include <ws2tcpip.h>

#include <stdexcept>

namespace sipo::test {
namespace {

bool Readable(SOCKET handle, milliseconds limit) {
  fd_set ready;
  FD_ZERO(&ready);
  FD_SET(handle, &ready);
  timeval timeout{static_cast<long>(limit.count() / 1000),
                  static_cast<long>(limit.count() % 1000 * 1000)};
  return select(0, &ready, nullptr, nullptr, &timeout) == 1;
}

SOCKET BoundSocket(std::uint16_t& port) {
  const SOCKET handle = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof(address);
  if (handle == INVALID_SOCKET ||
      bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("no loopback socket");
  }
  port = ntohs(address.sin_port);
  return handle;
}

// A connection attempt to the port on 127.0.0.1 that does not wait for its outcome.
SOCKET StartConnecting(std::uint16_t port) {
  const SOCKET handle = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  u_long nonBlocking = 1;
  ioctlsocket(handle, FIONBIO, &nonBlocking);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  connect(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  return handle;
}

// Winsock for the whole test program.
struct Winsock {
  Winsock() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
};

void NeedWinsock() {
  static Winsock winsock;
}

}  // namespace

void ServerConnection::ReadRequest(milliseconds limit) {
  char buffer[4096];
  while (received_.find("\r\n\r\n") == std::string::npos && Readable(handle_, limit)) {
    const int count = recv(handle_, buffer, sizeof(buffer), 0);
    if (count <= 0) return;
    received_.append(buffer, static_cast<std::size_t>(count));
  }
}

bool ServerConnection::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const int count = send(handle_, bytes.data(), static_cast<int>(bytes.size()), 0);
    if (count <= 0) return false;
    sent_ += static_cast<std::uint64_t>(count);
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

bool ServerConnection::ClientClosesWithin(milliseconds limit) {
  char buffer[4096];
  while (Readable(handle_, limit)) {
    const int count = recv(handle_, buffer, sizeof(buffer), 0);
    if (count <= 0) return true;
    received_.append(buffer, static_cast<std::size_t>(count));
  }
  return false;
}

LoopbackServer::LoopbackServer(Script script, int backlog) {
  NeedWinsock();
  listener_ = BoundSocket(port_);
  if (listen(listener_, backlog) != 0) throw std::runtime_error("cannot listen");
  thread_ = std::thread(&LoopbackServer::Run, this, std::move(script));
}

LoopbackServer::~LoopbackServer() {
  Finish();
  closesocket(listener_);
}

void LoopbackServer::Finish() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

// Accepts until told to stop; the first connection gets the script, later ones (a retry, a
// followed redirect) are only counted.
void LoopbackServer::Run(Script script) {
  while (!stop_) {
    if (!Readable(listener_, milliseconds(20))) continue;
    const SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    if (++connections_ == 1) {
      ServerConnection connection(client);
      script(connection);
      sent_ = connection.Sent();
      // Whatever the script saw, one last look tells whether the client has closed by now.
      clientClosed_ = connection.ClientClosesWithin(milliseconds(0));
      received_ = connection.Received();
    }
    closesocket(client);
  }
}

FullListener::FullListener() {
  NeedWinsock();
  listener_ = BoundSocket(port_);
  if (listen(listener_, 0) != 0) throw std::runtime_error("cannot listen");
  for (int i = 0; i < 3; ++i) fillers_.push_back(StartConnecting(port_));
}

FullListener::~FullListener() {
  for (SOCKET filler : fillers_) closesocket(filler);
  closesocket(listener_);
}

bool FullListener::LeavesAttemptsUnanswered() const {
  const SOCKET probe = StartConnecting(port_);
  fd_set done;
  fd_set failed;
  FD_ZERO(&done);
  FD_ZERO(&failed);
  FD_SET(probe, &done);
  FD_SET(probe, &failed);
  timeval timeout{0, 300 * 1000};
  const bool answered = select(0, nullptr, &done, &failed, &timeout) != 0;
  closesocket(probe);
  return !answered;
}

std::uint16_t RefusedPort() {
  NeedWinsock();
  std::uint16_t port = 0;
  closesocket(BoundSocket(port));
  return port;
}

}  // namespace sipo::test
