#include "HarnessArguments.h"

#include <map>

#include "TestFiles.h"

namespace {

std::map<std::string, std::string>& Arguments() {
  static std::map<std::string, std::string> arguments;
  return arguments;
}

}  // namespace

void KeepHarnessArguments(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const auto equals = argument.find('=');
    if (argument.rfind("--", 0) != 0 || equals == std::string::npos) continue;
    Arguments()[argument.substr(2, equals - 2)] = WindowsPathFromUnix(argument.substr(equals + 1));
  }
}

std::string HarnessArgument(const std::string& name) {
  const auto found = Arguments().find(name);
  return found == Arguments().end() ? std::string() : found->second;
}
