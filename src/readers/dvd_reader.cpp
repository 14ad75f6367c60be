#include "readers/dvd_reader.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/decimal.h"
#include "core/error.h"
#include "core/timestamp.h"
#include "readers/mediainfo_child.h"

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

// The menu as the reading child saw it.
class AnsweredMenu : public ChapterMenu {
 public:
  explicit AnsweredMenu(const MediaInfoAnswer& answer) : answer_(answer) {}
  std::string Parameter(std::string_view name) override {
    return name == "Chapters_Pos_Begin" ? answer_.chapters_begin
           : name == "Chapters_Pos_End" ? answer_.chapters_end
                                        : "";
  }
  std::string FieldName(std::size_t position) override {
    const std::size_t index = position - answer_.first_field;
    return position >= answer_.first_field && index < answer_.field_names.size()
               ? answer_.field_names[index]
               : "";
  }

 private:
  const MediaInfoAnswer& answer_;
};

// What the reader asks: the video's standard and frame rate, the first menu's chapter
// positions and, to read the chapters, the names of its chapter fields.
MediaInfoRequest TitleSetRequest(MediaInfoRequest::Fields fields) {
  MediaInfoRequest request;
  request.video = {"Standard", "FrameRate"};
  request.fields = fields;
  return request;
}

// numerator / denominator, both at least 0, rounded half to even.
std::int64_t DivideHalfEven(std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t quotient = numerator / denominator;
  const std::int64_t twice_remainder = numerator % denominator * 2;
  const bool up =
      twice_remainder > denominator || (twice_remainder == denominator && quotient % 2 != 0);
  return quotient + (up ? 1 : 0);
}

bool IsNtsc(std::string_view standard, std::string_view frame_rate) {
  if (!standard.empty()) return standard == "NTSC";
  return std::fabs(LeadingNumber(frame_rate) - 30000.0 / 1001) < 0.01;
}

}  // namespace

std::int32_t CountMenuChapters(ChapterMenu& menu, std::string_view source_name) {
  return Count(Positions(menu, source_name), source_name);
}

std::vector<std::string> ReadMenuChapters(ChapterMenu& menu, std::string_view source_name) {
  const MenuPositions positions = Positions(menu, source_name);
  Count(positions, source_name);
  std::vector<std::string> chapters;
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

TitleChapters ReadDvdTitleSet(const std::filesystem::path& path) {
  return ReadDvdTitleSet(path, kDvdReadDeadline);
}

std::string NtscChapterTime(std::string_view library_time) {
  double nominal = 0;
  try {
    nominal = static_cast<double>(ParseTimestamp(library_time));
  } catch (const Error&) {
    return std::string(library_time);
  }
  if (!(nominal >= 0 && nominal < 1e15)) return std::string(library_time);
  const auto milliseconds = static_cast<std::int64_t>(nominal);
  const std::int64_t frames =
      milliseconds / 1000 * 30 + DivideHalfEven(milliseconds % 1000 * 30, 1000);
  return FormatTimestamp(DivideHalfEven(frames * 1001, 30));
}

std::int32_t CountDvdChapters(const std::filesystem::path& path,
                              std::chrono::milliseconds deadline) {
  const MediaInfoAnswer answer =
      AskMediaInfoChild(TitleSetRequest(MediaInfoRequest::Fields::kNone), path, deadline);
  AnsweredMenu menu(answer);
  return CountMenuChapters(menu, path.string());
}

TitleChapters ReadDvdTitleSet(const std::filesystem::path& path,
                              std::chrono::milliseconds deadline) {
  return DvdTitle(
      AskMediaInfoChild(TitleSetRequest(MediaInfoRequest::Fields::kNames), path, deadline),
      path.string());
}

TitleChapters DvdTitle(const MediaInfoAnswer& answer, std::string_view source_name) {
  AnsweredMenu menu(answer);
  const bool ntsc = answer.video.size() == 2 && IsNtsc(answer.video[0], answer.video[1]);
  TitleChapters title;
  for (const std::string& time : ReadMenuChapters(menu, source_name)) {
    // Checked here, where the time comes in, rather than failing at re-timing.
    std::int64_t start = 0;
    try {
      start = ParseTimestamp(ntsc ? NtscChapterTime(time) : time);
    } catch (const Error&) {
      throw ReadError(source_name, "chapter " + std::to_string(title.chapters.size() + 1),
                      "libmediainfo gave no time but " + QuotedText(time));
    }
    title.chapters.push_back({start, {}, {}});
  }
  return title;
}

}  // namespace markwright
