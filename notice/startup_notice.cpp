// startup_notice.cpp - the start-up web notice over Winsock: resolve, connect without blocking,
// send the request, and feed the answer to the parser piece by piece until it is complete.
#include "notice/startup_notice.h"

#include <winsock2.h>
// ws2tcpip.h and mstcpip.h need winsock2.h before them.
#include <mstcpip.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "notice/http_answer_parser.h"
#include "notice/notice_request.h"
#include "program/maker.h"
#include "win/win_text.h"

namespace sipo {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr std::uint16_t kHttpPort = 80;

// Winsock for the length of the notice. A kept connection needs it until the program ends, so
// then it is not cleaned up (WSACleanup would reset the connection).
class WinsockSession {
 public:
  WinsockSession() {
    WSADATA data;
    ok_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  ~WinsockSession() {
    if (ok_ && !kept_) WSACleanup();
  }
  WinsockSession(const WinsockSession&) = delete;
  WinsockSession& operator=(const WinsockSession&) = delete;
  bool Ok() const { return ok_; }
  void Keep() { kept_ = true; }

 private:
  bool ok_ = false;
  bool kept_ = false;
};

class Socket {
 public:
  explicit Socket(SOCKET handle = INVALID_SOCKET) : handle_(handle) {}
  ~Socket() {
    if (handle_ != INVALID_SOCKET) closesocket(handle_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  Socket& operator=(Socket&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  SOCKET Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_SOCKET; }
  SOCKET Release() { return std::exchange(handle_, INVALID_SOCKET); }

 private:
  SOCKET handle_;
};

// An idle kept-alive connection is deliberately never closed: the handle is held here, never
// read again, and the system closes it when the program ends.
void KeepUntilExit(SOCKET handle) {
  static std::vector<SOCKET> kept;
  kept.push_back(handle);
}

// The moment a bound runs out, and how much of it is left.
class Deadline {
 public:
  explicit Deadline(milliseconds overall) : end_(Clock::now() + overall) {}
  milliseconds Left() const {
    return std::max(milliseconds(0), std::chrono::duration_cast<milliseconds>(end_ - Clock::now()));
  }

 private:
  Clock::time_point end_;
};

enum class Wait { Ready, Failed, TimedOut };

// Waits until the socket can be read (or written), at most limit. A connection attempt that
// fails is reported by Winsock in the exception set.
Wait WaitFor(SOCKET handle, bool write, milliseconds limit) {
  fd_set ready;
  fd_set failed;
  FD_ZERO(&ready);
  FD_ZERO(&failed);
  FD_SET(handle, &ready);
  FD_SET(handle, &failed);
  timeval timeout{static_cast<long>(limit.count() / 1000),
                  static_cast<long>(limit.count() % 1000 * 1000)};
  const int count =
      select(0, write ? nullptr : &ready, write ? &ready : nullptr, &failed, &timeout);
  if (count == 0) return Wait::TimedOut;
  if (count < 0 || FD_ISSET(handle, &failed)) return Wait::Failed;
  return Wait::Ready;
}

// A refused connection should end the attempt at once. Windows answers a refusal by sending the
// SYN again, which holds a refused attempt for about two seconds, the whole connect bound; with
// no SYN retransmissions it fails at once (the price: a SYN lost on the way is not sent again
// and the notice is not delivered). Systems that do not know the option keep their behaviour.
void NoSynRetransmissions(SOCKET handle) {
  TCP_INITIAL_RTO_PARAMETERS rto{TCP_INITIAL_RTO_UNSPECIFIED_RTT,
                                 TCP_INITIAL_RTO_NO_SYN_RETRANSMISSIONS};
  DWORD returned = 0;
  WSAIoctl(handle, SIO_TCP_INITIAL_RTO, &rto, sizeof(rto), nullptr, 0, &returned, nullptr, nullptr);
}

// One connection attempt to one address, without blocking beyond the limit.
Wait ConnectOne(const ADDRINFOW& address, milliseconds limit, Socket& connection) {
  Socket candidate(socket(address.ai_family, address.ai_socktype, address.ai_protocol));
  if (!candidate.Valid()) return Wait::Failed;
  u_long nonBlocking = 1;
  if (ioctlsocket(candidate.Get(), FIONBIO, &nonBlocking) != 0) return Wait::Failed;
  NoSynRetransmissions(candidate.Get());
  if (connect(candidate.Get(), address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0 &&
      WSAGetLastError() != WSAEWOULDBLOCK) {
    return Wait::Failed;
  }
  const Wait wait = WaitFor(candidate.Get(), true, limit);
  if (wait != Wait::Ready) return wait;
  int error = 0;
  int length = sizeof(error);
  if (getsockopt(candidate.Get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) !=
          0 ||
      error != 0) {
    return Wait::Failed;
  }
  connection = std::move(candidate);
  return Wait::Ready;
}

// Resolves the host (the lookup has no bound of its own) and tries its addresses in turn, all
// within one connect bound. Nothing when connected, else why not.
std::optional<NoticeOutcome> Connect(std::string_view host, std::uint16_t port,
                                     const NoticeBounds& bounds, const Deadline& deadline,
                                     Socket& connection) {
  ADDRINFOW hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  hints.ai_flags = AI_NUMERICSERV;
  ADDRINFOW* addresses = nullptr;
  if (GetAddrInfoW(win::Widen(host).c_str(), std::to_wstring(port).c_str(), &hints, &addresses) != 0)
    return NoticeOutcome::NoConnection;
  const Deadline connectDeadline(bounds.connect);
  Wait wait = Wait::Failed;
  bool overallShorter = false;
  for (const ADDRINFOW* address = addresses; address && wait != Wait::Ready;
       address = address->ai_next) {
    overallShorter = deadline.Left() < connectDeadline.Left();
    const milliseconds limit = std::min(connectDeadline.Left(), deadline.Left());
    if (limit <= milliseconds(0)) break;
    wait = ConnectOne(*address, limit, connection);
  }
  FreeAddrInfoW(addresses);
  if (wait == Wait::Ready) return std::nullopt;
  return overallShorter ? NoticeOutcome::OverallBound : NoticeOutcome::NoConnection;
}

// The request in one piece; waits only if the system cannot take it at once.
bool SendRequest(SOCKET handle, const std::string& request, milliseconds limit) {
  std::size_t sent = 0;
  while (sent < request.size()) {
    const int count =
        send(handle, request.data() + sent, static_cast<int>(request.size() - sent), 0);
    if (count > 0) {
      sent += static_cast<std::size_t>(count);
    } else if (WSAGetLastError() != WSAEWOULDBLOCK || WaitFor(handle, true, limit) != Wait::Ready) {
      return false;
    }
  }
  return true;
}

// Reads until the parser has the whole answer. Each piece is parsed and dropped at once, so a
// body of any length takes no more memory than this one buffer.
NoticeOutcome ReadAnswer(SOCKET handle, const NoticeBounds& bounds, const Deadline& deadline) {
  HttpAnswerParser parser;
  std::array<char, 16384> buffer;
  bool serverClosed = false;
  for (;;) {
    // Checked before every wait: a server that never pauses would otherwise never time out.
    const milliseconds limit = std::min(bounds.read, deadline.Left());
    if (limit <= milliseconds(0)) return NoticeOutcome::OverallBound;
    const Wait wait = WaitFor(handle, false, limit);
    if (wait == Wait::TimedOut) {
      return limit < bounds.read ? NoticeOutcome::OverallBound : NoticeOutcome::NoData;
    }
    if (wait == Wait::Failed) return NoticeOutcome::ClosedEarly;
    const int count = recv(handle, buffer.data(), static_cast<int>(buffer.size()), 0);
    HttpAnswerParser::Progress progress;
    if (count > 0) {
      progress = parser.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(count)));
    } else if (count == 0) {
      serverClosed = true;
      progress = parser.EndOfStream();
      if (progress == HttpAnswerParser::Progress::Failed) return NoticeOutcome::ClosedEarly;
    } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
      continue;
    } else {
      return NoticeOutcome::ClosedEarly;
    }
    if (progress == HttpAnswerParser::Progress::Failed) return NoticeOutcome::Unwanted;
    if (progress == HttpAnswerParser::Progress::Done) {
      return serverClosed || parser.ClosesConnection() ? NoticeOutcome::Closed
                                                       : NoticeOutcome::KeptOpen;
    }
  }
}

}  // namespace

NoticeOutcome SendNoticeTo(std::string_view host, std::uint16_t port, const NoticeBounds& bounds) {
  const Deadline deadline(bounds.overall);
  WinsockSession winsock;
  if (!winsock.Ok()) return NoticeOutcome::NoConnection;
  Socket connection;
  if (const auto failure = Connect(host, port, bounds, deadline, connection)) return *failure;
  if (!SendRequest(connection.Get(), NoticeRequest(host), std::min(bounds.read, deadline.Left())))
    return NoticeOutcome::ClosedEarly;
  const NoticeOutcome outcome = ReadAnswer(connection.Get(), bounds, deadline);
  if (outcome == NoticeOutcome::KeptOpen) {
    KeepUntilExit(connection.Release());
    winsock.Keep();
  }
  return outcome;
}

void SendStartupNotice() noexcept {
  try {
    SendNoticeTo(kMakerHost, kHttpPort);
  } catch (...) {
    // The notice never fails outward: the start goes on whatever happened.
  }
}

}  // namespace sipo
