#include "retrieval/proxy/ProxySettingsWin32.h"

#include <windows.h>
#include <winhttp.h>

#include <vector>

#include "platform/GbkText.h"
#include "platform/SystemLibrariesWin32.h"

namespace {

constexpr char kSettingsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr char kConnectionsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
// Values longer than this are nobody's settings; they are read as absent.
constexpr DWORD kMaxValueBytes = 8192;

std::string ReadValue(HKEY key, const char* name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size > kMaxValueBytes) return {};
  std::string value(size, '\0');
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS)
    return {};
  value.resize(size);
  if (type == REG_DWORD && size == sizeof(DWORD)) return value;
  if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_BINARY) return {};
  if (type != REG_BINARY) value.resize(value.find('\0') == std::string::npos ? value.size() : value.find('\0'));
  return value;
}

ProxySettings ReadProxySettings() {
  ProxySettings settings;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    const std::string enable = ReadValue(key, "ProxyEnable");
    settings.manual = enable.size() == sizeof(DWORD) && enable != std::string(sizeof(DWORD), '\0');
    settings.server = ReadValue(key, "ProxyServer");
    settings.bypass = ReadValue(key, "ProxyOverride");
    settings.autoConfigUrl = ReadValue(key, "AutoConfigURL");
    RegCloseKey(key);
  }
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kConnectionsKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    settings.autoDetect = AutoDetectRequested(ReadValue(key, "DefaultConnectionSettings"));
    RegCloseKey(key);
  }
  return settings;
}

// WinHTTP's own evaluation of the configuration script (or its detection) for url.
std::optional<std::string> EvaluateAutoConfig(const ProxySettings& settings, const std::string& url) {
  using OpenFn = HINTERNET(WINAPI*)(LPCWSTR, DWORD, LPCWSTR, LPCWSTR, DWORD);
  using GetProxyFn = BOOL(WINAPI*)(HINTERNET, LPCWSTR, WINHTTP_AUTOPROXY_OPTIONS*, WINHTTP_PROXY_INFO*);
  using CloseFn = BOOL(WINAPI*)(HINTERNET);
  const HMODULE library = LoadSystemLibrary("winhttp.dll");
  if (library == nullptr) return std::nullopt;
  const auto open = reinterpret_cast<OpenFn>(GetProcAddress(library, "WinHttpOpen"));
  const auto getProxy = reinterpret_cast<GetProxyFn>(GetProcAddress(library, "WinHttpGetProxyForUrl"));
  const auto close = reinterpret_cast<CloseFn>(GetProcAddress(library, "WinHttpCloseHandle"));
  std::optional<std::string> list;
  const HINTERNET session =
      open && getProxy && close ? open(L"GetHTTP 0.0", WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, nullptr, 0) : nullptr;
  if (session != nullptr) {
    const WideText scriptUrl(settings.autoConfigUrl);
    WINHTTP_AUTOPROXY_OPTIONS options{};
    options.fAutoLogonIfChallenged = TRUE;
    if (!settings.autoConfigUrl.empty()) {
      options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
      options.lpszAutoConfigUrl = scriptUrl;
    } else {
      options.dwFlags = WINHTTP_AUTOPROXY_AUTO_DETECT;
      options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    }
    WINHTTP_PROXY_INFO info{};
    if (getProxy(session, WideText(url), &options, &info)) {
      if (info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY && info.lpszProxy != nullptr)
        list = GbkFromWide(info.lpszProxy).value_or("");
      if (info.lpszProxy != nullptr) GlobalFree(info.lpszProxy);
      if (info.lpszProxyBypass != nullptr) GlobalFree(info.lpszProxyBypass);
    }
    close(session);
  }
  FreeLibrary(library);
  return list;
}

}  // namespace

std::optional<ProxyServer> UserProxyFor(const std::string& url, const std::string& host) {
  const ProxySettings settings = ReadProxySettings();
  return ChooseProxy(settings, host, [&] { return EvaluateAutoConfig(settings, url); });
}
