// test-host: a small HTTP/1.x file server for the download tests, which misbehaves on request.
//   test-host --root DIR [--log FILE] --listen ADDRESS:PORT [--listen ...]
// Serves DIR's files under any path ending in the file name. Port 0 takes a free port; each
// listener prints "listening ADDRESS:PORT", then "ready" follows. Every request except the
// control requests is appended to FILE byte for byte. See HostBehaviour.h for the options.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "HostBehaviour.h"
#include "HostRequest.h"
#include "HostResponder.h"

namespace {

std::string gRoot;
std::string gLogPath;
std::mutex gMutex;  // guards gSteered and the log
std::map<std::string, HostBehaviour> gSteered;  // by Host line; "" for every host

void Log(const std::string& raw) {
  if (gLogPath.empty()) return;
  std::lock_guard lock(gMutex);
  std::ofstream(gLogPath, std::ios::binary | std::ios::app) << raw;
}

void SendText(int connection, int status, const std::string& text) {
  const std::string response = "HTTP/1.1 " + std::to_string(status) + " Control\r\nContent-Length: " +
                               std::to_string(text.size()) + "\r\n\r\n" + text;
  send(connection, response.data(), response.size(), MSG_NOSIGNAL);
  shutdown(connection, SHUT_WR);
}

void Serve(int connection) {
  HostRequest request;
  if (ReadHostRequest(connection, request)) {
    if (request.path == "/__control") {
      HostBehaviour behaviour;
      const bool valid = ApplyOptions(request.query, behaviour);
      if (valid) {
        std::lock_guard lock(gMutex);
        if (behaviour.onlyHost.empty()) gSteered.clear();
        gSteered[behaviour.onlyHost] = behaviour;
      }
      SendText(connection, valid ? 200 : 400, valid ? "ok\n" : "bad options\n");
    } else {
      Log(request.raw);
      HostBehaviour behaviour;
      {
        std::lock_guard lock(gMutex);
        auto steered = gSteered.find(request.host);
        if (steered == gSteered.end()) steered = gSteered.find("");
        if (steered != gSteered.end()) {
          behaviour = steered->second;
          if (behaviour.once) gSteered.erase(steered);
        }
      }
      if (ApplyOptions(request.query, behaviour)) {
        AnswerFileRequest(connection, request, behaviour, gRoot);
      } else {
        SendText(connection, 400, "bad options\n");
      }
    }
  }
  close(connection);
}

int Listen(const std::string& spec) {
  const size_t colon = spec.rfind(':');
  sockaddr_in address{};
  address.sin_family = AF_INET;
  if (colon == std::string::npos || inet_pton(AF_INET, spec.substr(0, colon).c_str(), &address.sin_addr) != 1) {
    std::fprintf(stderr, "test-host: bad listen address %s\n", spec.c_str());
    return -1;
  }
  address.sin_port = htons(static_cast<uint16_t>(std::stoi(spec.substr(colon + 1))));
  const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int on = 1;
  setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  socklen_t size = sizeof address;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 64) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    std::fprintf(stderr, "test-host: cannot listen on %s: %s\n", spec.c_str(), std::strerror(errno));
    close(s);
    return -1;
  }
  std::printf("listening %s:%u\n", spec.substr(0, colon).c_str(), ntohs(address.sin_port));
  return s;
}

void AcceptLoop(int listener) {
  for (;;) {
    const int connection = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection >= 0) std::thread(Serve, connection).detach();
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> listens;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--root") gRoot = argv[i + 1];
    else if (option == "--log") gLogPath = argv[i + 1];
    else if (option == "--listen") listens.emplace_back(argv[i + 1]);
  }
  if (gRoot.empty() || listens.empty()) {
    std::fprintf(stderr, "usage: test-host --root DIR [--log FILE] --listen ADDRESS:PORT [--listen ...]\n");
    return 2;
  }
  std::vector<std::thread> loops;
  for (const std::string& spec : listens) {
    const int listener = Listen(spec);
    if (listener < 0) return 1;
    loops.emplace_back(AcceptLoop, listener);
  }
  std::printf("ready\n");
  std::fflush(stdout);
  for (std::thread& loop : loops) loop.join();
}
