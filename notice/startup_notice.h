// startup_notice.h - the start-up web notice: one GET of "/sipo.xml" on the maker's web server,
// whose answer is read and thrown away. Whatever happens, nothing is reported.
#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>

namespace sipo {

struct NoticeBounds {
  std::chrono::milliseconds connect{2000};  // the connection attempt
  std::chrono::milliseconds read{2000};     // each wait for data from the server
  // The whole notice, counted from its start, so that a server sending slowly or without end
  // cannot hold the program's start. The name lookup counts against it but is not cut short.
  std::chrono::milliseconds overall{10000};
};

enum class NoticeOutcome {
  KeptOpen,      // answer read; the idle connection stays open until the program ends
  Closed,        // answer read; the connection is closed (Connection: close, or body until close)
  NoConnection,  // name not found, connection refused, or none within the connect bound
  NoData,        // a wait for data ran out
  OverallBound,  // the whole notice ran out of time
  ClosedEarly,   // the server closed or reset the connection before the answer was complete
  Unwanted,      // no status code, a status outside 200 to 299, or a body whose end is unknown
};

// Sends the notice to the maker's host on port 80 and returns when it has ended. Never fails
// outward, shows and logs nothing, never retries. Called once, by the main window's creation.
void SendStartupNotice() noexcept;

// The notice to any host (its name also goes into the Host line) and port, within the bounds.
// Returns how it ended; SendStartupNotice ignores that.
NoticeOutcome SendNoticeTo(std::string_view host, std::uint16_t port,
                           const NoticeBounds& bounds = {});

}  // namespace sipo
