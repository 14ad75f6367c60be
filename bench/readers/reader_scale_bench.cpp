// Every text reader on 1, 10 and 100 MB of the inputs that cost it most: many chapters, and the
// long runs of one character (an '&' that starts no reference, a repeated attribute) that once
// made a reader search the rest of the text again at each character. A reader's time must grow
// with its input's size: 100 MB may take at most twelve times as long as 10 MB, which the
// report's bytes_per_second shows at a glance (equal throughput is linear time).
//
// Build and run (release), one reader or pattern at a time with --benchmark_filter=HdDvd:
//   cmake -S . -B build-bench -DMARKWRIGHT_BENCH=ON
//   cmake --build build-bench -j2 --target markwright_reader_bench
//   build-bench/bench/markwright_reader_bench
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

#include "readers/audacity_reader.h"
#include "readers/celltimes_reader.h"
#include "readers/cue_reader.h"
#include "readers/fcpxml_reader.h"
#include "readers/ffmetadata_reader.h"
#include "readers/hddvd_reader.h"
#include "readers/matroska_xml_reader.h"
#include "readers/ogg_reader.h"
#include "readers/podcast_json_reader.h"
#include "readers/podlove_reader.h"
#include "readers/premiere_markers_reader.h"
#include "readers/resolve_edl_reader.h"
#include "readers/time_list_reader.h"
#include "readers/webvtt_reader.h"

namespace markwright {
namespace {

constexpr std::size_t kMegabyte = 1'000'000;

// Repeats item(i) for i = 0, 1, ... until the text, between head and tail, holds size bytes.
std::string Fill(std::size_t size, std::string_view head, std::string_view tail,
                 const std::function<std::string(std::size_t)>& item) {
  std::string text(head);
  text.reserve(size + 256);
  for (std::size_t i = 0; text.size() + tail.size() < size; ++i) text += item(i);
  text += tail;
  return text;
}

std::string Repeated(std::size_t size, std::string_view head, std::string_view unit,
                     std::string_view tail) {
  return Fill(size, head, tail, [&](std::size_t) { return std::string(unit); });
}

// A chapter name of about 70 bytes, so that 100 MB stays below the million-chapter limit.
std::string Name(std::size_t i) {
  return "Chapter " + std::to_string(i) + " - a name as long as real names sometimes are ....";
}

std::string Clock(std::size_t i, const char* format) {
  char text[32];
  const std::size_t seconds = i % 360'000;
  std::snprintf(text, sizeof text, format, seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

// glibc hands blocks above 32 MB back to the system when they are freed, so every reading of
// 100 MB would fault its memory in afresh while smaller ones reuse theirs: a cost of the
// allocator, not of the reader, that would hide how the reader's own time grows. Memory is kept.
const bool kMemoryKept = [] {
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
  return true;
}();

void Run(benchmark::State& state, const std::function<std::string(std::size_t)>& make,
         const std::function<void(std::string_view)>& read) {
  const std::string text = make(static_cast<std::size_t>(state.range(0)) * kMegabyte);
  try {
    read(text);  // untimed: the memory a reading needs is the process's before the timed ones
    for (auto _ : state) read(text);
  } catch (const std::exception& error) {
    state.SkipWithError(error.what());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

#define READER_BENCHMARK(name, make, read) \
  void name(benchmark::State& state) {     \
    Run(state, make, read);                \
  }                                        \
  BENCHMARK(name)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)

// OGG chapter text.
void ReadOgg(std::string_view text) {
  benchmark::DoNotOptimize(ParseOggChapters(text, "bench.txt"));
}
READER_BENCHMARK(
    BM_OggChapters,
    [](std::size_t size) {
      return Fill(size, "", "", [](std::size_t i) {
        const std::string number = std::to_string(i + 1);
        return "CHAPTER" + number + "=" + Clock(i, "%02zu:%02zu:%02zu.000") + "\r\nCHAPTER" +
               number + "NAME=" + Name(i) + "\r\n";
      });
    },
    ReadOgg);
READER_BENCHMARK(
    BM_OggLongName,
    [](std::size_t size) {
      return Repeated(size, "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=", ".=&", "\r\n");
    },
    ReadOgg);

// Celltimes: a frame number per line, with a long fraction so that 100 MB stays below the limit.
void ReadCelltimesText(std::string_view text) {
  benchmark::DoNotOptimize(ParseCelltimes(text, "bench.txt", 25));
}
READER_BENCHMARK(
    BM_CelltimesFrames,
    [](std::size_t size) {
      return Fill(size, "", "", [](std::size_t i) {
        return std::to_string(i * 25) +
               ".000000000000000000000000000000000000000000000000000000000000"
               "000000000000000000000000000000000000000000\r\n";
      });
    },
    ReadCelltimesText);

// Matroska chapter XML.
void ReadMatroska(std::string_view text) {
  benchmark::DoNotOptimize(ParseMatroskaChapters(text, "bench.xml"));
}
constexpr std::string_view kMatroskaHead =
    "<?xml version=\"1.0\"?>\n<Chapters><EditionEntry><ChapterAtom>"
    "<ChapterTimeStart>0</ChapterTimeStart>";
constexpr std::string_view kMatroskaTail = "</ChapterAtom></EditionEntry></Chapters>\n";
READER_BENCHMARK(
    BM_MatroskaChapters,
    [](std::size_t size) {
      return Fill(size, "<?xml version=\"1.0\"?>\n<Chapters><EditionEntry>\n",
                  "</EditionEntry></Chapters>\n", [](std::size_t i) {
                    return "<ChapterAtom><ChapterTimeStart>" +
                           Clock(i, "%02zu:%02zu:%02zu.000000000") +
                           "</ChapterTimeStart><ChapterDisplay><ChapterString>" + Name(i) +
                           "</ChapterString></ChapterDisplay></ChapterAtom>\n";
                  });
    },
    ReadMatroska);
READER_BENCHMARK(
    BM_MatroskaAmpersandName,
    [](std::size_t size) {
      return Repeated(size, std::string(kMatroskaHead) + "<ChapterDisplay><ChapterString>", "&",
                      "</ChapterString></ChapterDisplay>" + std::string(kMatroskaTail));
    },
    ReadMatroska);
READER_BENCHMARK(
    BM_MatroskaRepeatedAttribute,
    [](std::size_t size) {
      return Repeated(size, std::string(kMatroskaHead) + "<ChapterDisplay a=\"1\"", " a=\"1\"",
                      "/>" + std::string(kMatroskaTail));
    },
    ReadMatroska);

// HD DVD playlists: decoded, then the most chapters' title loaded.
void ReadHdDvd(std::string_view text) {
  const HdDvdPlaylist playlist = DecodeHdDvdPlaylist(text, "bench.xpl");
  benchmark::DoNotOptimize(HdDvdTitleChapters(playlist, ChooseHdDvdTitle(playlist), "bench.xpl"));
}
constexpr std::string_view kXplHead =
    "<?xml version=\"1.0\"?>\n<Playlist><Title titleDuration=\"01:00:00:00\"><ChapterList>\n";
constexpr std::string_view kXplTail = "</ChapterList></Title></Playlist>\n";
READER_BENCHMARK(
    BM_HdDvdChapters,
    [](std::size_t size) {
      return Fill(size, kXplHead, kXplTail, [](std::size_t i) {
        return "<Chapter titleTimeBegin=\"" + Clock(i, "%02zu:%02zu:%02zu:00") +
               "\" displayName=\"" + Name(i) + "\"/>\n";
      });
    },
    ReadHdDvd);
READER_BENCHMARK(
    BM_HdDvdAmpersandName,
    [](std::size_t size) {
      return Repeated(size,
                      std::string(kXplHead) +
                          "<Chapter titleTimeBegin=\"00:00:00:00\" "
                          "displayName=\"",
                      "&", "\"/>\n" + std::string(kXplTail));
    },
    ReadHdDvd);
// One element holding every chapter, each with a padding attribute: about 100 bytes a chapter.
READER_BENCHMARK(
    BM_HdDvdRepeatedAttributes,
    [](std::size_t size) {
      return Repeated(
          size, std::string(kXplHead) + "<Chapter displayName=\"one\"",
          " titleTimeBegin=\"00:00:01:00\" pad=\"........................................"
          "........................................\"",
          "/>\n" + std::string(kXplTail));
    },
    ReadHdDvd);

// ffmpeg metadata.
void ReadFfmetadata(std::string_view text) {
  benchmark::DoNotOptimize(ParseFfmetadata(text, "bench.txt"));
}
READER_BENCHMARK(
    BM_FfmetadataChapters,
    [](std::size_t size) {
      return Fill(size, ";FFMETADATA1\n", "", [](std::size_t i) {
        return "[CHAPTER]\nTIMEBASE=1/1000\nSTART=" + std::to_string(i * 1000) +
               "\nEND=" + std::to_string(i * 1000 + 1000) + "\ntitle=" + Name(i) + "\n";
      });
    },
    ReadFfmetadata);
READER_BENCHMARK(
    BM_FfmetadataEscapedTitle,
    [](std::size_t size) {
      return Repeated(size, ";FFMETADATA1\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=1\ntitle=",
                      "\\=\\;\\#\\\\\\\n", "\n");
    },
    ReadFfmetadata);

// WebVTT.
void ReadWebVtt(std::string_view text) {
  benchmark::DoNotOptimize(ParseWebVtt(text, "bench.vtt"));
}
READER_BENCHMARK(
    BM_WebVttCues,
    [](std::size_t size) {
      return Fill(size, "WEBVTT\n\n", "", [](std::size_t i) {
        return Clock(i, "%02zu:%02zu:%02zu.000") + " --> " + Clock(i + 1, "%02zu:%02zu:%02zu.000") +
               "\n<b>" + Name(i) + "</b> &amp;\n\n";
      });
    },
    ReadWebVtt);
READER_BENCHMARK(
    BM_WebVttAmpersandCue,
    [](std::size_t size) {
      return Repeated(size, "WEBVTT\n\n00:00.000 --> 00:01.000\n", "&", "\n");
    },
    ReadWebVtt);
READER_BENCHMARK(
    BM_WebVttTagAndAmpersand,
    [](std::size_t size) {
      return Repeated(size, "WEBVTT\n\n00:00.000 --> 00:01.000\n", "<b>&", "\n");
    },
    ReadWebVtt);

// Marker EDLs at 29.97 in drop-frame counting.
void ReadResolveEdl(std::string_view text) {
  benchmark::DoNotOptimize(ParseResolveEdl(text, "bench.edl", 30 / 1.001));
}
READER_BENCHMARK(
    BM_ResolveEdlMarkers,
    [](std::size_t size) {
      return Fill(size, "TITLE: Timeline 1\nFCM: DROP FRAME\n\n", "", [](std::size_t i) {
        const std::string in = Clock(i, "%02zu:%02zu:%02zu;02");
        return "001  001      V     C        " + in + " " + in + " " + in + " " + in +
               "  \nA note |C:ResolveColorBlue |M:" + Name(i) + " |D:1\n\n";
      });
    },
    ReadResolveEdl);
READER_BENCHMARK(
    BM_ResolveEdlMarkerSeparators,
    [](std::size_t size) {
      return Repeated(size,
                      "001  001      V     C        01:00:00;00 01:00:00;01 01:00:00;00 "
                      "01:00:00;01\n |C:ResolveColorBlue |M:",
                      " |D:1|M:", "\n");
    },
    ReadResolveEdl);
READER_BENCHMARK(
    BM_ResolveEdlLongEvent,
    [](std::size_t size) { return Repeated(size, "001", " 01:00:00;00", "\n"); }, ReadResolveEdl);

// Premiere Pro marker lists.
void ReadPremiere(std::string_view text) {
  benchmark::DoNotOptimize(ParsePremiereMarkers(text, "bench.csv", 25));
}
constexpr std::string_view kPremiereHead =
    "Marker Name\tDescription\tIn\tOut\tDuration\tMarker Type\r\n";
READER_BENCHMARK(
    BM_PremiereMarkers,
    [](std::size_t size) {
      return Fill(size, kPremiereHead, "", [](std::size_t i) {
        const std::string in = Clock(i, "%02zu:%02zu:%02zu:00");
        return Name(i) + "\t\t" + in + "\t" + in + "\t00:00:00:00\tComment\r\n";
      });
    },
    ReadPremiere);
READER_BENCHMARK(
    BM_PremiereManyFields,
    [](std::size_t size) {
      return Repeated(size, std::string(kPremiereHead) + "Name\t\t00:00:01:00", "\t", "\r\n");
    },
    ReadPremiere);

// Final Cut Pro XML: many markers on one gap, and clips nested in clips.
void ReadFcpxml(std::string_view text) {
  benchmark::DoNotOptimize(ParseFcpxml(text, "bench.fcpxml"));
}
READER_BENCHMARK(
    BM_FcpxmlMarkers,
    [](std::size_t size) {
      return Fill(size,
                  "<fcpxml version=\"1.9\"><library><event><project><sequence><spine>"
                  "<gap offset=\"0s\" start=\"0s\">\n",
                  "</gap></spine></sequence></project></event></library></fcpxml>\n",
                  [](std::size_t i) {
                    return "<chapter-marker start=\"" + std::to_string(i * 1001) +
                           "/30000s\" duration=\"1001/30000s\" value=\"" + Name(i) + "\"/>\n";
                  });
    },
    ReadFcpxml);
READER_BENCHMARK(
    BM_FcpxmlNestedClips,
    [](std::size_t size) {
      const std::string clip =
          "<clip name=\"a clip name that keeps 100 MB below the chapter limit\" offset=\"1/3s\" "
          "start=\"1001/30000s\"><chapter-marker start=\"1/3s\"/>";
      const std::size_t clips = size / (clip.size() + 7);
      std::string text = "<fcpxml><library><event><project><sequence><spine>";
      text.reserve(size + 128);
      for (std::size_t i = 0; i < clips; ++i) text += clip;
      for (std::size_t i = 0; i < clips; ++i) text += "</clip>";
      return text + "</spine></sequence></project></event></library></fcpxml>\n";
    },
    ReadFcpxml);
// Time lists: many chapter lines; one long line that opens a bracket and never closes it; many
// lines without a time, whose notes stop at ten.
void ReadTimeList(std::string_view text) {
  benchmark::DoNotOptimize(ParseTimeList(text, "bench.txt"));
}
READER_BENCHMARK(
    BM_TimeList,
    [](std::size_t size) {
      return Fill(size, "", "", [](std::size_t i) {
        return Clock(i, "%zu:%02zu:%02zu") + " - " + Name(i) +
               ", and more to stay below the limit\n";
      });
    },
    ReadTimeList);
READER_BENCHMARK(
    BM_TimeListOpenBracket,
    [](std::size_t size) { return Repeated(size, "0:00 Start\n[", "1:00:00", "\n"); },
    ReadTimeList);
READER_BENCHMARK(
    BM_TimeListLinesWithoutTime,
    [](std::size_t size) { return Repeated(size, "0:00 Start\n", "no time here\n", ""); },
    ReadTimeList);

// CUE sheets: a track per chapter; one long TITLE full of quotes.
void ReadCue(std::string_view text) {
  benchmark::DoNotOptimize(ParseCueSheet(text, "bench.cue"));
}
READER_BENCHMARK(
    BM_CueTracks,
    [](std::size_t size) {
      return Fill(size, "FILE \"a.wav\" WAVE\n", "", [](std::size_t i) {
        return "  TRACK 01 AUDIO\n    TITLE \"" + Name(i) + "\"\n    INDEX 01 " +
               Clock(i, "%02zu:%02zu:%02zu") + "\n";
      });
    },
    ReadCue);
READER_BENCHMARK(
    BM_CueQuotedTitle,
    [](std::size_t size) {
      return Repeated(size, "FILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n    TITLE \"", "\"",
                      "\n    INDEX 01 00:00:00\n");
    },
    ReadCue);

// Audacity labels: a label per chapter.
void ReadAudacity(std::string_view text) {
  benchmark::DoNotOptimize(ParseAudacityLabels(text, "bench.txt"));
}
READER_BENCHMARK(
    BM_AudacityLabels,
    [](std::size_t size) {
      return Fill(size, "", "", [](std::size_t i) {
        const std::string seconds = std::to_string(i) + ".500000";
        return seconds + "\t" + seconds + "\t" + Name(i) + " and a little more\n";
      });
    },
    ReadAudacity);

// Podlove and Podcasting 2.0 JSON: a chapter each; a title of ampersands.
void ReadPodlove(std::string_view text) {
  benchmark::DoNotOptimize(ParsePodloveChapters(text, "bench.xml"));
}
READER_BENCHMARK(
    BM_PodloveChapters,
    [](std::size_t size) {
      return Fill(size, "<psc:chapters xmlns:psc=\"http://podlove.org/simple-chapters\">\n",
                  "</psc:chapters>\n", [](std::size_t i) {
                    return "<psc:chapter start=\"" + Clock(i, "%02zu:%02zu:%02zu.000") +
                           "\" title=\"" + Name(i) + "\" href=\"http://example.org/\"/>\n";
                  });
    },
    ReadPodlove);
READER_BENCHMARK(
    BM_PodloveAmpersandTitle,
    [](std::size_t size) {
      return Repeated(size, "<psc:chapters><psc:chapter start=\"0\" title=\"", "&amp;",
                      "\"/></psc:chapters>");
    },
    ReadPodlove);
void ReadPodcastJson(std::string_view text) {
  benchmark::DoNotOptimize(ParsePodcastJsonChapters(text, "bench.json"));
}
READER_BENCHMARK(
    BM_PodcastJsonChapters,
    [](std::size_t size) {
      return Fill(size, "{\"version\": \"1.2.0\", \"chapters\": [\n", "{\"startTime\": 0}]}\n",
                  [](std::size_t i) {
                    return "{\"startTime\": " + std::to_string(i) + ".25, \"title\": \"" + Name(i) +
                           "\", \"url\": \"http://example.org/\"},\n";
                  });
    },
    ReadPodcastJson);

}  // namespace
}  // namespace markwright
