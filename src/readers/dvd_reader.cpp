#include "readers/dvd_reader.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/decimal.h"
#include "core/error.h"
#include "readers/mediainfo_library.h"

namespace markwright {
namespace {

// A title set holds at most 99 titles of 999 chapters; anything above is not a chapter menu, and
// asking for that many names would only stall.
constexpr double kMostChapters = 99 * 999;

// The number the text starts with, like a lenient number parser: blanks, a sign, digits and a
// fraction; 0 when the text does not start with a number.
double LeadingNumber(std::string_view text) {
  text = TrimBlanks(text);
  std::size_t end = 0;
  if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
  const std::size_t digits_start = end;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  if (end < text.size() && text[end] == '.') {
    ++end;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  }
  const auto value = ParseDecimal(text.substr(0, end));
  return end > digits_start && value ? *value : 0;
}

struct MenuPositions {
  double begin = 0;
  double end = 0;
};

// Field positions are small indexes; larger ones mean the answers are not a chapter menu.
constexpr double kLargestPosition = 1e9;

MenuPositions Positions(ChapterMenu& menu, std::string_view source_name) {
  const MenuPositions positions{LeadingNumber(menu.Parameter("Chapters_Pos_Begin")),
                                LeadingNumber(menu.Parameter("Chapters_Pos_End"))};
  if (std::fabs(positions.begin) > kLargestPosition ||
      std::fabs(positions.end) > kLargestPosition) {
    throw ReadError(source_name, "", "the chapter menu reports impossible field positions");
  }
  return positions;
}

std::int32_t Count(const MenuPositions& positions, std::string_view source_name) {
  const double count = RoundHalfEven(std::fabs(positions.begin - positions.end - 1) - 1);
  if (!(count >= 1)) {
    throw ReadError(source_name, "", "no chapters found in the title set's chapter menu");
  }
  if (count > kMostChapters) {
    throw ReadError(source_name, "", "the chapter menu reports an impossible number of chapters");
  }
  return static_cast<std::int32_t>(count);
}

// Answers from libmediainfo for one opened file.
class LibraryMenu : public ChapterMenu {
 public:
  explicit LibraryMenu(const MediaInfoFile& file) : file_(file) {}
  std::string Parameter(std::string_view name) override { return file_.MenuParameter(name); }
  std::string FieldName(std::size_t position) override { return file_.MenuFieldName(position); }

 private:
  const MediaInfoFile& file_;
};

const MediaInfoLibrary& Library(const std::filesystem::path& path) {
  try {
    return MediaInfoLibrary::Shared();
  } catch (const Error& failure) {
    throw ReadError(path.string(), "", failure.what());
  }
}

// Asks libmediainfo about the title set in a child process (see RunWithDeadline). The library is
// loaded here first, so that the child inherits it and a missing library is reported as such.
template <typename Work>
ChapterList ReadInChild(const std::filesystem::path& path, std::chrono::milliseconds deadline,
                        Work work) {
  const MediaInfoLibrary& library = Library(path);
  const std::string name = path.string();
  return RunWithDeadline(
      [&] {
        const MediaInfoFile file(library, path);
        LibraryMenu menu(file);
        return work(menu, name);
      },
      name, deadline);
}

}  // namespace

std::int32_t CountMenuChapters(ChapterMenu& menu, std::string_view source_name) {
  return Count(Positions(menu, source_name), source_name);
}

ChapterList ReadMenuChapters(ChapterMenu& menu, std::string_view source_name) {
  const MenuPositions positions = Positions(menu, source_name);
  Count(positions, source_name);
  ChapterList chapters;
  // Rounded like the count, and never below 0: a position is an index.
  const auto first = static_cast<std::int64_t>(std::max(0.0, RoundHalfEven(positions.begin)));
  const auto last = static_cast<std::int64_t>(RoundHalfEven(positions.end)) - 1;
  for (std::int64_t i = first; i <= last; ++i) {
    std::string name = menu.FieldName(static_cast<std::size_t>(i));
    if (!name.empty()) chapters.push_back(std::move(name));
  }
  return chapters;
}

std::int32_t CountDvdChapters(const std::filesystem::path& path) {
  return CountDvdChapters(path, kDvdReadDeadline);
}

ChapterList ReadDvdTitleSet(const std::filesystem::path& path) {
  return ReadDvdTitleSet(path, kDvdReadDeadline);
}

std::int32_t CountDvdChapters(const std::filesystem::path& path,
                              std::chrono::milliseconds deadline) {
  const ChapterList count =
      ReadInChild(path, deadline, [](ChapterMenu& menu, std::string_view name) {
        return ChapterList{std::to_string(CountMenuChapters(menu, name))};
      });
  const auto value = count.size() == 1 ? ParseDigits(count.front()) : std::nullopt;
  if (!value) throw ReadError(path.string(), "", "the chapter count could not be read");
  return static_cast<std::int32_t>(*value);
}

ChapterList ReadDvdTitleSet(const std::filesystem::path& path, std::chrono::milliseconds deadline) {
  return ReadInChild(path, deadline, ReadMenuChapters);
}

}  // namespace markwright
