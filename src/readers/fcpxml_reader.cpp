#include "readers/fcpxml_reader.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/error.h"
#include "readers/chapter_limit.h"
#include "readers/text_encoding.h"

namespace markwright {
namespace {

// Keeps a millisecond count exact in a double, as everywhere else.
constexpr std::int64_t kLargestMilliseconds = 9007199254740992;  // 2^53

// A time in seconds as FCPXML writes it: numerator / denominator, exactly.
struct Rational {
  std::int64_t numerator = 0;
  std::int64_t denominator = 1;
};

using Wide = __int128;

// The sum reduced, or nullopt when it does not fit 64 bits.
std::optional<Rational> Reduced(Wide numerator, Wide denominator) {
  const auto gcd = [](Wide a, Wide b) {
    if (a < 0) a = -a;
    while (b != 0) {
      const Wide rest = a % b;
      a = b;
      b = rest;
    }
    return a == 0 ? Wide{1} : a;
  };
  const Wide common = gcd(numerator, denominator);
  numerator /= common;
  denominator /= common;
  constexpr Wide kLimit = INT64_MAX;
  if (numerator > kLimit || numerator < -kLimit || denominator > kLimit) return std::nullopt;
  return Rational{static_cast<std::int64_t>(numerator), static_cast<std::int64_t>(denominator)};
}

std::optional<Rational> Sum(const Rational& a, const Rational& b, int sign_of_b) {
  return Reduced(Wide{a.numerator} * b.denominator + sign_of_b * Wide{b.numerator} * a.denominator,
                 Wide{a.denominator} * b.denominator);
}

// "N/Ds" or "Ns" (N may have a '-'); nullopt for any other text.
std::optional<Rational> ParseRational(std::string_view text) {
  if (!text.ends_with('s')) return std::nullopt;
  text.remove_suffix(1);
  const bool negative = text.starts_with('-');
  if (negative) text.remove_prefix(1);
  const auto slash = text.find('/');
  const auto numerator = ParseDigits(text.substr(0, slash));
  const auto denominator = slash == std::string_view::npos ? std::optional<std::int64_t>(1)
                                                           : ParseDigits(text.substr(slash + 1));
  if (!numerator || !denominator || *denominator == 0) return std::nullopt;
  return Reduced(negative ? -Wide{*numerator} : Wide{*numerator}, *denominator);
}

// Milliseconds, rounded half to even; nullopt below 0 or beyond the chapter times.
std::optional<std::int64_t> Milliseconds(const Rational& time) {
  if (time.numerator < 0) return std::nullopt;
  const Wide thousandths = Wide{time.numerator} * 1000;
  Wide whole = thousandths / time.denominator;
  const Wide rest = thousandths % time.denominator;
  if (rest * 2 > time.denominator || (rest * 2 == time.denominator && whole % 2 != 0)) ++whole;
  if (whole >= kLargestMilliseconds) return std::nullopt;
  return static_cast<std::int64_t>(whole);
}

std::string Line(std::string_view text, std::ptrdiff_t offset) {
  const auto end = static_cast<std::size_t>(std::max<std::ptrdiff_t>(offset, 0));
  const auto prefix = text.substr(0, std::min(end, text.size()));
  return AtLine(1 + static_cast<std::size_t>(std::count(prefix.begin(), prefix.end(), '\n')));
}

class FcpxmlParser {
 public:
  FcpxmlParser(std::string_view text, std::string_view source_name)
      : text_(text), source_name_(source_name) {}

  [[noreturn]] void Fail(const pugi::xml_node& node, const std::string& cause) const {
    throw ReadError(source_name_, Line(text_, node.offset_debug()), cause);
  }

  // The time in an attribute; fallback when it is absent.
  Rational TimeOf(const pugi::xml_node& node, const char* name, Rational fallback = {}) const {
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) return fallback;
    const auto time = ParseRational(attribute.value());
    if (!time) {
      Fail(node, std::string("malformed ") + name + " " + QuotedText(attribute.value()) +
                     " (expected a time such as 1001/30000s or 5s)");
    }
    return *time;
  }

  Rational Add(const pugi::xml_node& node, const Rational& a, const Rational& b,
               int sign_of_b) const {
    const auto sum = Sum(a, b, sign_of_b);
    if (!sum) Fail(node, "a time too far out to add up");
    return *sum;
  }

  // Every chapter-marker below the spine in file order, without recursion: a deeply nested file
  // cannot exhaust the stack, and each element is visited once.
  TitleChapters Markers(const pugi::xml_node& spine, const Rational& tc_start) const {
    TitleChapters title;
    struct Pending {
      pugi::xml_node node;
      Rational shift;  // added to a time of this element's children to place it on the timeline
    };
    std::vector<Pending> pending;
    for (pugi::xml_node child = spine.last_child(); child; child = child.previous_sibling()) {
      pending.push_back({child, tc_start});
    }
    while (!pending.empty()) {
      const Pending item = pending.back();
      pending.pop_back();
      const pugi::xml_node node = item.node;
      if (node.type() != pugi::node_element) continue;
      const std::string_view name = node.name();
      if (name == "chapter-marker") {
        AddMarker(title, node, item.shift);
        continue;
      }
      // A spine inside a clip is timed in the clip's timeline; any other element holding story
      // elements is a clip with a timeline of its own.
      Rational shift = item.shift;
      if (name != "spine") {
        shift = Add(node, Add(node, shift, TimeOf(node, "offset"), 1), TimeOf(node, "start"), -1);
      }
      for (pugi::xml_node child = node.last_child(); child; child = child.previous_sibling()) {
        pending.push_back({child, shift});
      }
    }
    return title;
  }

 private:
  void AddMarker(TitleChapters& title, const pugi::xml_node& marker, const Rational& shift) const {
    const Rational start = TimeOf(marker, "start");
    const pugi::xml_node clip = marker.parent();
    if (!clip.attribute("duration").empty()) {
      const Rational clip_start = TimeOf(clip, "start");
      const Rational clip_end = Add(clip, clip_start, TimeOf(clip, "duration"), 1);
      const Rational before_start = Add(marker, start, clip_start, -1);
      const Rational before_end = Add(marker, start, clip_end, -1);
      if (before_start.numerator < 0 || before_end.numerator >= 0) return;
    }
    const auto milliseconds = Milliseconds(Add(marker, start, shift, 1));
    if (!milliseconds) {
      Fail(marker, "the chapter marker " + QuotedText(marker.attribute("value").value()) +
                       " lies before the sequence's start or too far after it");
    }
    CheckRoomForChapter(title.chapters.size(), source_name_);
    title.chapters.push_back(
        {*milliseconds, ReplaceInvalidUtf8(marker.attribute("value").value()), {}});
  }

  std::string_view text_;
  std::string_view source_name_;
};

}  // namespace

TitleChapters ParseFcpxml(std::string_view bytes, std::string_view source_name) {
  const std::optional<std::string> decoded = XmlTextInUtf8(bytes);
  const std::string_view text = decoded ? std::string_view(*decoded) : bytes;
  pugi::xml_document document;
  // pugixml never expands entities other than the five predefined ones and character references,
  // and without parse_doctype a document type declaration is skipped, not interpreted.
  const pugi::xml_parse_result result =
      document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!result) {
    throw ReadError(source_name, Line(text, result.offset),
                    std::string("malformed XML: ") + result.description());
  }
  const pugi::xml_node root = document.document_element();
  const FcpxmlParser parser(text, source_name);
  if (std::string_view(root.name()) != "fcpxml") {
    parser.Fail(root, "expected the root element fcpxml, found " + QuotedText(root.name()));
  }
  // A project's sequence; a compound clip's sequence in the resources is one only when the file
  // has no project.
  const auto is_sequence = [](const pugi::xml_node& node) {
    return std::string_view(node.name()) == "sequence";
  };
  pugi::xml_node sequence = root.find_node([&](const pugi::xml_node& node) {
    return is_sequence(node) && std::string_view(node.parent().name()) == "project";
  });
  if (!sequence) sequence = root.find_node(is_sequence);
  if (!sequence) throw ReadError(source_name, "", "no sequence found");
  const Rational tc_start = parser.TimeOf(sequence, "tcStart");
  const Rational negative_start{-tc_start.numerator, tc_start.denominator};
  TitleChapters title = parser.Markers(sequence.child("spine"), negative_start);
  if (title.chapters.empty()) throw ReadError(source_name, "", "no chapter markers found");
  if (!sequence.attribute("duration").empty()) {
    title.length = Milliseconds(parser.TimeOf(sequence, "duration"));
    if (!title.length) parser.Fail(sequence, "the sequence's duration is too long");
  }
  return title;
}

}  // namespace markwright
