#include "retrieval/package/PackageIdentity.h"

bool IsTemplateMarker(const std::string& marker) { return marker.rfind("???", 0) == 0; }

std::string MarkerFor(const std::string& entry) { return (entry + ".7z     ").substr(0, kMarkerLength); }

std::string PackageCopyName(const std::string& entry) { return "lzin-" + entry + ".exe"; }
