#include "writers/editing_markers_writer.h"

#include <algorithm>
#include <cstdint>
#include <pugixml.hpp>
#include <string_view>

#include "core/decimal.h"
#include "core/error.h"
#include "core/timecode.h"
#include "core/timestamp.h"
#include "writers/chapter_label.h"

namespace markwright {
namespace {

struct MarkerClock {
  double rate = 0;
  TimecodeBase base;
};

MarkerClock MarkerClockOf(const FrameClock& output_clock, std::string_view format) {
  const auto rate = output_clock.ConstantRate();
  const auto base = rate ? TimecodeBaseOf(*rate) : std::nullopt;
  if (!base) {
    throw Refusal(std::string(format) + " needs a whole or NTSC output rate (-outfps)" +
                  (rate ? ", not " + FormatDecimal15(*rate) : ", not frames of varying length"));
  }
  return {*rate, *base};
}

// The frame of a chapter at the output rate.
std::int64_t FrameOf(const Chapter& chapter, const MarkerClock& clock) {
  return TimestampToFrame(chapter.start, clock.rate);
}

void AppendEdlTimecode(std::string& text, std::int64_t frame, const MarkerClock& clock) {
  const bool drop_frame = clock.base.CanDropFrames();
  AppendTimecode(text, FrameToTimecode(frame, clock.base, drop_frame), ':', drop_frame ? ';' : ':');
}

// Text XML 1.0 can carry: other control characters are left out.
std::string XmlCharacters(std::string_view text) {
  std::string kept;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') kept += c;
  }
  return kept;
}

// A whole number of frames of duration numerator/denominator as an FCPXML time.
std::string FcpxmlTime(std::int64_t frames, std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t total = frames * numerator;
  if (total % denominator == 0) return std::to_string(total / denominator) + "s";
  return std::to_string(total) + "/" + std::to_string(denominator) + "s";
}

class StringWriter : public pugi::xml_writer {
 public:
  void write(const void* data, std::size_t size) override {
    text.append(static_cast<const char*>(data), size);
  }
  std::string text;
};

}  // namespace

std::string WriteResolveEdl(const TitleChapters& title, const FrameClock& output_clock) {
  const MarkerClock clock = MarkerClockOf(output_clock, "ResolveEDL");
  const bool drop_frame = clock.base.CanDropFrames();
  Timecode one_hour;
  one_hour.hours = 1;
  one_hour.drop_frame = drop_frame;
  const std::int64_t timeline_start = *TimecodeToFrame(one_hour, clock.base);
  std::string text = "TITLE: Chapters\nFCM: ";
  text += drop_frame ? "DROP FRAME\n\n" : "NON-DROP FRAME\n\n";
  for (std::size_t index = 0; index < title.chapters.size(); ++index) {
    const std::string number = std::to_string(index + 1);
    text.append(number.size() < 3 ? 3 - number.size() : 0, '0');
    text += number;
    text += "  001      V     C        ";
    const std::int64_t frame = timeline_start + FrameOf(title.chapters[index], clock);
    for (int twice = 0; twice < 2; ++twice) {
      AppendEdlTimecode(text, frame, clock);
      text += ' ';
      AppendEdlTimecode(text, frame + 1, clock);
      text += twice == 0 ? " " : "  \n";
    }
    text += " |C:ResolveColorBlue |M:";
    text += ChapterLabel(title.chapters[index], index);
    text += " |D:1\n\n";
  }
  return text;
}

std::string WriteFcpxml(const TitleChapters& title, const FrameClock& output_clock) {
  // A sequence without markers would be an empty gap, which Final Cut Pro cannot place.
  if (title.chapters.empty()) throw NoChaptersToWrite("Final Cut Pro chapter markers");
  const MarkerClock clock = MarkerClockOf(output_clock, "FCPXML");
  // A frame lasts 1001/30000 s at 29.97 and 100/2500 s at 25, as Final Cut Pro writes them.
  const std::int64_t numerator = clock.base.ntsc ? 1001 : 100;
  const std::int64_t denominator =
      std::int64_t{clock.base.nominal} * (clock.base.ntsc ? 1000 : 100);
  std::int64_t frames = title.length ? FrameOf({*title.length, {}, {}}, clock) : 0;
  for (const Chapter& chapter : title.chapters) {
    frames = std::max(frames, FrameOf(chapter, clock) + 1);
  }
  const std::string duration = FcpxmlTime(frames, numerator, denominator);
  const std::string frame_duration = FcpxmlTime(1, numerator, denominator);

  pugi::xml_document document;
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  document.append_child(pugi::node_doctype).set_value("fcpxml");
  pugi::xml_node root = document.append_child("fcpxml");
  root.append_attribute("version") = "1.9";
  pugi::xml_node format = root.append_child("resources").append_child("format");
  format.append_attribute("id") = "r1";
  format.append_attribute("frameDuration") = frame_duration.c_str();
  format.append_attribute("width") = "1920";
  format.append_attribute("height") = "1080";
  pugi::xml_node event = root.append_child("library").append_child("event");
  event.append_attribute("name") = "Chapters";
  pugi::xml_node project = event.append_child("project");
  project.append_attribute("name") = "Chapters";
  pugi::xml_node sequence = project.append_child("sequence");
  sequence.append_attribute("format") = "r1";
  sequence.append_attribute("duration") = duration.c_str();
  sequence.append_attribute("tcStart") = "0s";
  sequence.append_attribute("tcFormat") = clock.base.CanDropFrames() ? "DF" : "NDF";
  pugi::xml_node gap = sequence.append_child("spine").append_child("gap");
  gap.append_attribute("name") = "Gap";
  gap.append_attribute("offset") = "0s";
  gap.append_attribute("start") = "0s";
  gap.append_attribute("duration") = duration.c_str();
  for (std::size_t index = 0; index < title.chapters.size(); ++index) {
    const Chapter& chapter = title.chapters[index];
    pugi::xml_node marker = gap.append_child("chapter-marker");
    marker.append_attribute("start") =
        FcpxmlTime(FrameOf(chapter, clock), numerator, denominator).c_str();
    marker.append_attribute("duration") = frame_duration.c_str();
    marker.append_attribute("value") = XmlCharacters(ChapterLabel(chapter, index)).c_str();
    marker.append_attribute("posterOffset") = "0s";
  }
  StringWriter writer;
  document.save(writer, "    ", pugi::format_indent, pugi::encoding_utf8);
  return writer.text;
}

}  // namespace markwright
