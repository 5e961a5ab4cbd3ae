#include "ByteBuffer.h"

#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace sevenzip {
namespace {

uint8_t* Allocate(size_t size) {
#ifdef __linux__
  constexpr size_t kHugePage = size_t(2) << 20;
  if (size >= kHugePage) {
    // Aligned, and only the huge pages that lie wholly inside the buffer: one that reached
    // past its end would take 2 MiB for the few bytes used there.
    void* bytes = nullptr;
    if (posix_memalign(&bytes, kHugePage, size) != 0) return nullptr;
    madvise(bytes, size / kHugePage * kHugePage, MADV_HUGEPAGE);
    return static_cast<uint8_t*>(bytes);
  }
#endif
  return static_cast<uint8_t*>(std::malloc(size));
}

}  // namespace

ByteBuffer::ByteBuffer(size_t size) : bytes_(size ? Allocate(size) : nullptr), size_(size) {
  if (size && !bytes_) throw std::bad_alloc();
}

}  // namespace sevenzip
