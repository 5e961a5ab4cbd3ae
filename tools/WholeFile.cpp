#include "WholeFile.h"

#include <fstream>
#include <iterator>

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  if (!stream) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  if (stream.bad()) return std::nullopt;
  return bytes;
}

bool ReplaceWholeFile(const std::filesystem::path& file, const std::string& bytes) {
  std::filesystem::path partial = file;
  partial += ".partial";
  std::ofstream out(partial, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  std::error_code error;
  if (out) std::filesystem::rename(partial, file, error);
  if (!out || error) {
    std::filesystem::remove(partial, error);
    return false;
  }
  return true;
}
