// Inputs that once crashed or stalled a reader (found by fuzzing), kept in tests/fuzz/regressions
// and named <fuzzer>_<what> after the fuzzer that found them (fuzz/<fuzzer>_fuzzer.cpp): each is
// replayed as that fuzzer feeds it and gives chapters or a failure that names the file. A name
// that matches no fuzzer fails, so that no kept input is silently left unread.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/error.h"
#include "core/frame_times.h"
#include "readers/audacity_reader.h"
#include "readers/bluray_reader.h"
#include "readers/celltimes_reader.h"
#include "readers/cue_reader.h"
#include "readers/dvd_reader.h"
#include "readers/fcpxml_reader.h"
#include "readers/ffmetadata_reader.h"
#include "readers/hddvd_reader.h"
#include "readers/matroska_file.h"
#include "readers/matroska_xml_reader.h"
#include "readers/ogg_reader.h"
#include "readers/podcast_json_reader.h"
#include "readers/podlove_reader.h"
#include "readers/premiere_markers_reader.h"
#include "readers/resolve_edl_reader.h"
#include "readers/time_list_reader.h"
#include "readers/webvtt_reader.h"
#include "support/menu_from_lines.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;

// One step of a replay: it reads, or fails with a message that names the file (and says "did
// not finish" exactly for the inputs kept because a reader never finished on them).
void Step(const fs::path& file, const std::function<void()>& step) {
  try {
    step();
  } catch (const ReadError& error) {
    const std::string message = error.what();
    EXPECT_TRUE(message.starts_with(file.string() + ": ")) << message;
    EXPECT_EQ(message.find("did not finish") != std::string::npos,
              file.filename().string().find("endless_loop") != std::string::npos)
        << message;
  }
}

// Each fuzzer's way of feeding its bytes to the readers (fuzz/<name>_fuzzer.cpp).
using Replay = std::function<void(const fs::path& f, const std::string& b)>;
const std::vector<std::pair<std::string, Replay>>& Fuzzers() {
  static const std::vector<std::pair<std::string, Replay>> fuzzers = {
      {"bluray",
       [](const fs::path& f, const std::string& b) {
         Step(f, [&] { ParseBluRayPlaylist(b, f.string()); });
       }},
      {"celltimes",
       [](const fs::path& f, const std::string& b) {
         for (const double rate : {24 / 1.001, 25.0, 1.0})
           Step(f, [&] { ParseCelltimes(b, f.string(), rate); });
       }},
      {"dvd",
       [](const fs::path& f, const std::string& b) {
         testing::MenuFromLines menu(b);
         Step(f, [&] {
           if (b.starts_with("DVDV")) {
             // Short: on the kept title set the library never finishes.
             ReadDvdTitleSet(f, std::chrono::seconds(2));
           } else {
             CountMenuChapters(menu, f.string());
             ReadMenuChapters(menu, f.string());
           }
         });
       }},
      {"ffmetadata",
       [](const fs::path& f, const std::string& b) {
         Step(f, [&] { ParseFfmetadata(b, f.string()); });
       }},
      {"hddvd",
       [](const fs::path& f, const std::string& b) {
         Step(f, [&] {
           const HdDvdPlaylist playlist = DecodeHdDvdPlaylist(b, f.string());
           HdDvdTitleChapters(playlist, ChooseHdDvdTitle(playlist), f.string());
         });
       }},
      {"matroska_xml",
       [](const fs::path& f, const std::string& b) {
         IsMatroskaChaptersXml(b);
         Step(f, [&] { ParseMatroskaChapters(b, f.string()); });
       }},
      {"matroska_file",
       [](const fs::path& f, const std::string& b) {
         Step(f, [&] {
           if (const auto file = ReadMatroskaBytes(b, f.string())) DefaultEdition(*file);
         });
       }},
      {"timestamp_file",
       [](const fs::path& f, const std::string& b) {
         Step(f, [&] {
           const FrameClock clock(
               std::make_shared<const FrameTimes>(ParseFrameTimes(b, f.string())));
           for (const std::int64_t milliseconds : {0LL, 10'520LL, 900'000'000'000LL}) {
             try {
               clock.FrameAt(milliseconds, FrameTie::kEven);
             } catch (const Error& error) {
               EXPECT_EQ(dynamic_cast<const ReadError*>(&error), nullptr) << error.what();
             }
           }
         });
       }},
      {"ogg", [](const fs::path& f,
                 const std::string& b) { Step(f, [&] { ParseOggChapters(b, f.string()); }); }},
      {"webvtt", [](const fs::path& f,
                    const std::string& b) { Step(f, [&] { ParseWebVtt(b, f.string()); }); }},
      {"resolve_edl",
       [](const fs::path& f, const std::string& b) {
         for (const double rate : {30 / 1.001, 25.0})
           Step(f, [&] { ParseResolveEdl(b, f.string(), rate); });
       }},
      {"premiere_markers",
       [](const fs::path& f, const std::string& b) {
         for (const double rate : {60 / 1.001, 24.0})
           Step(f, [&] { ParsePremiereMarkers(b, f.string(), rate); });
       }},
      {"fcpxml", [](const fs::path& f,
                    const std::string& b) { Step(f, [&] { ParseFcpxml(b, f.string()); }); }},
      {"podlove",
       [](const fs::path& f, const std::string& b) {
         Step(f, [&] { ParsePodloveChapters(b, f.string()); });
       }},
      {"podcast_json",
       [](const fs::path& f, const std::string& b) {
         Step(f, [&] { ParsePodcastJsonChapters(b, f.string()); });
       }},
      {"cue", [](const fs::path& f,
                 const std::string& b) { Step(f, [&] { ParseCueSheet(b, f.string()); }); }},
      {"audacity",
       [](const fs::path& f, const std::string& b) {
         Step(f, [&] { ParseAudacityLabels(b, f.string()); });
       }},
      {"time_list", [](const fs::path& f,
                       const std::string& b) { Step(f, [&] { ParseTimeList(b, f.string()); }); }},
  };
  return fuzzers;
}

TEST(FuzzRegressions, EveryKeptInputFailsCleanlyOrReads) {
  const auto folder = fs::path(MARKWRIGHT_SOURCE_DIR) / "tests/fuzz/regressions";
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    const auto fuzzer = std::ranges::find_if(
        Fuzzers(), [&](const auto& f) { return name.starts_with(f.first + "_"); });
    if (fuzzer == Fuzzers().end()) {
      ADD_FAILURE() << name << ": named after no fuzzer (<fuzzer>_<what>)";
      continue;
    }
    fuzzer->second(entry.path(), markwright::testing::ReadFile(entry.path()));
  }
}

// Every fuzzer has its replay here: a new fuzzer's finds cannot be kept unread.
TEST(FuzzRegressions, KnowsEveryFuzzer) {
  for (const auto& entry : fs::directory_iterator(fs::path(MARKWRIGHT_SOURCE_DIR) / "fuzz")) {
    const std::string name = entry.path().filename().string();
    if (!name.ends_with("_fuzzer.cpp")) continue;
    const std::string fuzzer = name.substr(0, name.size() - std::string_view("_fuzzer.cpp").size());
    EXPECT_TRUE(std::ranges::any_of(Fuzzers(), [&](const auto& f) { return f.first == fuzzer; }))
        << fuzzer;
  }
}

}  // namespace
}  // namespace markwright
