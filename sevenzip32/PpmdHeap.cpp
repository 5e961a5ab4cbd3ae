#include "PpmdHeap.h"

#include <cstring>

namespace sevenzip {

// A free block while the glue pass runs. Its first four bytes are the free-list link
// otherwise; stamp 0 marks it free, which no live context or state list has there.
struct PpmdHeap::Node {
  uint16_t stamp;
  uint16_t units;
  uint32_t next;
  uint32_t prev;
};

PpmdHeap::PpmdHeap(uint32_t size)
    : size_(size), align_(4 - (size & 3)), total_(align_ + size + kUnitSize), base_(size_t(total_) + kListSpan) {
  // Offset 0 is null, and lists may reach into the span: what a damaged model reads there
  // is at least defined.
  std::memset(base_.data(), 0, align_);
  std::memset(base_.data() + total_, 0, kListSpan);
  unsigned k = 0;
  for (unsigned i = 0; i < kIndexCount; ++i) {
    unsigned step = i >= 12 ? 4 : (i >> 2) + 1;
    do unitsToIndex_[k++] = uint8_t(i);
    while (--step);
    indexToUnits_[i] = uint8_t(k);
  }
}

void PpmdHeap::Reset() {
  std::memset(freeList_, 0, sizeof(freeList_));
  text_ = align_;
  hiUnit_ = text_ + size_;
  loUnit_ = unitsStart_ = hiUnit_ - size_ / 8 / kUnitSize * 7 * kUnitSize;
  glueCount_ = 0;
}

void PpmdHeap::InsertNode(uint32_t ref, unsigned index) {
  *At<uint32_t>(ref) = freeList_[index];
  freeList_[index] = ref;
}

uint32_t PpmdHeap::RemoveNode(unsigned index) {
  uint32_t ref = freeList_[index];
  freeList_[index] = *At<uint32_t>(ref);
  return ref;
}

void PpmdHeap::SplitBlock(uint32_t ref, unsigned oldIndex, unsigned newIndex) {
  unsigned rest = IndexToUnits(oldIndex) - IndexToUnits(newIndex);
  ref += IndexToUnits(newIndex) * kUnitSize;
  unsigned i = UnitsToIndex(rest);
  if (IndexToUnits(i) != rest) {
    unsigned k = IndexToUnits(--i);
    InsertNode(ref + k * kUnitSize, rest - k - 1);
  }
  InsertNode(ref, i);
}

// Merges neighbouring free blocks and sorts them into the size classes again. The order of
// the walks decides which blocks merge, and so when the memory runs out: it has to be the
// encoder's.
void PpmdHeap::GlueFreeBlocks() {
  uint32_t head = align_ + size_;
  uint32_t n = head;
  // A damaged model cannot make the walks below run longer than this.
  const uint32_t maxSteps = total_ / kUnitSize + 1;
  uint32_t steps = 0;
  auto step = [&] {
    if (++steps > 4 * maxSteps) ThrowDamaged("PPMd model damaged");
  };
  glueCount_ = 255;

  // One list of every free block, each stamped with its size.
  for (unsigned i = 0; i < kIndexCount; ++i) {
    uint16_t units = IndexToUnits(i);
    uint32_t next = freeList_[i];
    freeList_[i] = 0;
    while (next != 0) {
      step();
      Node* node = At<Node>(next);
      node->next = n;
      At<Node>(n)->prev = next;
      n = next;
      next = *At<uint32_t>(next);
      node->stamp = 0;
      node->units = units;
    }
  }
  At<Node>(head)->stamp = 1;
  At<Node>(head)->next = n;
  At<Node>(n)->prev = head;
  if (loUnit_ != hiUnit_) At<Node>(loUnit_)->stamp = 1;

  while (n != head) {
    step();
    Node* node = At<Node>(n);
    uint32_t units = node->units;
    for (;;) {
      step();
      Node* node2 = At<Node>(n + units * kUnitSize);
      units += node2->units;
      if (node2->stamp != 0 || units >= 0x10000) break;
      if (node2->units == 0) ThrowDamaged("PPMd model damaged");
      At<Node>(node2->prev)->next = node2->next;
      At<Node>(node2->next)->prev = node2->prev;
      node->units = uint16_t(units);
    }
    n = node->next;
  }

  for (n = At<Node>(head)->next; n != head;) {
    step();
    Node* node = At<Node>(n);
    uint32_t next = node->next;
    unsigned units = node->units;
    for (; units > 128; units -= 128, n += 128 * kUnitSize) InsertNode(n, kIndexCount - 1);
    if (units == 0) ThrowDamaged("PPMd model damaged");
    unsigned i = UnitsToIndex(units);
    if (IndexToUnits(i) != units) {
      unsigned k = IndexToUnits(--i);
      InsertNode(n + k * kUnitSize, units - k - 1);
    }
    InsertNode(n, i);
    n = next;
  }
}

void* PpmdHeap::AllocUnitsRare(unsigned index) {
  if (glueCount_ == 0) {
    GlueFreeBlocks();
    if (freeList_[index] != 0) return base_.data() + RemoveNode(index);
  }
  unsigned i = index;
  do {
    if (++i == kIndexCount) {
      uint32_t bytes = IndexToUnits(index) * kUnitSize;
      --glueCount_;
      if (unitsStart_ - text_ <= bytes) return nullptr;
      unitsStart_ -= bytes;
      return base_.data() + unitsStart_;
    }
  } while (freeList_[i] == 0);
  uint32_t ref = RemoveNode(i);
  SplitBlock(ref, i, index);
  return base_.data() + ref;
}

void* PpmdHeap::AllocUnits(unsigned index) {
  if (freeList_[index] != 0) return base_.data() + RemoveNode(index);
  uint32_t bytes = IndexToUnits(index) * kUnitSize;
  if (bytes <= hiUnit_ - loUnit_) {
    void* block = base_.data() + loUnit_;
    loUnit_ += bytes;
    return block;
  }
  return AllocUnitsRare(index);
}

void* PpmdHeap::AllocContext() {
  if (hiUnit_ != loUnit_) return base_.data() + (hiUnit_ -= kUnitSize);
  if (freeList_[0] != 0) return base_.data() + RemoveNode(0);
  return AllocUnitsRare(0);
}

void* PpmdHeap::ShrinkUnits(void* block, unsigned oldUnits, unsigned newUnits) {
  unsigned i0 = UnitsToIndex(oldUnits), i1 = UnitsToIndex(newUnits);
  if (i0 == i1) return block;
  uint32_t ref = Ref(block);
  if (freeList_[i1] != 0) {
    void* moved = base_.data() + RemoveNode(i1);
    std::memcpy(moved, block, newUnits * kUnitSize);
    InsertNode(ref, i0);
    return moved;
  }
  SplitBlock(ref, i0, i1);
  return block;
}

}  // namespace sevenzip
