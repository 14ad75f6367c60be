#include "readers/podcast_json_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "core/error.h"
#include "readers/chapter_limit.h"
#include "readers/clock_time.h"
#include "readers/source_file.h"
#include "readers/text_encoding.h"

namespace markwright {
namespace {

using Json = nlohmann::json;

// Seconds below this keep their milliseconds below 2^53.
constexpr double kLargestSeconds = 9.0e12;

// A number of seconds as milliseconds; nullopt for anything else, a negative number included.
std::optional<std::int64_t> Milliseconds(const Json& value) {
  if (value.is_number_unsigned()) {
    const auto seconds = value.get<std::uint64_t>();
    if (static_cast<double>(seconds) >= kLargestSeconds) return std::nullopt;
    return static_cast<std::int64_t>(seconds) * 1000;
  }
  if (!value.is_number_float()) return std::nullopt;
  const double seconds = value.get<double>();
  if (!(seconds >= 0 && seconds < kLargestSeconds)) return std::nullopt;
  if (seconds == 0) return 0;  // also -0.0, whose text has a sign
  // The shortest decimal form that reads back as the same double is the number the file meant;
  // its digits are rounded, not the double's binary value.
  std::array<char, 512> digits{};
  const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), seconds,
                                     std::chars_format::fixed);
  if (written.ec != std::errc()) return std::nullopt;
  return DecimalSecondsMilliseconds(
      std::string_view(digits.data(), static_cast<std::size_t>(written.ptr - digits.data())));
}

std::string LineAt(std::string_view text, std::size_t byte) {
  const auto prefix = text.substr(0, std::min(byte, text.size()));
  return AtLine(1 + static_cast<std::size_t>(std::count(prefix.begin(), prefix.end(), '\n')));
}

// The library's reason without its own prefixes ("[json.exception.parse_error.101] ", "parse
// error at line 1, column 2: "); the line is told the project's way.
std::string Reason(const Json::exception& failure) {
  std::string_view what = failure.what();
  if (what.starts_with('[')) what.remove_prefix(std::min(what.find("] ") + 2, what.size()));
  if (what.starts_with("parse error")) {
    const std::size_t colon = what.find(": ");
    if (colon != std::string_view::npos) what.remove_prefix(colon + 2);
  }
  return std::string(what);
}

// A text field: its value, "" when it is absent or null; nullopt for another type.
std::optional<std::string> Text(const Json& chapter, const char* key) {
  const auto field = chapter.find(key);
  if (field == chapter.end() || field->is_null()) return std::string();
  if (!field->is_string()) return std::nullopt;
  return field->get<std::string>();
}

}  // namespace

TitleChapters ParsePodcastJsonChapters(std::string_view bytes, std::string_view path) {
  bytes = SkipUtf8Bom(bytes);
  const std::string decoded = IsValidUtf8(bytes) ? std::string() : Windows1252ToUtf8(bytes);
  const std::string_view text = decoded.empty() ? bytes : decoded;
  Json document;
  try {
    document = Json::parse(text.begin(), text.end());
  } catch (const Json::parse_error& failure) {
    throw ReadError(path, LineAt(text, failure.byte == 0 ? 0 : failure.byte - 1),
                    "malformed JSON: " + Reason(failure));
  } catch (const Json::exception& failure) {
    throw ReadError(path, "", "malformed JSON: " + Reason(failure));
  }
  const auto chapters = document.is_object() ? document.find("chapters") : document.end();
  if (!document.is_object() || chapters == document.end() || !chapters->is_array()) {
    throw ReadError(path, "", "expected an object with a \"chapters\" array");
  }
  TitleChapters title;
  std::optional<std::int64_t> latest_end;
  for (const Json& item : *chapters) {
    const std::string where = "chapter " + std::to_string(title.chapters.size() + 1);
    if (!item.is_object()) throw ReadError(path, where, "is not an object");
    const auto start = item.contains("startTime") ? Milliseconds(item["startTime"]) : std::nullopt;
    if (!start) {
      throw ReadError(path, where, "expected \"startTime\" as a number of seconds, 0 or more");
    }
    const auto name = Text(item, "title");
    const auto link = Text(item, "url");
    const auto image = Text(item, "img");
    const auto toc = item.find("toc");
    const bool toc_valid = toc == item.end() || toc->is_boolean() || toc->is_null();
    if (!name || !link || !image || !toc_valid) {
      throw ReadError(path, where,
                      "\"title\", \"url\" and \"img\" must be text and \"toc\" true or false");
    }
    if (const auto end = item.find("endTime"); end != item.end() && !end->is_null()) {
      const auto milliseconds = Milliseconds(*end);
      if (!milliseconds) {
        throw ReadError(path, where, "expected \"endTime\" as a number of seconds, 0 or more");
      }
      latest_end = std::max(latest_end.value_or(0), *milliseconds);
    }
    CheckRoomForChapter(title.chapters.size(), path);
    Chapter chapter{*start, *name, ""};
    chapter.link = *link;
    chapter.image = *image;
    chapter.hidden = toc != item.end() && toc->is_boolean() && !toc->get<bool>();
    title.chapters.push_back(std::move(chapter));
  }
  if (title.chapters.empty()) throw ReadError(path, "", "the \"chapters\" array is empty");
  title.length = latest_end;
  return title;
}

}  // namespace markwright
