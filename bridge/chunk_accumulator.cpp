// Collects the Base64 text of one plug-in file from the chunks a page sends in order.
#include "bridge/chunk_accumulator.h"

#include <utility>

namespace bridge {

void ChunkAccumulator::Add(int64_t chunk_index, std::string_view file_name,
                           std::string_view data) {
  if (chunk_index == 0) {
    Drop();  // a new transfer discards whatever the last one left
    open_ = true;
    file_name_ = file_name;
    next_index_ = 0;
  }
  if (!open_ || chunk_index != next_index_ || file_name != file_name_ ||
      data.size() > limit_ - text_.size()) {
    Drop();
    return;
  }
  text_.append(data);
  ++next_index_;
}

std::optional<std::string> ChunkAccumulator::Finish() {
  std::optional<std::string> whole;
  if (open_) whole = std::exchange(text_, std::string());
  Drop();
  return whole;
}

void ChunkAccumulator::Drop() {
  open_ = false;
  std::string().swap(text_);  // release the memory, not only the length
  file_name_.clear();
}

}  // namespace bridge
