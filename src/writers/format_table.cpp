#include "writers/format_table.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "core/error.h"
#include "writers/ffmetadata_writer.h"
#include "writers/frame_list_writers.h"
#include "writers/keyframe_writers.h"
#include "writers/matroska_xml_writer.h"
#include "writers/ogg_writer.h"
#include "writers/time_list_writer.h"
#include "writers/timecode_writers.h"
#include "writers/webvtt_writer.h"

namespace markwright {
namespace {

using enum FormatHolds::Characters;

// A DVD title holds at most 99 chapters (part-of-title entries); the authoring tools that take
// these lists build DVD titles.
constexpr FormatHolds kDvdTitle = {.most_chapters = 99};
// Names on one line each (a line break becomes a blank).
constexpr FormatHolds kOneLineNames = {.names = true, .characters = kOneLine};
constexpr FormatHolds kOneLineNamesAndLength = {
    .names = true, .length = true, .characters = kOneLine};
constexpr FormatHolds kMatroskaXml = {
    .names = true, .languages = true, .length = true, .characters = kXmlTextOnly};
constexpr FormatHolds kFfmetadata = {.names = true, .length = true};

std::string WriteMatroskaRow(const TitleChapters& chapters, const FrameClock&, std::string_view) {
  // An edition without chapters is a file mkvmerge turns down.
  if (chapters.chapters.empty()) throw NoChaptersToWrite("Matroska XML chapters");
  return WriteMatroskaChapters(chapters);
}

std::string WriteFfmetadataRow(const TitleChapters& chapters, const FrameClock&, std::string_view) {
  return WriteFfmetadata(chapters);
}

std::string WriteWebVttRow(const TitleChapters& chapters, const FrameClock&, std::string_view) {
  return WriteWebVtt(chapters);
}

std::string WriteTimeListRow(const TitleChapters& chapters, const FrameClock&, std::string_view) {
  return WriteTimeList(chapters);
}

std::string WriteFfmpegKeysRow(const TitleChapters& chapters, const FrameClock& output_clock,
                               std::string_view) {
  return WriteFfmpegKeyFrames(chapters, output_clock);
}

}  // namespace

const std::array<DestinationFormat, 17> kDestinationFormats = {{
    {"OGG Text File", "OGG", "Chapters.txt", "OGG Text File (*.txt)|*.txt", WriteOggText, nullptr,
     kOneLineNames},
    {"x264 QP Text File", "x264", "Qpfile.txt", "x264 QP Text File (*.txt)|*.txt", WriteX264QpText},
    {"HC Enc Text File", "HC", "Chapters.txt", "HC Enc Text File (*.txt)|*.txt", WriteHcEncText},
    {"CCE SP Text File", "CCE", "Chapters.txt", "CCE SP Text File (*.txt)|*.txt", WriteCceSpText},
    {"Sonic Cinevision CSV File", "Cinevision", "Chapters.csv",
     "Sonic Cinevision CSV File (*.csv)|*.csv", WriteCinevisionText},
    {"Sonic Scenarist CSV File", "Scenarist", "Chapters.csv",
     "Sonic Scenarist CSV File (*.csv)|*.csv", WriteScenaristText},
    {"Spruce DVD Maestro CHP File", "Maestro", "Chapters.chp",
     "Spruce DVD Maestro CHP File (*.chp)|*.chp", WriteMaestroText, nullptr, kDvdTitle},
    {"tsMuxer Meta File", "tsMuxer", "Chapters.txt", "tsMuxer Meta File (*.txt)|*.txt",
     WriteTsMuxerText},
    {"Timecodes Text File", "Timecodes", "Chapters.txt", "Timecodes Text File (*.txt)|*.txt",
     WriteTimecodesText},
    {"Celltimes Text File", "Celltimes", "Celltimes.txt", "Celltimes Text (*.txt)|*.txt",
     WriteCelltimesText},
    {"DVDAuthor Text File", "DVDAuthor", "Chapters.txt", "DVDAuthor Text File (*.txt)|*.txt",
     WriteDvdAuthorText, nullptr, kDvdTitle},
    {"Muxman", "Muxman", "Chapters.txt", "Muxman Text (*.txt)|*.txt", WriteMuxmanText, nullptr,
     kDvdTitle},
    {"Matroska XML Chapters File", "Matroska", "Chapters.xml",
     "Matroska XML Chapters File (*.xml)|*.xml", WriteMatroskaRow, nullptr, kMatroskaXml},
    {"FFmpeg Metadata File", "FFmetadata", "Chapters.ffmeta",
     "FFmpeg Metadata File (*.ffmeta)|*.ffmeta", WriteFfmetadataRow, nullptr, kFfmetadata},
    {"WebVTT Chapters File", "WebVTT", "Chapters.vtt", "WebVTT Chapters File (*.vtt)|*.vtt",
     WriteWebVttRow, nullptr, kOneLineNamesAndLength},
    {"Time List Text File", "TimeList", "Chapters.txt", "Time List Text File (*.txt)|*.txt",
     WriteTimeListRow, TimeListNotes, kOneLineNames},
    {"FFmpeg Key Frame List", "ffmpegKeys", "KeyFrames.txt", "FFmpeg Key Frame List (*.txt)|*.txt",
     WriteFfmpegKeysRow},
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

std::string BuildFormatText(const DestinationFormat& format, const TitleChapters& retimed_chapters,
                            const FrameClock& output_clock, std::string_view input_rate_text) {
  return format.writer(retimed_chapters, output_clock, input_rate_text);
}

std::vector<std::string> FormatNotesFor(const DestinationFormat& format,
                                        const TitleChapters& retimed_chapters) {
  std::vector<std::string> notes = LossNotes(format.holds, format.key, retimed_chapters);
  if (format.notes != nullptr) {
    for (std::string& note : format.notes(retimed_chapters)) notes.push_back(std::move(note));
  }
  return notes;
}

}  // namespace markwright
