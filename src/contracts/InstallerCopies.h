#pragma once
// Which package an installer fetches is the six-byte marker in its own program file: the
// package file name padded with blanks, or "???" at the start in the template build. The
// template's copies are made by the rule below, by the template itself and by lzpack alike.

#include <cstdint>
#include <string>
#include <vector>

inline constexpr std::size_t kMarkerLength = 6;

// The marker of the template build.
inline constexpr char kTemplateMarker[] = "???.7z";

// One installer copy per ID is written from the template, in this order.
inline constexpr char kPackageIdList[] =
    "99|100|28|47|179|61|102|101|172|39|187|181|37|31|40|184|33|171|185|34|35|176|98|182|38|29|188";

inline bool IsTemplateMarker(const std::string& marker) { return marker.rfind("???", 0) == 0; }

// The first six bytes of entry + ".7z" + five blanks: "99" gives "99.7z ".
inline std::string MarkerFor(const std::string& entry) { return (entry + ".7z     ").substr(0, kMarkerLength); }

// "lzin-" + entry + ".exe", written beside the template.
inline std::string InstallerCopyName(const std::string& entry) { return "lzin-" + entry + ".exe"; }

// The entries of a list split at delimiter that a copy is made for: those whose leading
// number is above 0, in list order.
std::vector<std::string> CopyEntries(const std::string& list, const std::string& delimiter);

// The template as its copies are made from it. A copy never carries the template's
// Authenticode signature, which no longer matches once the marker changes: the certificate
// table is cut off, the security entry cleared and the PE checksum made right again.
// Otherwise a copy is the template byte for byte with its own marker.
class CopySource {
 public:
  enum class Fault { None, NoMarker, DamagedCertificateTable };

  // program: the template's whole file; marker: its current six bytes, found at their first
  // occurrence.
  CopySource(std::string program, const std::string& marker);

  Fault Problem() const { return fault_; }
  bool MarkerRepeated() const { return markerRepeated_; }
  bool SignatureRemoved() const { return signatureRemoved_; }

  // The copy's bytes for one entry; only when Problem() is None.
  std::string CopyFor(const std::string& entry) const;

 private:
  std::string image_;
  std::uint64_t markerOffset_ = 0;
  std::uint64_t checksumOffset_ = 0;
  Fault fault_ = Fault::None;
  bool markerRepeated_ = false;
  bool signatureRemoved_ = false;
};
