// loopback_server.h - a test's own HTTP server on 127.0.0.1 and a free port: it answers the first
// connection by a script on a thread of its own, counts every connection, and records what the
// client sent and whether it closed.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace sipo::test {

using std::chrono::milliseconds;

// The server's side of one accepted connection.
class ServerConnection {
 public:
  explicit ServerConnection(SOCKET handle) : handle_(handle) {}

  // Reads until the empty line that ends a request; the bytes go to Received().
  void ReadRequest(milliseconds limit = milliseconds(5000));
  // Sends all bytes; false once the client is gone.
  bool Send(std::string_view bytes);
  // Waits for the client to close, recording anything else it sends; false if it did not.
  bool ClientClosesWithin(milliseconds limit);

  const std::string& Received() const { return received_; }
  std::uint64_t Sent() const { return sent_; }

 private:
  SOCKET handle_;
  std::string received_;
  std::uint64_t sent_ = 0;
};

class LoopbackServer {
 public:
  using Script = std::function<void(ServerConnection&)>;

  // Listens with this backlog and runs the script for the first connection it accepts.
  explicit LoopbackServer(Script script, int backlog = SOMAXCONN);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  std::uint16_t Port() const { return port_; }
  // Lets the script end and stops accepting; afterwards the records below are final.
  void Finish();

  int Connections() const { return connections_; }
  const std::string& Received() const { return received_; }
  bool ClientClosed() const { return clientClosed_; }
  std::uint64_t Sent() const { return sent_; }

 private:
  void Run(Script script);

  SOCKET listener_ = INVALID_SOCKET;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_ = false;
  std::thread thread_;
  int connections_ = 0;
  std::string received_;
  bool clientClosed_ = false;
  std::uint64_t sent_ = 0;
};

// A listener on 127.0.0.1 that never accepts, its queue filled by connections of its own, so
// that a further connection attempt gets no answer at all (on systems that drop an attempt
// beyond the queue instead of refusing it).
class FullListener {
 public:
  FullListener();
  ~FullListener();
  FullListener(const FullListener&) = delete;
  FullListener& operator=(const FullListener&) = delete;

  std::uint16_t Port() const { return port_; }
  // Whether one more attempt stays unanswered for a moment.
  bool LeavesAttemptsUnanswered() const;

 private:
  SOCKET listener_ = INVALID_SOCKET;
  std::uint16_t port_ = 0;
  std::vector<SOCKET> fillers_;
};

// A port on 127.0.0.1 that nobody listens on.
std::uint16_t RefusedPort();

}  // namespace sipo::test
