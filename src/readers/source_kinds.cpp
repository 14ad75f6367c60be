#include "readers/source_kinds.h"

#include <algorithm>

#include "readers/audacity_reader.h"
#include "readers/audio_file_reader.h"
#include "readers/bluray_reader.h"
#include "readers/celltimes_reader.h"
#include "readers/cue_reader.h"
#include "readers/dvd_reader.h"
#include "readers/fcpxml_reader.h"
#include "readers/ffmetadata_reader.h"
#include "readers/hddvd_reader.h"
#include "readers/matroska_xml_reader.h"
#include "readers/media_file_reader.h"
#include "readers/ogg_reader.h"
#include "readers/podcast_json_reader.h"
#include "readers/podlove_reader.h"
#include "readers/premiere_markers_reader.h"
#include "readers/resolve_edl_reader.h"
#include "readers/time_list_reader.h"
#include "readers/webvtt_reader.h"

namespace markwright {
namespace {

TitleChapters ParseOggRow(const SourceRequest& request) {
  return ParseOggLineReader(*request.lines, request.path.string());
}

TitleChapters ParseCelltimesRow(const SourceRequest& request) {
  return ParseCelltimes(request.bytes, request.path.string(), request.input_rate);
}

TitleChapters ParseBluRayRow(const SourceRequest& request) {
  return ParseBluRayPlaylist(request.bytes, request.path.string());
}

// Of the playlist's titles the first with the most chapters is read.
TitleChapters ParseHdDvdRow(const SourceRequest& request) {
  const std::string name = request.path.string();
  const HdDvdPlaylist playlist = DecodeHdDvdPlaylist(request.bytes, name);
  return HdDvdTitleChapters(playlist, ChooseHdDvdTitle(playlist), name);
}

TitleChapters ReadDvdRow(const SourceRequest& request) {
  return ReadDvdTitleSet(request.path);
}

TitleChapters ParseMatroskaRow(const SourceRequest& request) {
  return ParseMatroskaChapters(request.bytes, request.path.string());
}

TitleChapters ParseFfmetadataRow(const SourceRequest& request) {
  return ParseFfmetadata(request.bytes, request.path.string());
}

TitleChapters ParseWebVttRow(const SourceRequest& request) {
  return ParseWebVtt(request.bytes, request.path.string());
}

TitleChapters ReadMediaFileRow(const SourceRequest& request) {
  return ReadMediaFileChapters(request.path);
}

TitleChapters ParseResolveEdlRow(const SourceRequest& request) {
  return ParseResolveEdl(request.bytes, request.path.string(), request.input_rate);
}

TitleChapters ParsePremiereMarkersRow(const SourceRequest& request) {
  return ParsePremiereMarkers(request.bytes, request.path.string(), request.input_rate);
}

TitleChapters ParseFcpxmlRow(const SourceRequest& request) {
  return ParseFcpxml(request.bytes, request.path.string());
}

TitleChapters ParsePodloveRow(const SourceRequest& request) {
  return ParsePodloveChapters(request.bytes, request.path.string());
}

TitleChapters ParsePodcastJsonRow(const SourceRequest& request) {
  return ParsePodcastJsonChapters(request.bytes, request.path.string());
}

TitleChapters ParseCueRow(const SourceRequest& request) {
  return ParseCueSheet(request.bytes, request.path.string());
}

TitleChapters ParseAudacityRow(const SourceRequest& request) {
  return ParseAudacityLabels(request.bytes, request.path.string());
}

TitleChapters ParseTimeListRow(const SourceRequest& request) {
  return ParseTimeList(request.bytes, request.path.string());
}

TitleChapters ReadAudioFileRow(const SourceRequest& request) {
  return ReadAudioFileChapters(request.path);
}

// The patterns of a "description|patterns" filter entry.
std::string_view FilterPatterns(std::string_view filter) {
  return filter.substr(filter.find('|') + 1);
}

}  // namespace

const std::array<SourceKind, 18> kSourceKinds = {{
    {InputKind::kOggChapters, "OGG", "OGG chapter text", "first character C",
     "OGG Chapter Files (*.txt)|*.txt", "", SourceInput::kLines, ParseOggRow},
    {InputKind::kCelltimes, "Celltimes", "Celltimes frame list", "first character a digit",
     "Celltimes Files (*.txt)|*.txt", "", SourceInput::kBytes, ParseCelltimesRow},
    {InputKind::kBluRayPlaylist, "BluRay", "Blu-ray movie playlist", "first character M",
     "Blu-Ray Playlist (*.mpls)|*.mpls", "application/x-bluray-movie-playlist;",
     SourceInput::kBytes, ParseBluRayRow},
    {InputKind::kHdDvdPlaylist, "HDDVD", "HD DVD playlist",
     "first character <, or XML of another root than Chapters", "HD-DVD Playlist (*.xpl)|*.xpl",
     "application/x-hddvd-playlist;", SourceInput::kBytes, ParseHdDvdRow},
    {InputKind::kDvdTitleSet, "DVD", "DVD title set", "first character D",
     "DVD Playlist (*.ifo)|VTS*.ifo", "application/x-dvd-title-set;", SourceInput::kPath,
     ReadDvdRow},
    {InputKind::kMatroskaXml, "Matroska", "Matroska XML chapters", "XML whose root is Chapters",
     "Matroska XML Chapters (*.xml)|*.xml", "application/x-matroska-chapters;", SourceInput::kBytes,
     ParseMatroskaRow},
    {InputKind::kFfmetadata, "FFmetadata", "FFmpeg metadata", "first line ;FFMETADATA1",
     "FFmpeg Metadata (*.ffmeta;*.txt)|*.ffmeta;*.txt", "application/x-ffmetadata;",
     SourceInput::kBytes, ParseFfmetadataRow},
    {InputKind::kWebVtt, "WebVTT", "WebVTT chapters", "first line WEBVTT",
     "WebVTT Chapters (*.vtt)|*.vtt", "text/vtt;", SourceInput::kBytes, ParseWebVttRow},
    {InputKind::kMediaFile, "Media", "Matroska, WebM and MP4 media files",
     "an EBML header or an MP4 ftyp box",
     "Media Files (*.mkv;*.mka;*.mks;*.webm;*.mp4;*.m4v;*.m4a;*.mov)|"
     "*.mkv;*.mka;*.mks;*.webm;*.mp4;*.m4v;*.m4a;*.mov",
     "video/x-matroska;video/webm;video/mp4;audio/mp4;video/quicktime;", SourceInput::kPath,
     ReadMediaFileRow},
    {InputKind::kResolveEdl, "ResolveEDL", "DaVinci Resolve marker EDL", "first line TITLE:",
     "DaVinci Resolve Marker EDL (*.edl)|*.edl", "", SourceInput::kBytes, ParseResolveEdlRow},
    {InputKind::kPremiereMarkers, "Premiere", "Premiere Pro marker list",
     "UTF-16 text whose first line begins Marker Name and a tab",
     "Premiere Pro Markers (*.csv;*.txt)|*.csv;*.txt", "", SourceInput::kBytes,
     ParsePremiereMarkersRow},
    {InputKind::kFcpxml, "FCPXML", "Final Cut Pro XML chapter markers", "XML whose root is fcpxml",
     "Final Cut Pro XML (*.fcpxml)|*.fcpxml", "", SourceInput::kBytes, ParseFcpxmlRow},
    {InputKind::kPodlove, "Podlove", "Podlove Simple Chapters",
     "XML whose root is chapters (psc:chapters)",
     "Podlove Simple Chapters (*.xml;*.psc)|*.xml;*.psc", "", SourceInput::kBytes, ParsePodloveRow},
    {InputKind::kPodcastJson, "PodcastJSON", "Podcasting 2.0 JSON chapters", "first character {",
     "Podcasting 2.0 JSON Chapters (*.json)|*.json", "", SourceInput::kBytes, ParsePodcastJsonRow},
    {InputKind::kCueSheet, "CUE", "CUE sheet",
     "first line REM, PERFORMER, TITLE, FILE or SONGWRITER", "CUE Sheets (*.cue)|*.cue", "",
     SourceInput::kBytes, ParseCueRow},
    {InputKind::kAudacity, "Audacity", "Audacity labels",
     "first line two numbers of seconds and a tab", "Audacity Labels (*.txt)|*.txt", "",
     SourceInput::kBytes, ParseAudacityRow},
    {InputKind::kTimeList, "TimeList", "time list (0:00 Title)",
     "first line a time M:SS or H:MM:SS, bare or in brackets, then a blank",
     "Time Lists (*.txt)|*.txt", "", SourceInput::kBytes, ParseTimeListRow},
    {InputKind::kAudioFile, "Audio", "MP3, Ogg Vorbis, Opus and FLAC audio files",
     "an ID3 tag or MPEG audio frame, an Ogg Vorbis or Opus page, or the FLAC signature",
     "Audio Files (*.mp3;*.ogg;*.oga;*.opus;*.flac)|*.mp3;*.ogg;*.oga;*.opus;*.flac",
     "audio/mpeg;audio/ogg;audio/x-vorbis+ogg;audio/x-opus+ogg;audio/flac;", SourceInput::kPath,
     ReadAudioFileRow},
}};

const SourceKind* FindSourceKind(InputKind kind) {
  const auto* row = std::ranges::find(kSourceKinds, kind, &SourceKind::kind);
  return row == kSourceKinds.end() ? nullptr : row;
}

std::string SourceOpenFilter() {
  std::vector<std::string_view> patterns;
  for (const SourceKind& row : kSourceKinds) {
    std::string_view rest = FilterPatterns(row.open_filter);
    while (!rest.empty()) {
      const std::size_t end = std::min(rest.find(';'), rest.size());
      if (std::ranges::find(patterns, rest.substr(0, end)) == patterns.end()) {
        patterns.push_back(rest.substr(0, end));
      }
      rest.remove_prefix(std::min(end + 1, rest.size()));
    }
  }
  std::string filter = "Supported Files|";
  for (std::size_t i = 0; i < patterns.size(); ++i) {
    if (i > 0) filter += ';';
    filter += patterns[i];
  }
  for (const SourceKind& row : kSourceKinds) {
    filter += '|';
    filter += row.open_filter;
  }
  return filter;
}

std::string SourceMimeTypes() {
  std::string types;
  for (const SourceKind& row : kSourceKinds) types += row.mime_types;
  return types;
}

std::string SourceKindsList(std::string_view line_end) {
  std::string text;
  for (const SourceKind& row : kSourceKinds) {
    text += "\t\t- ";
    text += row.key;
    text += ": ";
    text += row.display_name;
    text += line_end;
  }
  return text;
}

}  // namespace markwright
