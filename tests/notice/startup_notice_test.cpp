// Tests of the start-up notice against servers on the loopback address that each test starts
// itself: the bytes on the wire, the answers read and dropped, and every bound.
#include "notice/startup_notice.h"

#include <winsock2.h>
// psapi.h needs windows.h (through winsock2.h) before it.
#include <psapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/notice/loopback_server.h"

namespace sipo {
namespace {

using std::chrono::milliseconds;
using test::LoopbackServer;
using test::ServerConnection;
using Clock = std::chrono::steady_clock;

const char* Name(NoticeOutcome outcome) {
  switch (outcome) {
    case NoticeOutcome::KeptOpen:
      return "KeptOpen";
    case NoticeOutcome::Closed:
      return "Closed";
    case NoticeOutcome::NoConnection:
      return "NoConnection";
    case NoticeOutcome::NoData:
      return "NoData";
    case NoticeOutcome::OverallBound:
      return "OverallBound";
    case NoticeOutcome::ClosedEarly:
      return "ClosedEarly";
    case NoticeOutcome::Unwanted:
      return "Unwanted";
  }
  return "?";
}

struct Timed {
  NoticeOutcome outcome;
  double seconds;
};

Timed TimedNotice(std::string_view host, std::uint16_t port, const NoticeBounds& bounds = {}) {
  const auto start = Clock::now();
  const NoticeOutcome outcome = SendNoticeTo(host, port, bounds);
  return {outcome, std::chrono::duration<double>(Clock::now() - start).count()};
}

// The pieces of an answer go out 50 ms apart, so that the client reads them as they arrive.
void SendPieces(ServerConnection& connection, const std::vector<std::string>& pieces) {
  for (const std::string& piece : pieces) {
    std::this_thread::sleep_for(milliseconds(50));
    connection.Send(piece);
  }
}

constexpr char kRequestFromLocalhost[] =
    "GET /sipo.xml HTTP/1.1\r\n"
    "Host: localhost\r\n"
    "Accept: text/html, */*\r\n"
    "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
    "\r\n";

TEST(StartupNotice, SendsExactlyTheFiveLinesOnce) {
  LoopbackServer server([](ServerConnection& connection) {
    connection.ReadRequest();
    connection.Send("HTTP/1.1 200 OK\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    connection.ClientClosesWithin(milliseconds(3000));
  });
  // "localhost" may also name ::1, where nobody listens: the next address is tried.
  EXPECT_EQ(SendNoticeTo("localhost", server.Port()), NoticeOutcome::Closed);
  server.Finish();
  EXPECT_EQ(server.Received(), kRequestFromLocalhost);  // the Host line has no port
  EXPECT_EQ(server.Connections(), 1);
}

struct AnswerCase {
  const char* what;
  std::vector<std::string> pieces;
  bool serverCloses;  // after the last piece
  NoticeOutcome expected;
  bool clientCloses;  // seen from the server
};

// Each answer is read to its end (or refused) without waiting out any bound, one request only.
TEST(StartupNotice, ReadsEachKindOfAnswerAndLeavesTheConnectionAsItSays) {
  const AnswerCase cases[] = {
      {"200 with a length",
       {"HTTP/1.1 200 OK\r\nContent-Length: 11\r\n\r\n<sipo>", "</sipo>"},
       false,
       NoticeOutcome::KeptOpen,
       false},
      {"200 with a length, Connection: close",
       {"HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 2\r\n\r\nok"},
       false,
       NoticeOutcome::Closed,
       true},
      {"200 chunked, with a trailer",
       {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n7\r\n<sip", "o/>\r\n",
        "3\r\n...\r\n0\r\nX-End: 1\r\n\r\n"},
       false,
       NoticeOutcome::KeptOpen,
       false},
      {"200 until the server closes",
       {"HTTP/1.0 200 OK\r\n\r\n<sipo>", "</sipo>"},
       true,
       NoticeOutcome::Closed,
       true},
      {"204 without a body",
       {"HTTP/1.1 204 No Content\r\n\r\n"},
       false,
       NoticeOutcome::KeptOpen,
       false},
      {"100 Continue, then 200",
       {"HTTP/1.1 100 Continue\r\n\r\n", "HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nx"},
       false,
       NoticeOutcome::KeptOpen,
       false},
      {"301 is not followed",
       {"HTTP/1.1 301 Moved Permanently\r\nLocation: /moved.xml\r\nContent-Length: 0\r\n\r\n"},
       false,
       NoticeOutcome::Unwanted,
       true},
      {"404",
       {"HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found"},
       false,
       NoticeOutcome::Unwanted,
       true},
      {"garbage status line", {"SIPO OK\r\n\r\n"}, false, NoticeOutcome::Unwanted, true},
      {"server closes inside the body",
       {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nshort"},
       true,
       NoticeOutcome::ClosedEarly,
       true},
  };
  for (const AnswerCase& c : cases) {
    LoopbackServer server([&c](ServerConnection& connection) {
      connection.ReadRequest();
      SendPieces(connection, c.pieces);
      // Long enough to see a close, a retry or a second request.
      if (!c.serverCloses) connection.ClientClosesWithin(milliseconds(1000));
    });
    const Timed result = TimedNotice("127.0.0.1", server.Port());
    server.Finish();
    EXPECT_EQ(Name(result.outcome), std::string(Name(c.expected))) << c.what;
    EXPECT_LT(result.seconds, 1.5) << c.what;  // no bound was waited out
    EXPECT_EQ(server.Connections(), 1) << c.what;
    EXPECT_EQ(server.Received().find("GET", 1), std::string::npos) << c.what << ": second request";
    if (!c.serverCloses) {
      EXPECT_EQ(server.ClientClosed(), c.clientCloses) << c.what;
    }
  }
}

struct WaitCase {
  const char* what;
  std::vector<std::string> pieces;  // sent, then nothing more
  NoticeOutcome expected;
};

// With the real bounds: a server that goes silent ends the notice after one read bound (2 s).
TEST(StartupNotice, GivesUpOnASilentServerAfterTheReadBound) {
  const WaitCase cases[] = {
      {"accepts and sends nothing", {}, NoticeOutcome::NoData},
      {"stops inside the headers", {"HTTP/1.1 200 OK\r\nContent-Le"}, NoticeOutcome::NoData},
      {"stops inside the body",
       {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n<sip"},
       NoticeOutcome::NoData},
  };
  for (const WaitCase& c : cases) {
    LoopbackServer server([&c](ServerConnection& connection) {
      connection.ReadRequest();
      SendPieces(connection, c.pieces);
      connection.ClientClosesWithin(milliseconds(10000));
    });
    const Timed result = TimedNotice("127.0.0.1", server.Port());
    server.Finish();
    EXPECT_EQ(Name(result.outcome), std::string(Name(c.expected))) << c.what;
    EXPECT_GT(result.seconds, 1.5) << c.what;
    EXPECT_LT(result.seconds, 6.0) << c.what;
    EXPECT_TRUE(server.ClientClosed()) << c.what;
    EXPECT_EQ(server.Connections(), 1) << c.what;
  }
}

// Without a connection there is nothing to wait for: a refused port or an unknown name ends the
// notice at once, well within the connect bound.
TEST(StartupNotice, EndsAtOnceWhenThereIsNoConnection) {
  const Timed refused = TimedNotice("127.0.0.1", test::RefusedPort());
  EXPECT_EQ(Name(refused.outcome), std::string(Name(NoticeOutcome::NoConnection)));
  EXPECT_LT(refused.seconds, 1.0);
  // ".invalid" names no host.
  EXPECT_EQ(Name(SendNoticeTo("no-such-host.invalid", 80)),
            std::string(Name(NoticeOutcome::NoConnection)));
}

// With the real bounds: a listener whose queue is full leaves a connection attempt unanswered
// (where the system drops the attempt rather than refusing it), and the connect bound ends it.
TEST(StartupNotice, GivesUpOnAnUnansweredConnectionAfterTheConnectBound) {
  test::FullListener listener;
  if (!listener.LeavesAttemptsUnanswered()) GTEST_SKIP() << "this system refuses at once";
  const Timed result = TimedNotice("127.0.0.1", listener.Port());
  EXPECT_EQ(Name(result.outcome), std::string(Name(NoticeOutcome::NoConnection)));
  EXPECT_GT(result.seconds, 1.5);
  EXPECT_LT(result.seconds, 6.0);
}

// The maker's host of a test build lies under ".example", which names no real host: the entry
// point returns normally, as it must with no network at all, and within the notice's overall
// bound, so that the window it runs for is not held up longer.
TEST(StartupNotice, ReturnsNormallyWithoutTheMakersServerWithinTheOverallBound) {
  const auto start = Clock::now();
  SendStartupNotice();
  const auto elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
  EXPECT_LT(elapsed, NoticeBounds{}.overall) << elapsed.count() << " ms";
}

std::size_t PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PeakWorkingSetSize;
}

// A server that never ends its answer, quickly or slowly, is cut off by the overall bound (made
// shorter here; the read bound stays real), and the body is never held in memory.
TEST(StartupNotice, EndlessAnswersEndAtTheOverallBoundInConstantMemory) {
  NoticeBounds bounds;
  bounds.overall = milliseconds(3000);
  const std::string chunk = "100000\r\n" + std::string(0x100000, 'z') + "\r\n";  // 1 MiB
  const std::size_t peakBefore = PeakWorkingSet();
  LoopbackServer fast([&chunk](ServerConnection& connection) {
    connection.ReadRequest();
    connection.Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");
    while (connection.Send(chunk)) {
    }
  });
  const Timed endless = TimedNotice("127.0.0.1", fast.Port(), bounds);
  fast.Finish();
  const std::size_t growth = PeakWorkingSet() - peakBefore;
  EXPECT_EQ(Name(endless.outcome), std::string(Name(NoticeOutcome::OverallBound)));
  EXPECT_GT(endless.seconds, 2.5);
  EXPECT_LT(endless.seconds, 8.0);
  // Far more went through than the process grew by (a client that kept the body would grow by
  // more than it received).
  EXPECT_GT(fast.Sent(), 32u << 20);
  EXPECT_LT(growth, fast.Sent() / 8)
      << "sent " << fast.Sent() << ", peak working set grew " << growth;

  LoopbackServer slow([](ServerConnection& connection) {
    connection.ReadRequest();
    connection.Send("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n");
    for (int i = 0; i < 100; ++i) {  // one byte every 0.5 s: each read well within its bound
      std::this_thread::sleep_for(milliseconds(500));
      if (!connection.Send("x")) break;
    }
  });
  const Timed trickle = TimedNotice("127.0.0.1", slow.Port(), bounds);
  slow.Finish();
  EXPECT_EQ(Name(trickle.outcome), std::string(Name(NoticeOutcome::OverallBound)));
  EXPECT_GT(trickle.seconds, 2.5);
  EXPECT_LT(trickle.seconds, 8.0);
}

}  // namespace
}  // namespace sipo
