#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// How the test host answers a file request. Set for all later requests with
// GET /__control?<options> (only for the next one with once=1), or for one request with the
// same options in its query:
//   status=N           answer with status N and no file
//   redirect=relative|absolute|endless|hostless   302 to /dowfile/<name> (absolute:
//                      http://<to>/..., hostless: http:///...), or back to the same URL;
//                      to=HOST names the absolute target's host
//   length=none|lower  no Content-Length line, or one written "content-length:"
//   announce=N         announce N bytes whatever the file's size
//   cut=N              close the connection after N body bytes (the body ends short)
//   reset=N            reset the connection after N body bytes (the receive fails)
//   stall=N            stop sending after N body bytes and keep the connection open
//   range=N            answer a Range request with 206 (the default), 200 (whole file) or N
//   from=N             a 206 sends the file from byte N on (saying so), whatever was asked
//   contentrange=none  a 206 without its Content-Range line
//   extra=N            N filler bytes after the body, beyond the announced length
//   silent=1           read the request and never answer, holding the connection
//   host=NAME          (with /__control) the other options apply to requests whose Host
//                      line is NAME, beside those set for other names; without it they
//                      apply to every host and replace all earlier settings
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
  int64_t from = -1;
  std::string contentRange;
  int64_t extra = 0;
  int silent = 0;
  std::string onlyHost;
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
