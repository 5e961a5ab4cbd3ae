#include "PemKey.h"

#include <algorithm>
#include <string>

namespace {

constexpr std::string_view kPrime256v1 = "\x2a\x86\x48\xce\x3d\x03\x01\x07";
constexpr std::string_view kEcPublicKey = "\x2a\x86\x48\xce\x3d\x02\x01";

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// The DER between the BEGIN and END lines of that label.
std::optional<std::string> PemBody(std::string_view pem, std::string_view label) {
  const std::string begin = "-----BEGIN " + std::string(label) + "-----";
  const std::string end = "-----END " + std::string(label) + "-----";
  const std::size_t start = pem.find(begin);
  if (start == std::string_view::npos) return std::nullopt;
  const std::size_t stop = pem.find(end, start);
  if (stop == std::string_view::npos) return std::nullopt;
  std::string der;
  unsigned bits = 0, count = 0;
  for (const char c : pem.substr(start + begin.size(), stop - start - begin.size())) {
    if (c == '\r' || c == '\n' || c == ' ' || c == '\t' || c == '=') continue;
    const int value = Base64Value(c);
    if (value < 0) return std::nullopt;
    bits = bits << 6 | static_cast<unsigned>(value);
    count += 6;
    if (count >= 8) {
      count -= 8;
      der += static_cast<char>(bits >> count & 0xff);
    }
  }
  return der;
}

// Reads one DER element of the expected tag from the front of der; its contents, or empty.
std::optional<std::string_view> Take(std::string_view& der, unsigned char tag) {
  if (der.size() < 2 || static_cast<unsigned char>(der[0]) != tag) return std::nullopt;
  std::size_t length = static_cast<unsigned char>(der[1]), header = 2;
  if (length == 0x81) {
    if (der.size() < 3) return std::nullopt;
    length = static_cast<unsigned char>(der[2]);
    header = 3;
  } else if (length > 0x7f) {
    return std::nullopt;  // keys this small never need longer lengths
  }
  if (der.size() - header < length) return std::nullopt;
  std::string_view contents = der.substr(header, length);
  der.remove_prefix(header + length);
  return contents;
}

// A BIT STRING holding an uncompressed point: 00 04 X Y.
std::optional<EcPublicPoint> PointFrom(std::string_view bits) {
  if (bits.size() != 66 || bits[0] != '\0' || bits[1] != '\x04') return std::nullopt;
  EcPublicPoint point;
  std::copy_n(bits.begin() + 2, 32, point.x.begin());
  std::copy_n(bits.begin() + 34, 32, point.y.begin());
  return point;
}

}  // namespace

std::optional<EcPublicPoint> ParsePublicKeyPem(std::string_view pem) {
  const std::optional<std::string> der = PemBody(pem, "PUBLIC KEY");
  if (!der) return std::nullopt;
  std::string_view rest = *der;
  std::optional<std::string_view> info = Take(rest, 0x30);
  if (!info || !rest.empty()) return std::nullopt;
  std::optional<std::string_view> algorithm = Take(*info, 0x30);
  if (!algorithm) return std::nullopt;
  std::optional<std::string_view> type = Take(*algorithm, 0x06), curve = Take(*algorithm, 0x06);
  if (!type || *type != kEcPublicKey || !curve || *curve != kPrime256v1) return std::nullopt;
  std::optional<std::string_view> bits = Take(*info, 0x03);
  if (!bits || !info->empty()) return std::nullopt;
  return PointFrom(*bits);
}

std::optional<EcPrivateKey> ParsePrivateKeyPem(std::string_view pem) {
  const std::optional<std::string> der = PemBody(pem, "EC PRIVATE KEY");
  if (!der) return std::nullopt;
  std::string_view rest = *der;
  std::optional<std::string_view> key = Take(rest, 0x30);
  if (!key) return std::nullopt;
  std::optional<std::string_view> version = Take(*key, 0x02), secret = Take(*key, 0x04);
  std::optional<std::string_view> parameters = Take(*key, 0xa0), publicKey = Take(*key, 0xa1);
  if (!version || *version != "\x01" || !secret || secret->size() != 32 || !parameters || !publicKey) {
    return std::nullopt;
  }
  std::optional<std::string_view> curve = Take(*parameters, 0x06);
  std::optional<std::string_view> bits = Take(*publicKey, 0x03);
  if (!curve || *curve != kPrime256v1 || !bits) return std::nullopt;
  std::optional<EcPublicPoint> point = PointFrom(*bits);
  if (!point) return std::nullopt;
  EcPrivateKey result;
  std::copy(secret->begin(), secret->end(), result.d.begin());
  result.point = *point;
  return result;
}
