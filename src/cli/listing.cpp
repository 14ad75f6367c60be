#include "cli/listing.h"

#include <cstdio>
#include <ostream>
#include <sstream>

#include "cli/messages.h"
#include "core/timestamp.h"
#include "core/utf8.h"

namespace markwright {

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
             << (i + 1 < streams.size() ? "},\n" : "}\n");
      continue;
    }
    output << i + 1 << "  " << ShownMessage(streams[i].source) << "  " << count
           << (count == 1 ? " chapter" : " chapters");
    if (title.length) output << "  " << FormatTimestamp(*title.length);
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
