#pragma once
#include <cstdint>

#include "ArchiveError.h"
#include "ByteBuffer.h"

namespace sevenzip {

// The PPMd model's own memory, allocated once: text grows from the bottom, contexts and
// state lists are carved from the top in 12-byte units kept in 38 size classes. Blocks are
// named by their offset from the base (0 is null), and every offset read back from the
// memory goes through At, so a damaged model fails instead of leaving its memory.
class PpmdHeap {
 public:
  static constexpr uint32_t kUnitSize = 12;
  static constexpr unsigned kIndexCount = 38;
  // Spare bytes past the end, so that a list of at most this many bytes may start at any
  // offset At accepts: one check per list instead of one per element.
  static constexpr uint32_t kListSpan = 2048;

  explicit PpmdHeap(uint32_t size);

  // Forgets every block: the model restarts from nothing.
  void Reset();

  template <class T>
  T* At(uint32_t ref) {
    if ((ref > total_ - uint32_t(sizeof(T))) | (ref % alignof(T) != 0)) ThrowDamaged("PPMd model damaged");
    return reinterpret_cast<T*>(base_.data() + ref);
  }
  uint32_t Ref(const void* p) const { return uint32_t(static_cast<const uint8_t*>(p) - base_.data()); }

  unsigned UnitsToIndex(unsigned units) const { return unitsToIndex_[units - 1]; }
  unsigned IndexToUnits(unsigned index) const { return indexToUnits_[index]; }

  // Blocks of IndexToUnits(index) units; null when the memory is used up.
  void* AllocUnits(unsigned index);
  void* AllocContext();
  void Free(void* block, unsigned index) { InsertNode(Ref(block), index); }
  // Gives back the tail of a block that now needs fewer units; may move it.
  void* ShrinkUnits(void* block, unsigned oldUnits, unsigned newUnits);

  // The text area: the symbols seen, which contexts point into until they get children.
  uint32_t Text() const { return text_; }
  uint32_t UnitsStart() const { return unitsStart_; }
  // Appends a symbol; false once the text reaches the units.
  bool PushText(uint8_t symbol) {
    base_.data()[text_++] = symbol;
    return text_ < unitsStart_;
  }
  void PopText() { --text_; }

 private:
  struct Node;

  void InsertNode(uint32_t ref, unsigned index);
  uint32_t RemoveNode(unsigned index);
  void SplitBlock(uint32_t ref, unsigned oldIndex, unsigned newIndex);
  void* AllocUnitsRare(unsigned index);
  void GlueFreeBlocks();

  uint32_t size_;
  uint32_t align_;  // keeps the top of the units 4-byte aligned
  uint32_t total_;  // with one unit above the top for the glue pass's list head
  ByteBuffer base_;
  uint32_t text_ = 0, unitsStart_ = 0, loUnit_ = 0, hiUnit_ = 0;
  unsigned glueCount_ = 0;
  uint32_t freeList_[kIndexCount] = {};
  uint8_t indexToUnits_[kIndexCount];
  uint8_t unitsToIndex_[128];
};

}  // namespace sevenzip
