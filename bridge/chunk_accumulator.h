// Collects the Base64 text of one plug-in file from the chunks a page sends in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bridge {

// Chunk 0 starts a transfer; each later chunk must carry the next index and the same file name.
// A chunk that does not fit breaks the transfer: its text is dropped and the transfer can only
// end in failure, so a file is never put together from chunks out of order or of two transfers.
class ChunkAccumulator {
 public:
  static constexpr size_t kDefaultLimit = size_t{1} << 30;  // Base64 text of one transfer

  explicit ChunkAccumulator(size_t limit = kDefaultLimit) : limit_(limit) {}

  void Add(int64_t chunk_index, std::string_view file_name, std::string_view data);
  // Ends the transfer: its whole text when it is intact, else nothing. Either way the
  // accumulator is empty afterwards.
  std::optional<std::string> Finish();
  // Gives the memory back and breaks the transfer, after an allocation failed.
  void Drop();

 private:
  size_t limit_;
  bool open_ = false;  // a transfer is under way and intact so far
  std::string text_;
  std::string file_name_;
  int64_t next_index_ = 0;
};

}  // namespace bridge
