#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "ByteSource.h"

namespace sevenzip {

// Undoes BCJ2 (7z method 03 03 01 1B): x86 code whose CALL and JMP/Jcc targets were moved
// out of the main stream into a call and a jump stream, with a range-coded stream telling
// which opcodes had their target moved.
class Bcj2Source : public ByteSource {
 public:
  // inputs: main, call, jump and range-coded streams, in this order.
  Bcj2Source(std::span<ByteSource* const> inputs, uint64_t unpackSize);
  size_t Read(uint8_t* dest, size_t size) override;

 private:
  class Input {
   public:
    explicit Input(ByteSource& source, size_t bufferSize) : source_(source), buffer_(bufferSize) {}
    // False at the end of the stream.
    bool Fill();
    const uint8_t* Data() const { return buffer_.data() + pos_; }
    size_t Available() const { return end_ - pos_; }
    void Skip(size_t n) { pos_ += n; }
    uint8_t Byte(const char* missing);
    uint32_t BigEndian32(const char* missing);

   private:
    ByteSource& source_;
    std::vector<uint8_t> buffer_;
    size_t pos_ = 0, end_ = 0;
  };

  bool DecodeBit(uint16_t& prob);
  void ConvertTarget(uint8_t opcode);

  Input main_, call_, jump_, rc_;
  const uint64_t totalSize_;
  uint64_t remaining_;  // output bytes still to come
  uint32_t range_ = 0xFFFFFFFF, code_ = 0;
  uint16_t probs_[258];  // E9, Jcc, then E8 after each possible previous byte
  uint8_t prevByte_ = 0;
  uint8_t lastPrev_ = 0;     // the byte before the pending opcode
  bool bitPending_ = false;  // the last byte handed out was an opcode whose bit is unread
  uint8_t target_[4];        // a converted target not yet handed out entirely
  unsigned targetPos_ = 4;
};

}  // namespace sevenzip
