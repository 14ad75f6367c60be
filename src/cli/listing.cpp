#include "cli/listing.h"

#include <cstdio>
#include <ostream>
#include <sstream>

#include "cli/messages.h"
#include "core/timestamp.h"
#include "core/utf8.h"
#include "readers/disc_scan.h"

namespace markwright {
namespace {

// How many chapter names an edition's JSON entry shows.
constexpr std::size_t kListedNames = 3;

std::string JsonFlag(bool flag) {
  return flag ? "true" : "false";
}

// An edition's flags and first names, after the keys every stream has.
std::string EditionJson(const MatroskaXmlEdition& edition, const TitleChapters& title) {
  std::string json = ", \"default\": " + JsonFlag(edition.is_default) +
                     ", \"ordered\": " + JsonFlag(edition.ordered) +
                     ", \"hidden\": " + JsonFlag(edition.hidden) + ", \"names\": [";
  for (std::size_t i = 0; i < title.chapters.size() && i < kListedNames; ++i) {
    json += (i > 0 ? ", " : "") + JsonString(title.chapters[i].name);
  }
  return json + "]";
}

}  // namespace

std::string EditionWords(const MatroskaXmlEdition& edition) {
  std::string words;
  if (edition.is_default) words += " default";
  if (edition.ordered) words += " ordered";
  if (edition.hidden) words += " hidden";
  return words.empty() ? words : " " + words;
}

void ListStreams(const std::vector<Stream>& streams, bool json, const ConversionRates& rates,
                 std::ostream& printed, ProgressLine& progress) {
  std::ostringstream output;
  output << (json ? "[\n" : "");
  for (std::size_t i = 0; i < streams.size(); ++i) {
    progress.Show("reading " + streams[i].source + " (" + std::to_string(i + 1) + " of " +
                  std::to_string(streams.size()) + ")");
    const TitleChapters title = streams[i].list(rates.input, rates.output).chapters;
    progress.Clear();
    const std::size_t count = title.chapters.size();
    if (json) {
      output << "  {\"number\": " << i + 1 << ", \"source\": " << JsonString(streams[i].source)
             << ", \"chapters\": " << count << ", \"length\": "
             << (title.length ? JsonString(FormatTimestamp(*title.length)) : "null")
             << (streams[i].edition ? EditionJson(*streams[i].edition, title) : "")
             << (i + 1 < streams.size() ? "},\n" : "}\n");
      continue;
    }
    output << StreamLine(i + 1, ShownMessage(streams[i].source), count, title.length);
    if (streams[i].edition) output << EditionWords(*streams[i].edition);
    output << '\n';
  }
  output << (json ? "]\n" : "");
  printed << output.str();
}

std::string JsonString(std::string_view text) {
  std::string json = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '"' || byte == '\\') {
      json += '\\';
      json += static_cast<char>(byte);
      ++i;
      continue;
    }
    if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      json += escaped;
      ++i;
      continue;
    }
    const std::size_t length = Utf8SequenceLength(text.substr(i));
    if (length == 0) {
      json += "\\ufffd";
      ++i;
      continue;
    }
    json.append(text.substr(i, length));
    i += length;
  }
  return json + "\"";
}

}  // namespace markwright
