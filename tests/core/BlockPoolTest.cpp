// The block pool: blocks of every size keep their contents apart, are aligned
// to 16, and are reused once released; big ones come from the heap.
#include "engine/core/BlockPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using tw::BlockPool;

TEST(BlockPool, MixedSizesKeepTheirContentsApartAndReleasedBlocksAreReused) {
  const std::size_t sizes[] = {1, 15, 16, 17, 280, 288, 4095, 4096, 4097, 20000};
  struct Block {
    unsigned char* p;
    std::size_t bytes;
    unsigned char mark;
  };
  std::vector<Block> blocks;
  for (int round = 0; round < 300; round++) {
    for (std::size_t bytes : sizes) {
      auto* p = static_cast<unsigned char*>(BlockPool::allocate(bytes));
      ASSERT_NE(p, nullptr);
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % 16, 0u) << bytes;
      const auto mark = static_cast<unsigned char>(blocks.size() * 7 + 1);
      for (std::size_t i = 0; i < bytes; i++) p[i] = mark;
      blocks.push_back(Block{p, bytes, mark});
    }
  }
  for (const Block& block : blocks) {
    for (std::size_t i = 0; i < block.bytes; i++) {
      ASSERT_EQ(block.p[i], block.mark) << block.bytes << " bytes, byte " << i;
    }
  }
  // The latest released block of a size is the next one handed out (under
  // AddressSanitizer the heap keeps released blocks back instead).
  for (std::size_t bytes : {std::size_t{17}, std::size_t{280}}) {
    void* p = BlockPool::allocate(bytes);
    BlockPool::release(p);
    void* p_again = BlockPool::allocate(bytes);
    if (BlockPool::isPooling()) {
      EXPECT_EQ(p_again, p);
    }
    p = p_again;
    BlockPool::release(p);
  }
  for (const Block& block : blocks) BlockPool::release(block.p);
  BlockPool::release(nullptr);
}
