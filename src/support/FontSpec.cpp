#include "support/FontSpec.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/LeadingNumber.h"
#include "platform/TextSplit.h"

namespace {

constexpr int kMostShortShapeCommas = 10;
constexpr int kBoldWeight = 700;
constexpr uint8_t kOn = 0xFF;

// Field n (from 1) of the spec; past the last field the whole spec, as the spec format
// has always read it.
class SpecFields {
 public:
  explicit SpecFields(const std::string& spec) : spec_(spec) { SplitText(spec, ",", fields_); }
  const std::string& Text(std::size_t n) const { return n <= fields_.size() ? fields_[n - 1] : spec_; }
  int Number(std::size_t n) const { return LeadingInteger(Text(n)); }

 private:
  const std::string& spec_;
  std::vector<std::string> fields_;
};

FontSpec ParseShortShape(const SpecFields& fields) {
  FontSpec font;
  font.faceName = fields.Text(1);
  font.pointSize = fields.Number(2);
  font.style = fields.Number(3);
  if (font.style & 1) font.weight = kBoldWeight;
  if (font.style & 2) font.italic = kOn;
  if (font.style & 4) font.underline = kOn;
  if (font.style & 8) font.strikeOut = kOn;
  return font;
}

FontSpec ParseLongShape(const SpecFields& fields, PixelsToPointsFunction pixelsToPoints) {
  FontSpec font;
  font.faceName = fields.Text(1);
  font.pointSize = pixelsToPoints(fields.Number(2));
  font.weight = fields.Number(6);
  font.italic = static_cast<uint8_t>(fields.Number(7));
  font.underline = static_cast<uint8_t>(fields.Number(8));
  font.strikeOut = static_cast<uint8_t>(fields.Number(9));
  font.style = (font.weight == kBoldWeight ? 1 : 0) | (font.italic ? 2 : 0) | (font.underline ? 4 : 0) |
               (font.strikeOut ? 8 : 0);
  return font;
}

}  // namespace

FontSpec ParseFontSpec(const std::string& spec, PixelsToPointsFunction pixelsToPoints) {
  const SpecFields fields(spec);
  if (std::count(spec.begin(), spec.end(), ',') > kMostShortShapeCommas) return ParseLongShape(fields, pixelsToPoints);
  return ParseShortShape(fields);
}

int MulDivRounded(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const int64_t product = static_cast<int64_t>(number) * numerator;
  const int64_t magnitude = (std::llabs(product) + std::llabs(denominator) / 2) / std::llabs(denominator);
  const int64_t result = (product < 0) != (denominator < 0) ? -magnitude : magnitude;
  if (result > INT32_MAX || result <= INT32_MIN) return -1;  // keeps negation and abs defined
  return static_cast<int>(result);
}

int PixelsToPointsAt(int pixels, int logPixelsY) { return std::abs(MulDivRounded(pixels, 72, logPixelsY)); }

int PointFontHeight(int pointSize, int dpiArgument, int logPixelsX, int logPixelsY) {
  if (dpiArgument == -1) dpiArgument = logPixelsX;
  if (dpiArgument > 0 && logPixelsY > 0) {
    pointSize = static_cast<int>(static_cast<int64_t>(pointSize) * dpiArgument / logPixelsY);
  }
  return -MulDivRounded(pointSize, logPixelsY, 72);
}
