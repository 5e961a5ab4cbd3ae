#include "retrieval/download/FetchSequence.h"

std::string DownloadUrl(std::string_view host, const std::string& remoteName) {
  const bool hasScheme = host.find("://") != std::string_view::npos;
  return (hasScheme ? "" : "http://") + std::string(host) + "/dowfile/" + remoteName;
}

std::string PreparingText(const std::string& displayName) { return "准备【" + displayName + "】中..... "; }

std::string AttemptText(const std::string& displayName, int attempt) {
  return "准备【" + displayName + "】中....." + std::to_string(attempt);
}

bool FetchFromHosts(FetchHost& host, const std::string& folder, const std::string& fileName,
                    const std::string& displayName, std::span<const std::string_view> hosts) {
  host.ShowDownloadPage(displayName, fileName, PreparingText(displayName));
  host.ClearStopRequest();

  const std::string remoteName = RemoteFileName(fileName);
  const std::string finalPath = folder + fileName;
  const std::string partPath = finalPath + ".tmp";
  int64_t result = 0;
  bool reached = false;
  std::string unreachedText;
  std::string untrustedText;
  for (std::size_t k = 0; k < hosts.size(); ++k) {
    host.SetProgressLabel(AttemptText(displayName, static_cast<int>(k + 1)));
    TransferOutcome outcome = host.RunTransfer(DownloadUrl(hosts[k], remoteName), partPath);
    result = outcome.result;
    reached = reached || outcome.reached;
    if (!outcome.unreachedText.empty()) unreachedText = std::move(outcome.unreachedText);
    if (!outcome.untrustedText.empty()) untrustedText = std::move(outcome.untrustedText);
    if (result > 0 || host.StopConfirmed()) break;
  }
  if (host.StopConfirmed()) return false;
  const std::string& reason = untrustedText.empty() && !reached ? unreachedText : untrustedText;
  if (result <= 0 && !reason.empty()) host.ShowFailure(reason);
  if (result <= kSmallestFailedTransfer) return false;
  // A file that cannot take its name is not there for the caller.
  return host.RenameFile(partPath, finalPath);
}
