#include "contracts/InstallerCopies.h"

#include "platform/LeadingNumber.h"
#include "platform/TextSplit.h"
#include "support/PeCertificateTable.h"

std::vector<std::string> CopyEntries(const std::string& list, const std::string& delimiter) {
  std::vector<std::string> pieces, entries;
  SplitText(list, delimiter, pieces);
  for (const std::string& piece : pieces) {
    if (LeadingNumber(piece) > 0) entries.push_back(piece);
  }
  return entries;
}

CopySource::CopySource(std::string program, const std::string& marker) : image_(std::move(program)) {
  const PeCertificateTable table = FindCertificateTable(image_);
  if (table.state == PeCertificateTable::State::Damaged) {
    fault_ = Fault::DamagedCertificateTable;
    return;
  }
  if (table.state == PeCertificateTable::State::Present) {
    CutCertificateTable(image_, table);
    checksumOffset_ = table.checksumOffset;
    signatureRemoved_ = true;
  }
  const std::size_t at = marker.size() == kMarkerLength ? image_.find(marker) : std::string::npos;
  if (at == std::string::npos) {
    fault_ = Fault::NoMarker;
    return;
  }
  markerOffset_ = at;
  markerRepeated_ = image_.find(marker, at + 1) != std::string::npos;
}

std::string CopySource::CopyFor(const std::string& entry) const {
  std::string copy = image_;
  copy.replace(markerOffset_, kMarkerLength, MarkerFor(entry));
  if (signatureRemoved_) StorePeChecksum(copy, checksumOffset_);
  return copy;
}
