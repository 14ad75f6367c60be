#include "writers/podcast_writers.h"

#include <nlohmann/json.hpp>
#include <pugixml.hpp>
#include <string_view>

#include "core/timestamp.h"
#include "core/utf8.h"
#include "writers/chapter_label.h"

namespace markwright {
namespace {

// Text an XML 1.0 attribute can carry: well-formed UTF-8 (other bytes become U+FFFD) without
// control characters, a tab becoming a blank as a parser would make it.
std::string XmlAttributeText(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  while (!text.empty()) {
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) {
      kept += "\xEF\xBF\xBD";
      text.remove_prefix(1);
      continue;
    }
    const auto c = static_cast<unsigned char>(text.front());
    if (c == '\t') {
      kept += ' ';
    } else if (c >= 0x20 && c != 0x7F) {
      kept.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  return kept;
}

class StringWriter : public pugi::xml_writer {
 public:
  void write(const void* data, std::size_t size) override {
    text_.append(static_cast<const char*>(data), size);
  }
  std::string& text() { return text_; }

 private:
  std::string text_;
};

// Seconds as JSON shows them: a whole number, or the number with up to three decimals (the
// double nearest it, which JSON readers print back as those decimals).
nlohmann::ordered_json Seconds(std::int64_t milliseconds) {
  if (milliseconds % 1000 == 0) return milliseconds / 1000;
  return static_cast<double>(milliseconds) / 1000;
}

}  // namespace

std::string WritePodloveChapters(const TitleChapters& title) {
  pugi::xml_document document;
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  pugi::xml_node root = document.append_child("psc:chapters");
  root.append_attribute("version") = "1.2";
  root.append_attribute("xmlns:psc") = "http://podlove.org/simple-chapters";
  for (std::size_t index = 0; index < title.chapters.size(); ++index) {
    const Chapter& chapter = title.chapters[index];
    pugi::xml_node node = root.append_child("psc:chapter");
    node.append_attribute("start") = FormatTimestamp(chapter.start).c_str();
    node.append_attribute("title") = XmlAttributeText(ChapterLabel(chapter, index)).c_str();
    if (!chapter.link.empty()) {
      node.append_attribute("href") = XmlAttributeText(chapter.link).c_str();
    }
    if (!chapter.image.empty()) {
      node.append_attribute("image") = XmlAttributeText(chapter.image).c_str();
    }
  }
  StringWriter writer;
  document.save(writer, "  ", pugi::format_indent, pugi::encoding_utf8);
  return std::move(writer.text());
}

std::string WritePodcastJsonChapters(const TitleChapters& title) {
  nlohmann::ordered_json chapters = nlohmann::ordered_json::array();
  for (std::size_t index = 0; index < title.chapters.size(); ++index) {
    const Chapter& chapter = title.chapters[index];
    nlohmann::ordered_json item;
    item["startTime"] = Seconds(chapter.start);
    item["title"] = ChapterLabel(chapter, index);
    if (!chapter.image.empty()) item["img"] = chapter.image;
    if (!chapter.link.empty()) item["url"] = chapter.link;
    if (chapter.hidden) item["toc"] = false;
    if (index + 1 == title.chapters.size() && title.length && *title.length > chapter.start) {
      item["endTime"] = Seconds(*title.length);
    }
    chapters.push_back(std::move(item));
  }
  nlohmann::ordered_json document;
  document["version"] = "1.2.0";
  document["chapters"] = std::move(chapters);
  return document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace markwright
