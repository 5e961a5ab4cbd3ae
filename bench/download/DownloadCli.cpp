// download-cli PORT URL OUTPUT: fetches URL with HttpDownload, its host reached on
// 127.0.0.1:PORT, and prints the result, the seconds taken and the peak memory.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "retrieval/http/HttpDownload.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: download-cli PORT URL OUTPUT\n");
    return 2;
  }
  const uint16_t port = static_cast<uint16_t>(std::atoi(argv[1]));
  DownloadRequest request;
  request.url = argv[2];
  request.outputPath = argv[3];
  request.settings.lookup = [port](const std::string&, uint16_t) { return ResolveHost("127.0.0.1", port); };

  timespec start, end;
  clock_gettime(CLOCK_MONOTONIC, &start);
  HttpDownload(&request);
  clock_gettime(CLOCK_MONOTONIC, &end);

  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  const double seconds = static_cast<double>(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) / 1e9;
  std::printf("result %lld seconds %.3f peak_kib %ld\n", static_cast<long long>(request.result), seconds,
              usage.ru_maxrss);
  return request.result > 20 ? 0 : 1;
}
