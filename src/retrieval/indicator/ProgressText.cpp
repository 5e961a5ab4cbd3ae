#include "retrieval/indicator/ProgressText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "retrieval/http/HttpProgress.h"

DownloadProgressView DownloadProgressFor(uint32_t bytesWritten, int32_t totalBytes, uint64_t exactKiB,
                                         std::string_view itemText, char decimalSeparator) {
  // Scaling keeps the ratio, so the percent comes from the message either way; only the
  // figures need the real counts.
  long long doneKiB = bytesWritten >> 10;
  long long totalKiB = totalBytes / 1024;
  if (exactKiB != 0) {
    const ProgressKiB exact = UnpackProgressKiB(exactKiB);
    doneKiB = exact.done;
    totalKiB = exact.total;
  }

  // A total of 0 or less never comes from the client; it shows 0% rather than a division by zero.
  const double percent = totalBytes > 0 ? static_cast<double>(bytesWritten) / totalBytes * 100 : 0.0;

  char number[48];
  std::snprintf(number, sizeof number, "%.2f", percent);
  std::string percentText = number;
  std::replace(percentText.begin(), percentText.end(), '.', decimalSeparator);

  std::string label = "下载【";
  label += itemText;
  label += "】中..完成:";
  std::snprintf(number, sizeof number, "%lld", doneKiB);
  label += number;
  label += "KB(" + percentText + "%)/共:";
  std::snprintf(number, sizeof number, "%lld", totalKiB);
  label += number;
  label += "KB";

  // The bar holds 1 to 100; more than the announced total (a short announcement) stays full.
  const int position = static_cast<int>(std::nearbyint(std::clamp(percent, 0.0, 100.0)));
  return {std::move(label), position};
}
