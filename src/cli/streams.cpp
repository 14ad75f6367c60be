#include "cli/streams.h"

#include <chrono>
#include <future>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <utility>

#include "cli/messages.h"
#include "core/decimal.h"
#include "core/error.h"
#include "readers/disc_scan.h"
#include "readers/hddvd_reader.h"
#include "readers/input_kind.h"
#include "readers/load_chapters.h"
#include "readers/media_file_reader.h"
#include "readers/source_file.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;

std::string StemOf(const std::string& file_name) {
  std::string stem = fs::path(file_name).stem().string();
  // A title set's files are VTS_nn_0.IFO to VTS_nn_9.VOB; the set itself is VTS_nn.
  if (stem.size() > 2 && stem.ends_with("_0")) stem.resize(stem.size() - 2);
  return stem;
}

// The HD DVD playlist read last. A playlist's titles follow one another in the list, so with it
// each playlist is read once, not once for each of its titles: listing or converting every title
// of a playlist then takes a time that grows with the playlist's size, not with its square.
class LastPlaylist {
 public:
  const HdDvdPlaylist& Read(const fs::path& path) {
    if (!playlist_ || path_ != path) {
      playlist_.reset();  // the earlier one goes first: only one is held at a time
      playlist_ = ReadHdDvdPlaylist(path);
      path_ = path;
    }
    return *playlist_;
  }

 private:
  fs::path path_;
  std::optional<HdDvdPlaylist> playlist_;
};

std::vector<Stream> StreamsOf(const DiscScan& found) {
  const auto scan = std::make_shared<const DiscScan>(found);
  const auto last_playlist = std::make_shared<LastPlaylist>();
  std::vector<Stream> streams;
  for (std::size_t i = 0; i < scan->streams.size(); ++i) {
    const DiscStream& entry = scan->streams[i];
    Stream stream{DiscStreamSource(entry), StemOf(entry.file_name), nullptr, nullptr, std::nullopt};
    if (entry.title > 0) stream.file_stem += "_title" + std::to_string(entry.title);
    stream.load = [scan, i](double input_rate, double output_rate) {
      return LoadChapters(*scan, scan->streams[i], input_rate, output_rate);
    };
    stream.list = stream.load;
    if (scan->layout.kind == DiscKind::kHdDvd) {
      const auto read_title = [scan, i, last_playlist](bool listing, double input_rate,
                                                       double output_rate) {
        const fs::path path = scan->layout.stream_folder / scan->streams[i].file_name;
        const HdDvdPlaylist& playlist = [&]() -> const HdDvdPlaylist& {
          try {
            return last_playlist->Read(path);
          } catch (const std::bad_alloc&) {
            throw ReadError(path.string(), "", "not enough memory");
          }
        }();
        const std::int32_t title = scan->streams[i].title;
        LoadedChapters loaded;
        loaded.chapters = listing ? ListHdDvdTitle(playlist, title, path.string())
                                  : HdDvdTitleChapters(playlist, title, path.string());
        loaded.retimed = RetimeChaptersOf(path, loaded.chapters, input_rate, output_rate);
        return loaded;
      };
      stream.load = [read_title](double input_rate, double output_rate) {
        return read_title(false, input_rate, output_rate);
      };
      stream.list = [read_title](double input_rate, double output_rate) {
        return read_title(true, input_rate, output_rate);
      };
    }
    streams.push_back(std::move(stream));
  }
  return streams;
}

// A Matroska chapter XML file: one stream per edition when it holds several, each read with the
// choice of edition, nesting and language; else the file itself, read with that choice.
std::vector<Stream> StreamsOfMatroskaXml(const fs::path& path, const MatroskaXmlChoice& reading) {
  const std::string name = path.filename().string();
  const auto bytes = std::make_shared<const std::string>(ReadSourceFile(path));
  const MatroskaXmlEditions found = ListMatroskaXmlEditions(*bytes, path.string());
  const auto loader = [bytes, path](const MatroskaXmlChoice& choice) {
    return [bytes, path, choice](double input_rate, double output_rate) {
      LoadedChapters loaded;
      loaded.chapters = ParseMatroskaChapters(*bytes, path.string(), choice);
      loaded.retimed = RetimeChaptersOf(path, loaded.chapters, input_rate, output_rate);
      return loaded;
    };
  };
  MatroskaXmlChoice listing = reading;
  listing.allow_empty = true;
  if (found.editions.size() < 2) {
    return {{name, StemOf(name), loader(reading), loader(listing), std::nullopt}};
  }
  std::vector<Stream> streams;
  for (std::size_t i = 0; i < found.editions.size(); ++i) {
    const std::string number = std::to_string(i + 1);
    std::string source = name;
    source.append(" edition ").append(number);
    MatroskaXmlChoice chosen = reading;
    chosen.edition = listing.edition = i;
    streams.push_back({std::move(source), StemOf(name).append("_edition").append(number),
                       loader(chosen), loader(listing), found.editions[i]});
  }
  return streams;
}

// A Matroska or WebM file with several editions: one stream per edition, from one answer of the
// reading child; any other media file as itself.
std::vector<Stream> StreamsOfMediaFile(const fs::path& path, const MatroskaXmlChoice& reading) {
  const std::string name = path.filename().string();
  const auto answer = std::make_shared<const MediaInfoAnswer>(AskAboutMediaFile(path, reading));
  const std::vector<MatroskaXmlEdition> editions = MediaFileEditions(*answer);
  const auto loader = [answer, path](std::optional<std::size_t> edition, bool listing) {
    return [answer, path, edition, listing](double input_rate, double output_rate) {
      LoadedChapters loaded;
      loaded.chapters = MediaFileTitle(*answer, path.string(), edition, listing);
      loaded.retimed = RetimeChaptersOf(path, loaded.chapters, input_rate, output_rate);
      return loaded;
    };
  };
  const std::size_t menus = MediaFileMenuCount(*answer);
  if (menus > 1) {
    // Every chapter menu of the file is a stream, an empty one too.
    std::vector<Stream> streams;
    for (std::size_t i = 0; i < menus; ++i) {
      const std::string number = std::to_string(i + 1);
      std::string source = name;
      source.append(" menu ").append(number);
      streams.push_back({std::move(source), StemOf(name).append("_menu").append(number),
                         loader(i, false), loader(i, true), std::nullopt});
      streams.back().menu = true;
      streams.back().read_by_default = i == DefaultMediaFileMenu(*answer);
    }
    return streams;
  }
  if (editions.size() < 2) {
    return {{name, StemOf(name), loader(std::nullopt, false), loader(std::nullopt, true),
             std::nullopt}};
  }
  std::vector<Stream> streams;
  for (std::size_t i = 0; i < editions.size(); ++i) {
    const std::string number = std::to_string(i + 1);
    std::string source = name;
    source.append(" edition ").append(number);
    streams.push_back({std::move(source), StemOf(name).append("_edition").append(number),
                       loader(i, false), loader(i, true), editions[i]});
  }
  return streams;
}

std::vector<Stream> StreamsOfFile(const fs::path& path, const MatroskaXmlChoice& reading) {
  const std::string name = path.filename().string();
  DiscScan scan{{DiscKind::kBluRay, path.parent_path()}, {{name, name, 0}}, {}};
  switch (DetectInputKind(path)) {
    case InputKind::kBluRayPlaylist:
      return StreamsOf(scan);
    case InputKind::kDvdTitleSet:
      scan.layout.kind = DiscKind::kDvd;
      return StreamsOf(scan);
    case InputKind::kHdDvdPlaylist: {
      scan.layout.kind = DiscKind::kHdDvd;
      scan.streams.clear();
      const std::size_t titles = ReadHdDvdPlaylist(path).titles.size();
      for (std::size_t title = 1; title <= titles; ++title) {
        scan.streams.push_back({name, name, static_cast<std::int32_t>(title)});
      }
      return StreamsOf(scan);
    }
    case InputKind::kMatroskaXml:
      return StreamsOfMatroskaXml(path, reading);
    case InputKind::kMediaFile:
      return StreamsOfMediaFile(path, reading);
    default:
      break;
  }
  const auto load = [path](double input_rate, double output_rate) {
    return LoadChapters(path, input_rate, output_rate);
  };
  return {{name, StemOf(name), load, load, std::nullopt}};
}

// The scan is one call; on a terminal it runs beside a wait that draws the progress line once
// it has taken a second (a disc's title sets are each read by a child process).
DiscScan ScanWithProgress(const fs::path& folder, ProgressLine& progress) {
  if (!progress.Enabled()) return ScanDiscFolder(folder);
  auto scan = std::async(std::launch::async, [&folder] { return ScanDiscFolder(folder); });
  while (scan.wait_for(std::chrono::milliseconds(250)) != std::future_status::ready) {
    progress.Show("scanning " + folder.string() + " ...");
  }
  progress.Clear();
  return scan.get();
}

}  // namespace

std::vector<Stream> FindStreams(const fs::path& input, std::ostream& errors, ProgressLine& progress,
                                const MatroskaXmlChoice& reading) {
  std::error_code error;
  if (!fs::is_directory(input, error)) return StreamsOfFile(input, reading);
  const DiscScan scan = ScanWithProgress(input, progress);
  for (const std::string& failure : scan.left_out) PrintMessage(errors, "left out: " + failure);
  return StreamsOf(scan);
}

std::size_t DefaultStream(const std::vector<Stream>& streams) {
  for (std::size_t i = 0; i < streams.size(); ++i) {
    if ((streams[i].edition && streams[i].edition->is_default) || streams[i].read_by_default) {
      return i;
    }
  }
  return 0;
}

std::size_t ChosenStream(const std::string& text, std::size_t count) {
  if (text.empty()) throw Refusal("option --stream needs a value");
  const auto number = ParseDigits(text);
  if (!number || *number < 1 || static_cast<std::size_t>(*number) > count) {
    throw Refusal("there is no stream " + text + ": the input holds " + std::to_string(count) +
                  " (see --list)");
  }
  return static_cast<std::size_t>(*number) - 1;
}

}  // namespace markwright
