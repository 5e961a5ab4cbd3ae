#include "retrieval/http/HttpUrl.h"

#include "platform/AsciiText.h"

namespace {

std::string_view TrimSpaces(std::string_view text) { return TrimBlanks(text, " "); }

}  // namespace

bool IsPlainHttpUrl(std::string_view url) { return StartsWithIgnoringCase(TrimSpaces(url), "http://"); }

void SplitUrl(std::string_view url, std::string& host, std::string& path, int32_t& port) {
  url = TrimSpaces(url);
  bool absolute = true;
  if (StartsWithIgnoringCase(url, "http://")) {
    url.remove_prefix(7);
    port = 80;
  } else if (StartsWithIgnoringCase(url, "https://")) {
    url.remove_prefix(8);
    port = kSecurePort;
  } else {
    absolute = false;
    if (port == 0) port = 80;
  }

  if (absolute || host.empty()) {
    const size_t slash = url.find('/');
    host = TrimSpaces(url.substr(0, slash));
    path = slash == std::string_view::npos ? std::string() : std::string(TrimSpaces(url.substr(slash + 1)));
    return;
  }
  url = TrimSpaces(url);
  if (!url.empty() && url.front() == '/') url.remove_prefix(1);
  path = url;
}
