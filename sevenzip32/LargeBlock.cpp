#include "LargeBlock.h"

#include <cstdlib>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace sevenzip {

LargeBlock::LargeBlock(size_t size) {
#ifdef __linux__
  constexpr size_t kHugePage = size_t(2) << 20;
  // Aligned, and only the huge pages that lie wholly inside the block: one that reached past
  // its end would take 2 MiB for the few bytes used there.
  void* bytes = nullptr;
  bytes_ = posix_memalign(&bytes, kHugePage, size) == 0 ? static_cast<uint8_t*>(bytes) : nullptr;
  if (bytes_ && size >= kHugePage) madvise(bytes_, size / kHugePage * kHugePage, MADV_HUGEPAGE);
#else
  bytes_ = static_cast<uint8_t*>(std::malloc(size));
#endif
  if (!bytes_) throw std::bad_alloc();
}

LargeBlock::~LargeBlock() { std::free(bytes_); }

}  // namespace sevenzip
