#include "writers/format_table.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <utility>

#include "core/error.h"
#include "writers/audacity_writer.h"
#include "writers/audio_tags_writer.h"
#include "writers/cue_writer.h"
#include "writers/editing_markers_writer.h"
#include "writers/ffmetadata_writer.h"
#include "writers/frame_list_writers.h"
#include "writers/keyframe_writers.h"
#include "writers/matroska_xml_writer.h"
#include "writers/ogg_writer.h"
#include "writers/podcast_writers.h"
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
constexpr FormatHolds kNames = {.names = true};
constexpr FormatHolds kXmlNames = {.names = true, .characters = kXmlTextOnly};
constexpr FormatHolds kXmlNamesAndLength = {
    .names = true, .length = true, .characters = kXmlTextOnly};
// A CUE sheet numbers its tracks 01 to 99.
constexpr FormatHolds kCueSheet = {.names = true, .characters = kOneLine, .most_chapters = 99};

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

std::string WriteResolveEdlRow(const TitleChapters& chapters, const FrameClock& output_clock,
                               std::string_view) {
  return WriteResolveEdl(chapters, output_clock);
}

std::string WriteFcpxmlRow(const TitleChapters& chapters, const FrameClock& output_clock,
                           std::string_view) {
  return WriteFcpxml(chapters, output_clock);
}

std::string WritePodloveRow(const TitleChapters& chapters, const FrameClock&, std::string_view) {
  return WritePodloveChapters(chapters);
}

std::string WritePodcastJsonRow(const TitleChapters& chapters, const FrameClock&,
                                std::string_view) {
  return WritePodcastJsonChapters(chapters);
}

std::string WriteCueRow(const TitleChapters& chapters, const FrameClock&, std::string_view) {
  return WriteCueSheet(chapters);
}

std::string WriteAudacityRow(const TitleChapters& chapters, const FrameClock&, std::string_view) {
  return WriteAudacityLabels(chapters);
}

}  // namespace

const std::array<DestinationFormat, 25> kDestinationFormats = {{
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
    {"DaVinci Resolve Marker EDL", "ResolveEDL", "Markers.edl",
     "DaVinci Resolve Marker EDL (*.edl)|*.edl", WriteResolveEdlRow, nullptr, kOneLineNames},
    {"Final Cut Pro XML Chapter Markers", "FCPXML", "Chapters.fcpxml",
     "Final Cut Pro XML (*.fcpxml)|*.fcpxml", WriteFcpxmlRow, nullptr, kXmlNamesAndLength},
    {"Podlove Simple Chapters", "Podlove", "Chapters.xml", "Podlove Simple Chapters (*.xml)|*.xml",
     WritePodloveRow, nullptr, kXmlNames},
    {"Podcasting 2.0 JSON Chapters", "PodcastJSON", "Chapters.json",
     "Podcasting 2.0 JSON Chapters (*.json)|*.json", WritePodcastJsonRow, nullptr, kFfmetadata},
    {"CUE Sheet", "CUE", "Chapters.cue", "CUE Sheet (*.cue)|*.cue", WriteCueRow, nullptr,
     kCueSheet},
    {"Audacity Labels", "Audacity", "Labels.txt", "Audacity Labels (*.txt)|*.txt", WriteAudacityRow,
     nullptr, kOneLineNames},
    {"ID3 Chapters (into an MP3 file)", "ID3", "", "MP3 Audio File (*.mp3)|*.mp3", WriteId3Note,
     nullptr, kNames, InPlaceTags::kId3},
    {"Vorbis Comment Chapters (into an Ogg, Opus or FLAC file)", "VorbisComment", "",
     "Ogg, Opus and FLAC Audio (*.ogg;*.oga;*.opus;*.flac)|*.ogg;*.oga;*.opus;*.flac",
     WriteVorbisCommentNote, nullptr, kNames, InPlaceTags::kVorbisComment},
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
  // The twelve classic formats carry what they always carried, and a conversion to one of them
  // says nothing of the names and length it leaves out, as it never did; only what a newer source
  // brings (languages, end times, editions, nested chapters) is named.
  FormatHolds holds = format.holds;
  const DestinationFormat* first = kDestinationFormats.data();
  if (std::less_equal<>()(first, &format) && std::less<>()(&format, first + kClassicFormatCount)) {
    holds.names = holds.length = true;
    holds.characters = FormatHolds::Characters::kAll;
    holds.most_chapters = 0;
  }
  std::vector<std::string> notes = LossNotes(holds, format.key, retimed_chapters);
  if (format.notes != nullptr) {
    for (std::string& note : format.notes(retimed_chapters)) notes.push_back(std::move(note));
  }
  return notes;
}

}  // namespace markwright
