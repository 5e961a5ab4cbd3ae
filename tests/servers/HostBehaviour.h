#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// How the test host answers a file request. Set for all later requests with
// GET /__control?<options> (only for the next one with once=1), or for one request with the
// same options in its query:
//   status=N           answer with status N and no file
//   redirect=relative|absolute|endless   302 to /dowfile/<name> (absolute: http://<to>/...),
//                      or back to the same URL; to=HOST names the absolute target's host
//   length=none|lower  no Content-Length line, or one written "content-length:"
//   announce=N         announce N bytes whatever the file's size
//   cut=N              close the connection after N body bytes (the body ends short)
//   reset=N            reset the connection after N body bytes (the receive fails)
//   stall=N            stop sending after N body bytes and keep the connection open
//   range=N            answer a Range request with 206 (the default), 200 (whole file) or N
//   split=N            write the head in pieces of N bytes
//   slow=MS, piece=N   pause MS milliseconds after every N body bytes
//   delay=MS           pause MS milliseconds before answering at all
//   pad=N              add a header line of N filler bytes to the head
struct HostBehaviour {
  int status = 0;
  std::string redirect;
  std::string redirectHost;
  std::string length;
  int64_t announce = -1;
  int64_t cut = -1;
  int64_t reset = -1;
  int64_t stall = -1;
  int range = 206;
  int split = 0;
  int slowMs = 0;
  int delayMs = 0;
  int64_t piece = 65536;
  int64_t pad = 0;
  int once = 0;
  // The options as given, without redirect and to, for a redirect target to keep.
  std::vector<std::string> kept;
};

// Applies "key=value&key=value" to `behaviour`; false on an unknown key or a bad number.
bool ApplyOptions(std::string_view query, HostBehaviour& behaviour);
