#include "readers/dvd_reader.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/decimal.h"
#include "core/error.h"
#include "core/timestamp.h"
#include "readers/mediainfo_child.h"
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

// What the child sends before the chapters or their count: the video's standard and frame rate.
constexpr std::size_t kVideoTexts = 2;

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

std::vector<std::string> AnswerTitleSetRequest(std::string_view request,
                                               const std::filesystem::path& path) {
  const std::string name = path.string();
  const MediaInfoLibrary* library = nullptr;
  try {
    library = &MediaInfoLibrary::Shared();
  } catch (const Error& failure) {
    throw ReadError(name, "", failure.what());
  }
  const MediaInfoFile file(*library, path);
  LibraryMenu menu(file);
  std::vector<std::string> texts = {file.VideoParameter("Standard"),
                                    file.VideoParameter("FrameRate")};
  if (request == kCountRequest) {
    texts.push_back(std::to_string(CountMenuChapters(menu, name)));
  } else {
    for (std::string& chapter : ReadMenuChapters(menu, name)) texts.push_back(std::move(chapter));
  }
  return texts;
}

std::int32_t CountDvdChapters(const std::filesystem::path& path,
                              std::chrono::milliseconds deadline) {
  const auto texts = AskMediaInfoChild(kCountRequest, path, deadline);
  const auto value = texts.size() == kVideoTexts + 1 ? ParseDigits(texts.back()) : std::nullopt;
  if (!value) throw ReadError(path.string(), "", "the chapter count could not be read");
  return static_cast<std::int32_t>(*value);
}

TitleChapters ReadDvdTitleSet(const std::filesystem::path& path,
                              std::chrono::milliseconds deadline) {
  const auto texts = AskMediaInfoChild(kReadRequest, path, deadline);
  if (texts.size() < kVideoTexts) {
    throw ReadError(path.string(), "", "libmediainfo failed on the title set (is it damaged?)");
  }
  const bool ntsc = IsNtsc(texts[0], texts[1]);
  TitleChapters title;
  title.chapters.reserve(texts.size() - kVideoTexts);
  for (auto text = texts.begin() + kVideoTexts; text != texts.end(); ++text) {
    title.chapters.push_back(
        {ParseSourceTimestamp(ntsc ? NtscChapterTime(*text) : *text, path.string()), {}, {}});
  }
  return title;
}

}  // namespace markwright
