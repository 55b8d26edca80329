// Chunk assembly: only the chunks of one transfer, in order, make a whole text.
#include "bridge/chunk_accumulator.h"

#include <gtest/gtest.h>

#include <vector>

namespace bridge {
namespace {

struct Chunk {
  int64_t index;
  const char* file_name;
  const char* data;
};

std::optional<std::string> Assemble(const std::vector<Chunk>& chunks, ChunkAccumulator& acc) {
  for (const Chunk& c : chunks) acc.Add(c.index, c.file_name, c.data);
  return acc.Finish();
}

TEST(ChunkAccumulator, JoinsChunksOfOneTransferInOrder) {
  ChunkAccumulator acc;
  EXPECT_EQ(Assemble({{0, "a.js", "AB"}, {1, "a.js", "CD"}, {2, "a.js", ""}, {3, "a.js", "EF"}},
                     acc),
            "ABCDEF");
  // A chunk 0 starts afresh, whatever came before.
  EXPECT_EQ(Assemble({{0, "a.js", "AB"}, {1, "a.js", "CD"}, {0, "b.js", "XY"}}, acc), "XY");
}

TEST(ChunkAccumulator, ChunksThatDoNotFitBreakTheTransfer) {
  const std::vector<Chunk> broken[] = {
      {{0, "a.js", "AB"}, {2, "a.js", "EF"}},                     // gap
      {{0, "a.js", "AB"}, {1, "a.js", "CD"}, {1, "a.js", "CD"}},  // repeat
      {{0, "a.js", "AB"}, {-1, "a.js", "CD"}},                    // negative index
      {{0, "a.js", "AB"}, {1, "b.js", "CD"}},                     // another transfer's chunk
      {{1, "a.js", "CD"}},                                        // no transfer open
      {{0, "a.js", "AB"}, {2, "a.js", "EF"}, {1, "a.js", "CD"}},  // broken stays broken
  };
  for (const auto& chunks : broken) {
    ChunkAccumulator acc;
    EXPECT_EQ(Assemble(chunks, acc), std::nullopt) << chunks.size() << " chunks";
  }
}

TEST(ChunkAccumulator, FinishEmptiesSoARepeatedLastChunkFails) {
  ChunkAccumulator acc;
  EXPECT_EQ(Assemble({{0, "a.js", "AB"}, {1, "a.js", "CD"}}, acc), "ABCD");
  EXPECT_EQ(Assemble({{1, "a.js", "CD"}}, acc), std::nullopt);
  EXPECT_EQ(Assemble({{0, "a.js", "AB"}}, acc), "AB");
}

TEST(ChunkAccumulator, TextBeyondTheLimitBreaksTheTransfer) {
  ChunkAccumulator acc(6);
  EXPECT_EQ(Assemble({{0, "a.js", "ABC"}, {1, "a.js", "DEF"}}, acc), "ABCDEF");
  EXPECT_EQ(Assemble({{0, "a.js", "ABC"}, {1, "a.js", "DEFG"}}, acc), std::nullopt);
  EXPECT_EQ(Assemble({{0, "a.js", "ABCDEFG"}}, acc), std::nullopt);
}

}  // namespace
}  // namespace bridge
