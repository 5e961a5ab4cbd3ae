#pragma once

#include <string>

// Unpacks the archive into the target folder with 7-zip32.dll, showing its progress on the
// extraction page. False, after telling the user, when the library cannot be loaded or the
// archive check fails; false also when the library reports the extraction as failed.
bool ExtractPackage(const std::string& archivePath, const std::string& targetFolder);
