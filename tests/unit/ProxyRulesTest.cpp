#include "retrieval/proxy/ProxyRules.h"

#include <gtest/gtest.h>

namespace {

// The proxy a setting names for http (empty: none), and whether a bypass list sends a host direct.
TEST(ProxyRulesTest, SettingAndBypassList) {
  const std::pair<std::string_view, std::string> servers[] = {
      {"proxy.corp:3128", "proxy.corp:3128"}, {"http://proxy.corp/", "proxy.corp:80"},
      {"[fd00::1]:8080", "[fd00::1]:8080"},   {"ftp=f:21;HTTP=h:81;https=s:443", "h:81"},
      {"  https=s:443  http=h:82 ", "h:82"},  {"first:1;second:2", "first:1"}};
  for (const auto& [setting, name] : servers) EXPECT_EQ(ProxyForHttp(setting).value().Name(), name) << setting;
  // What cannot be read is no proxy.
  const std::string tooLong(5000, 'a');
  for (std::string_view setting : {"", "proxy:0", "proxy:80x", "p\xb0\x41:80", "[fd00::1:80", "http=:80"}) {
    EXPECT_FALSE(ProxyForHttp(setting)) << setting;
  }
  EXPECT_FALSE(ProxyForHttp(std::string_view("p\0q:80", 6)));
  EXPECT_FALSE(ProxyForHttp(tooLong));

  const std::tuple<std::string_view, std::string_view, bool> bypasses[] = {
      {"<local>", "intranet", true},    {"<local>", "[::1]", false},       {"<local>x", "intranet", false},
      {"*.corp;10.*", "DL.Corp", true}, {"*.corp 10.*", "10.1.2.3", true}, {"127.0.0.?", "127.0.0.22", false},
      {"a*b*c", "aXbYbZc", true},       {"a*b*c", "aXbYc_", false},        {"http://dl.test", "dl.test", true}};
  for (const auto& [list, host, bypassed] : bypasses) EXPECT_EQ(BypassesProxy(list, host), bypassed) << list << host;
}

TEST(ProxyRulesTest, AutomaticConfigurationDecidesAloneWhenAskedFor) {
  const ProxySettings manual{true, "m:3128", "*.corp", false, ""};
  const ProxySettings script{true, "m:3128", "", false, "http://wpad/proxy.pac"};
  const ProxySettings detect{false, "", "", true, ""};
  // What the script gives (nothing: direct, or it failed), the proxy chosen (empty: direct).
  const std::tuple<const ProxySettings&, std::string, std::optional<std::string>, std::string> cases[] = {
      {manual, "dl.example.com", std::nullopt, "m:3128"},           {manual, "dl.corp", std::nullopt, ""},
      {script, "dl.example.com", "pac:8080; other:80", "pac:8080"}, {script, "dl.example.com", std::nullopt, ""},
      {detect, "dl.example.com", "found:3128", "found:3128"},
  };
  for (const auto& [settings, host, evaluated, proxy] : cases) {
    const std::optional<ProxyServer> chosen = ChooseProxy(settings, host, [&] { return evaluated; });
    EXPECT_EQ(chosen ? chosen->Name() : "", proxy) << host << " " << settings.autoConfigUrl;
  }
  std::string record(12, '\0');
  record[8] = 0x09;
  EXPECT_TRUE(AutoDetectRequested(record));
  EXPECT_FALSE(AutoDetectRequested(record.substr(0, 11)));
}

}  // namespace
