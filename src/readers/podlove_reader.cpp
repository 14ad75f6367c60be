#include "readers/podlove_reader.h"

#include <algorithm>
#include <optional>
#include <pugixml.hpp>
#include <string>

#include "core/decimal.h"
#include "core/error.h"
#include "readers/chapter_limit.h"
#include "readers/clock_time.h"
#include "readers/text_encoding.h"

namespace markwright {
namespace {

// pugixml expands no entities beyond the five predefined ones and character references, and
// without parse_doctype a document type declaration is skipped, not interpreted.
constexpr unsigned kParseOptions = pugi::parse_default;

std::string_view LocalName(std::string_view name) {
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::string LineOf(std::string_view text, std::ptrdiff_t offset) {
  const auto end = static_cast<std::size_t>(std::max<std::ptrdiff_t>(offset, 0));
  const auto prefix = text.substr(0, std::min(end, text.size()));
  return AtLine(1 + static_cast<std::size_t>(std::count(prefix.begin(), prefix.end(), '\n')));
}

// An attribute's text in UTF-8: a reference to no character leaves bytes that are none.
std::string Attribute(const pugi::xml_node& node, const char* name) {
  return ReplaceInvalidUtf8(node.attribute(name).value());
}

}  // namespace

bool IsPodloveRootName(std::string_view name) {
  return LocalName(name) == "chapters";
}

TitleChapters ParsePodloveChapters(std::string_view bytes, std::string_view path) {
  const std::optional<std::string> decoded = XmlTextInUtf8(bytes);
  const std::string_view text = decoded ? *decoded : bytes;
  pugi::xml_document document;
  const pugi::xml_parse_result result =
      document.load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
  if (!result) {
    throw ReadError(path, LineOf(text, result.offset),
                    std::string("malformed XML: ") + result.description());
  }
  const pugi::xml_node root = document.document_element();
  if (!IsPodloveRootName(root.name())) {
    throw ReadError(path, LineOf(text, root.offset_debug()),
                    "the root element is not chapters but " + QuotedText(root.name()));
  }
  TitleChapters title;
  for (const pugi::xml_node& node : root.children()) {
    if (node.type() != pugi::node_element || LocalName(node.name()) != "chapter") continue;
    const pugi::xml_attribute start = node.attribute("start");
    const auto milliseconds = ClockTimeMilliseconds(TrimBlanks(start.value()), 0);
    if (!start || !milliseconds) {
      throw ReadError(path, LineOf(text, node.offset_debug()),
                      start ? "malformed start " + QuotedText(start.value()) +
                                  "; expected a time such as 00:01:02.500, 1:02 or 62.5"
                            : std::string("a chapter without start"));
    }
    CheckRoomForChapter(title.chapters.size(), path);
    Chapter chapter{*milliseconds, Attribute(node, "title"), ""};
    chapter.link = Attribute(node, "href");
    chapter.image = Attribute(node, "image");
    title.chapters.push_back(std::move(chapter));
  }
  if (title.chapters.empty()) throw ReadError(path, "", "there is no chapter element");
  return title;
}

}  // namespace markwright
