#pragma once

#include <cstdint>
#include <optional>
#include <string>

// One request as the test host sees it.
struct HostRequest {
  std::string raw;     // every byte up to and including the empty line
  std::string target;  // as written on the request line: path and query
  std::string path;
  std::string query;
  std::string host;                    // the Host line's value
  std::optional<int64_t> rangeStart;   // from "Range: bytes=N-"
};

// Reads and parses the request head from the connection; false when it never completes.
bool ReadHostRequest(int connection, HostRequest& request);
