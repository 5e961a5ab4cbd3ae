#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "contracts/RemoteFileName.h"

// Fetching one named file into the download folder from the download hosts in turn.

inline constexpr std::string_view kTransferErrorTitle = "出错";
inline constexpr std::string_view kNoNetworkText = "无法连接到网络！！！\r\n可能你的电脑没上网";
// RunTransfer's result once it has shown a failure text: positive, so no further host is tried.
inline constexpr int64_t kTransferFailureShown = 1;
// A transfer has to bring more than this many bytes to count.
inline constexpr int64_t kSmallestFailedTransfer = 20;

// What came of one transfer.
struct TransferOutcome {
  int64_t result = 0;         // the client's result, or kTransferFailureShown after a shown failure text
  bool reached = false;       // the host answered
  std::string unreachedText;  // why it could not be reached, to show once no host could be
  std::string untrustedText;  // why its secure connection was refused, to show once no host succeeded
};

// What the sequence needs from its surroundings; the Windows side is FetchFile.
class FetchHost {
 public:
  virtual ~FetchHost() = default;
  // Header texts, the progress item and the label; then the download page, repainted.
  virtual void ShowDownloadPage(const std::string& headerText, const std::string& progressItem,
                                const std::string& label) = 0;
  virtual void SetProgressLabel(const std::string& text) = 0;
  virtual void ClearStopRequest() = 0;  // AbortRequested = 0
  virtual bool StopConfirmed() = 0;     // AbortRequested == 1
  virtual TransferOutcome RunTransfer(const std::string& url, const std::string& outputPath) = 0;
  virtual void ShowFailure(const std::string& text) = 0;  // under kTransferErrorTitle
  virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
};

// A configured host is a name ("http://" is meant) or carries its scheme ("https://name").
std::string DownloadUrl(std::string_view host, const std::string& remoteName);

// "准备【" + display name + "】中..... " before the first host.
std::string PreparingText(const std::string& displayName);
// "准备【" + display name + "】中....." + attempt, for host 1 and 2.
std::string AttemptText(const std::string& displayName, int attempt);

// Downloads folder + fileName + ".tmp" from each host in turn and renames it to
// folder + fileName. A host is given up only when its transfer got nowhere (result 0 or
// less); a shown failure, a step code or a completed transfer end the search. When no host
// could be reached, the last reason why is shown once; a host whose secure connection could
// not be trusted is named once when no host succeeded. True when the complete file now has
// its own name.
bool FetchFromHosts(FetchHost& host, const std::string& folder, const std::string& fileName,
                    const std::string& displayName, std::span<const std::string_view> hosts);
