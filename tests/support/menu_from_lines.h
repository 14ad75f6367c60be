#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "readers/dvd_reader.h"

namespace markwright::testing {

// A stand-in for libmediainfo's answers about a DVD menu, as the DVD fuzzer feeds them and the
// replay of its finds reads them back: the first line is Chapters_Pos_Begin, the second
// Chapters_Pos_End, and each further line the name of the next field from position 0 on.
class MenuFromLines : public ChapterMenu {
 public:
  explicit MenuFromLines(std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
      const std::size_t end = std::min(text.find('\n', start), text.size());
      lines_.emplace_back(text.substr(start, end - start));
      start = end + 1;
    }
  }
  std::string Parameter(std::string_view name) override {
    return Line(name == "Chapters_Pos_Begin" ? 0 : 1);
  }
  std::string FieldName(std::size_t position) override { return Line(position + 2); }

 private:
  std::string Line(std::size_t index) const { return index < lines_.size() ? lines_[index] : ""; }
  std::vector<std::string> lines_;
};

}  // namespace markwright::testing
