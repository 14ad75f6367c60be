#include "writers/format_table.h"

#include <algorithm>
#include <cctype>

#include "writers/frame_list_writers.h"
#include "writers/ogg_writer.h"
#include "writers/timecode_writers.h"

namespace markwright {

const std::array<DestinationFormat, 12> kDestinationFormats = {{
    {"OGG Text File", "OGG", "Chapters.txt", "OGG Text File (*.txt)|*.txt", WriteOggText},
    {"x264 QP Text File", "x264", "Qpfile.txt", "x264 QP Text File (*.txt)|*.txt", WriteX264QpText},
    {"HC Enc Text File", "HC", "Chapters.txt", "HC Enc Text File (*.txt)|*.txt", WriteHcEncText},
    {"CCE SP Text File", "CCE", "Chapters.txt", "CCE SP Text File (*.txt)|*.txt", WriteCceSpText},
    {"Sonic Cinevision CSV File", "Cinevision", "Chapters.csv",
     "Sonic Cinevision CSV File (*.csv)|*.csv", WriteCinevisionText},
    {"Sonic Scenarist CSV File", "Scenarist", "Chapters.csv",
     "Sonic Scenarist CSV File (*.csv)|*.csv", WriteScenaristText},
    {"Spruce DVD Maestro CHP File", "Maestro", "Chapters.chp",
     "Spruce DVD Maestro CHP File (*.chp)|*.chp", WriteMaestroText},
    {"tsMuxer Meta File", "tsMuxer", "Chapters.txt", "tsMuxer Meta File (*.txt)|*.txt",
     WriteTsMuxerText},
    {"Timecodes Text File", "Timecodes", "Chapters.txt", "Timecodes Text File (*.txt)|*.txt",
     WriteTimecodesText},
    {"Celltimes Text File", "Celltimes", "Celltimes.txt", "Celltimes Text (*.txt)|*.txt",
     WriteCelltimesText},
    {"DVDAuthor Text File", "DVDAuthor", "Chapters.txt", "DVDAuthor Text File (*.txt)|*.txt",
     WriteDvdAuthorText},
    {"Muxman", "Muxman", "Chapters.txt", "Muxman Text (*.txt)|*.txt", WriteMuxmanText},
}};

const DestinationFormat* FindFormatByDisplayName(std::string_view display_name) {
  for (const auto& format : kDestinationFormats) {
    if (format.display_name == display_name) return &format;
  }
  return nullptr;
}

const DestinationFormat* FindFormatByKey(std::string_view key) {
  const auto same_letters = [](char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) ==
           std::toupper(static_cast<unsigned char>(b));
  };
  for (const auto& format : kDestinationFormats) {
    if (std::ranges::equal(format.key, key, same_letters)) return &format;
  }
  return nullptr;
}

std::string BuildFormatText(const DestinationFormat& format, const ChapterList& retimed_chapters,
                            double output_rate, std::string_view input_rate_text) {
  return format.writer(retimed_chapters, output_rate, input_rate_text);
}

}  // namespace markwright
