#pragma once

#include <string>
#include <string_view>

// The one command given to the archive library: unpack everything with full paths into the
// target folder, without the library's own window, answering yes to every question.
//   x "<archive>" -hide -y "<target folder>\" *
std::string ExtractionCommandLine(std::string_view archivePath, std::string_view targetFolder);

// The library's "SevenZip" result: 0 when the extraction completed.
bool ExtractionSucceeded(int sevenZipResult);
