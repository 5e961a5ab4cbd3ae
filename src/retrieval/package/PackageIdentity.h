#pragma once

#include <string>

// Which package an installer fetches is the six-byte marker in its own program file: the
// package file name padded with blanks, or "???" at the start in the template build.

inline constexpr std::size_t kMarkerLength = 6;

// One installer copy per ID is written from the template, in this order.
inline constexpr char kPackageIdList[] =
    "99|100|28|47|179|61|102|101|172|39|187|181|37|31|40|184|33|171|185|34|35|176|98|182|38|29|188";

inline bool IsTemplateMarker(const std::string& marker) { return marker.rfind("???", 0) == 0; }

// The first six bytes of entry + ".7z" + five blanks: "99" gives "99.7z ".
inline std::string MarkerFor(const std::string& entry) { return (entry + ".7z     ").substr(0, kMarkerLength); }

// "lzin-" + entry + ".exe", written beside the program.
inline std::string PackageCopyName(const std::string& entry) { return "lzin-" + entry + ".exe"; }
