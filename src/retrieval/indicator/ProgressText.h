#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the progress message 1624 shows: the hint label's text and the bar's position.
struct DownloadProgressView {
  std::string label;
  int barPosition;  // 0 to 100
};

// From the message's parameters (bytes written, total bytes; both scaled down alike for
// bodies of 2 GiB and more) and ExactProgressKiB, which then holds the real KiB figures,
// e.g. 下载【188.7z】中..完成:1234KB(45.67%)/共:2702KB.
DownloadProgressView DownloadProgressFor(uint32_t bytesWritten, int32_t totalBytes, uint64_t exactKiB,
                                         std::string_view itemText, char decimalSeparator);
