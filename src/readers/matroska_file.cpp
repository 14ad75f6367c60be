#include "readers/matroska_file.h"

#include <ebml/EbmlHead.h>
#include <ebml/EbmlStream.h>
#include <ebml/EbmlSubHead.h>
#include <ebml/MemIOCallback.h>
#include <ebml/StdIOCallback.h>
#include <matroska/KaxChapters.h>
#include <matroska/KaxCluster.h>
#include <matroska/KaxContexts.h>
#include <matroska/KaxInfo.h>
#include <matroska/KaxInfoData.h>
#include <matroska/KaxSeekHead.h>
#include <matroska/KaxSegment.h>
#include <matroska/KaxSemantic.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <memory>

#include "core/ascii_case.h"
#include "core/error.h"
#include "readers/chapter_limit.h"
#include "readers/language_codes.h"

namespace markwright {
namespace {

using libebml::EbmlElement;
using libebml::EbmlSemanticContext;
using libebml::IOCallback;
namespace mk = libmatroska;

// Chapter starts from 2^53 ns on (104 days) are no times a title has; the model's arithmetic
// stays exact below.
constexpr std::uint64_t kLargestStart = std::uint64_t{1} << 53;
// An element's ID takes up to 4 bytes, its size up to 8.
constexpr std::uint64_t kLongestHeader = 12;

// Reads elements in turn through libebml, each one's place and size checked against the file and
// against the element that holds it before anything of it is read.
class ElementReader {
 public:
  ElementReader(IOCallback& io, std::uint64_t size, std::string_view source_name)
      : io_(io), stream_(io), size_(size), source_name_(source_name) {}

  std::uint64_t size() const { return size_; }
  std::uint64_t Position() { return io_.getFilePointer(); }
  void MoveTo(std::uint64_t position) { io_.setFilePointer(static_cast<std::int64_t>(position)); }

  // The element at the current position, which must end by end; nullptr at end. An element of
  // unknown size, or one running past the end of the file, is given only where open is true (the
  // Segment and its top-level elements); the caller decides.
  std::unique_ptr<EbmlElement> Next(const EbmlSemanticContext& context, std::uint64_t end,
                                    bool open = false) {
    const std::uint64_t at = Position();
    if (at >= end || at >= size_) return nullptr;
    int upper = 0;
    // Sizes are checked here, against the file and the holder, not by libebml.
    std::unique_ptr<EbmlElement> element(stream_.FindNextElement(
        context, upper, std::numeric_limits<std::uint64_t>::max(), /*AllowDummyElt=*/true));
    // libebml skips bytes it cannot read as an element header, up to the end of the file. In
    // the Segment's top level that ends the walk: damage after the chapters does not cost them.
    const bool found = element && element->GetElementPosition() == at;
    if (open) return found ? std::move(element) : nullptr;
    if (!found) {
      if (size_ - at < kLongestHeader) throw Cut(at);
      throw Damaged(at, "no element");
    }
    if (!element->IsFiniteSize()) throw Damaged(at, "an element of unknown size");
    if (End(*element) > end) {
      if (End(*element) > size_) throw Cut(at);
      throw Damaged(at, "an element runs past the one holding it");
    }
    return element;
  }

  // Where the element's data ends; the end of the file for one of unknown size.
  std::uint64_t End(const EbmlElement& element) const {
    if (!element.IsFiniteSize()) return size_;
    const std::uint64_t data = element.GetElementPosition() + element.HeadSize();
    return element.GetSize() > size_ - std::min(data, size_) ? size_ + 1 : data + element.GetSize();
  }
  bool Fits(const EbmlElement& element) const {
    return element.IsFiniteSize() && End(element) <= size_;
  }

  void SkipTo(const EbmlElement& element) { MoveTo(End(element)); }
  void MoveIntoData(const EbmlElement& element) {
    MoveTo(element.GetElementPosition() + element.HeadSize());
  }

  // A value element read whole; the position then after it.
  template <typename Value>
  Value& Read(EbmlElement& element) {
    element.ReadData(io_, libebml::SCOPE_ALL_DATA);
    SkipTo(element);
    return static_cast<Value&>(element);
  }

  // A string element's bytes up to its first NUL (the format pads with them). Read here rather
  // than by libebml, which leaks its buffer when a UTF-8 string is invalid.
  std::string Text(const EbmlElement& element) {
    MoveIntoData(element);
    std::string text(static_cast<std::size_t>(element.GetSize()), '\0');
    io_.readFully(text.data(), text.size());
    text.resize(std::min(text.size(), text.find('\0')));
    return text;
  }

  // The offset goes into the cause: the reading child passes on only that.
  ReadError Damaged(std::uint64_t at, std::string_view what) const {
    return ReadError(
        source_name_, "",
        AtOffset(at) + ": malformed Matroska file: " + std::string(what) + " (is it damaged?)");
  }
  ReadError Cut(std::uint64_t at) const {
    return ReadError(source_name_, "",
                     "no chapters in the file: it ends inside an element at " + AtOffset(at) +
                         " (is it complete?)");
  }

 private:
  IOCallback& io_;
  libebml::EbmlStream stream_;
  std::uint64_t size_;
  std::string source_name_;
};

template <typename Wanted>
Wanted* As(const std::unique_ptr<EbmlElement>& element) {
  return dynamic_cast<Wanted*>(element.get());
}

// The DocType of the EBML header at the start; empty when there is none to read.
std::string DocType(ElementReader& reader) {
  try {
    const auto head = reader.Next(mk::Context_KaxMatroska, reader.size());
    if (As<libebml::EbmlHead>(head) == nullptr) return "";
    reader.MoveIntoData(*head);
    const std::uint64_t end = reader.End(*head);
    std::string doc_type;
    while (auto child = reader.Next(EBML_CLASS_CONTEXT(libebml::EbmlHead), end)) {
      if (As<libebml::EDocType>(child) != nullptr) {
        doc_type = reader.Text(*child);
      } else {
        reader.SkipTo(*child);
      }
    }
    reader.MoveTo(end);
    return doc_type;
  } catch (const std::exception&) {
    return "";
  }
}

std::optional<double> DurationMilliseconds(ElementReader& reader, const EbmlElement& info) {
  const std::uint64_t end = reader.End(info);
  reader.MoveIntoData(info);
  std::uint64_t scale = 1'000'000;
  std::optional<double> duration;
  while (auto child = reader.Next(EBML_CLASS_CONTEXT(mk::KaxInfo), end)) {
    if (As<mk::KaxTimecodeScale>(child) != nullptr) {
      scale = std::uint64_t(reader.Read<mk::KaxTimecodeScale>(*child));
    } else if (As<mk::KaxDuration>(child) != nullptr) {
      duration = double(reader.Read<mk::KaxDuration>(*child));
    } else {
      reader.SkipTo(*child);
    }
  }
  if (!duration) return std::nullopt;
  const double milliseconds = *duration * static_cast<double>(scale) / 1e6;
  // The timestamp scale is never 0 in a valid file; no length rather than a wrong one.
  if (scale == 0 || !std::isfinite(milliseconds) || milliseconds < 0 || milliseconds >= 1e15) {
    return std::nullopt;
  }
  return milliseconds;
}

// The Segment-relative position of the Chapters, as the SeekHead gives it.
std::optional<std::uint64_t> SeekChapters(ElementReader& reader, const EbmlElement& seek_head) {
  const std::uint64_t end = reader.End(seek_head);
  reader.MoveIntoData(seek_head);
  std::optional<std::uint64_t> found;
  while (auto seek = reader.Next(EBML_CLASS_CONTEXT(mk::KaxSeekHead), end)) {
    if (As<mk::KaxSeek>(seek) == nullptr) {
      reader.SkipTo(*seek);
      continue;
    }
    const std::uint64_t seek_end = reader.End(*seek);
    reader.MoveIntoData(*seek);
    bool is_chapters = false;
    std::optional<std::uint64_t> position;
    while (auto child = reader.Next(EBML_CLASS_CONTEXT(mk::KaxSeek), seek_end)) {
      if (As<mk::KaxSeekID>(child) != nullptr) {
        const auto& id = reader.Read<mk::KaxSeekID>(*child);
        const auto& wanted = EBML_ID(mk::KaxChapters);
        is_chapters = id.GetSize() == EBML_ID_LENGTH(wanted) &&
                      libebml::EbmlId(id.GetBuffer(), id.GetSize()) == wanted;
      } else if (As<mk::KaxSeekPosition>(child) != nullptr) {
        position = std::uint64_t(reader.Read<mk::KaxSeekPosition>(*child));
      } else {
        reader.SkipTo(*child);
      }
    }
    if (is_chapters && position && !found) found = position;
  }
  return found;
}

// Nesting deeper than this is not read (and not counted); flattening it is refused.
constexpr int kDeepestNesting = 64;

// One ChapterDisplay: its name, its ChapLanguage codes and its ChapLanguageIETF.
struct Display {
  std::string name;
  std::vector<std::string> languages;
  std::string ietf_language;

  bool Speaks(std::string_view language) const {
    return EqualIgnoringCase(ietf_language, language) ||
           std::ranges::any_of(languages, [&](const std::string& code) {
             return EqualIgnoringCase(code, language);
           });
  }
};

Display ReadDisplay(ElementReader& reader, const EbmlElement& element) {
  const std::uint64_t end = reader.End(element);
  reader.MoveIntoData(element);
  Display display;
  while (auto field = reader.Next(EBML_CLASS_CONTEXT(mk::KaxChapterDisplay), end)) {
    if (As<mk::KaxChapterString>(field) != nullptr && display.name.empty()) {
      display.name = reader.Text(*field);
    } else if (As<mk::KaxChapterLanguage>(field) != nullptr) {
      display.languages.push_back(reader.Text(*field));
    } else if (As<mk::KaxChapLanguageIETF>(field) != nullptr && display.ietf_language.empty()) {
      display.ietf_language = reader.Text(*field);
    } else {
      reader.SkipTo(*field);
    }
  }
  return display;
}

// The atom and the atoms nested in it, counted, not read; damage inside ends the count, since
// nothing of it is converted.
std::size_t CountAtoms(ElementReader& reader, const EbmlElement& atom, int depth) {
  std::size_t count = 1;
  try {
    const std::uint64_t end = reader.End(atom);
    reader.MoveIntoData(atom);
    while (auto child = reader.Next(EBML_CLASS_CONTEXT(mk::KaxChapterAtom), end)) {
      if (As<mk::KaxChapterAtom>(child) != nullptr && depth < kDeepestNesting) {
        count += CountAtoms(reader, *child, depth + 1);
      }
      reader.SkipTo(*child);
    }
  } catch (const Error&) {
  }
  return count;
}

// Reads one atom into chapters: the atom, then (when flattening) its children in time order,
// each followed by its own. Counts what it does not read into edition.
void ReadAtom(ElementReader& reader, const EbmlElement& atom, const MatroskaReading& reading,
              int depth, std::vector<MatroskaChapter>& chapters, MatroskaEdition& edition) {
  const std::uint64_t end = reader.End(atom);
  reader.MoveIntoData(atom);
  MatroskaChapter chapter;
  bool timed = false;
  std::vector<Display> displays;
  std::vector<std::vector<MatroskaChapter>> children;
  while (auto child = reader.Next(EBML_CLASS_CONTEXT(mk::KaxChapterAtom), end)) {
    if (As<mk::KaxChapterTimeStart>(child) != nullptr && !timed) {
      chapter.start_nanoseconds = std::uint64_t(reader.Read<mk::KaxChapterTimeStart>(*child));
      if (chapter.start_nanoseconds >= kLargestStart) {
        throw reader.Damaged(child->GetElementPosition(), "a ChapterTimeStart beyond 104 days");
      }
      timed = true;
    } else if (As<mk::KaxChapterDisplay>(child) != nullptr) {
      displays.push_back(ReadDisplay(reader, *child));
    } else if (As<mk::KaxChapterAtom>(child) != nullptr && depth < kDeepestNesting) {
      if (reading.flatten_nested) {
        children.emplace_back();
        ReadAtom(reader, *child, reading, depth + 1, children.back(), edition);
      } else {
        edition.nested_left_out += CountAtoms(reader, *child, depth + 1);
        reader.SkipTo(*child);
      }
    } else {
      if (As<mk::KaxChapterAtom>(child) != nullptr && reading.flatten_nested) {
        throw reader.Damaged(child->GetElementPosition(), "chapters nested too deep");
      }
      // Flags, UIDs, the end time and the rest.
      reader.SkipTo(*child);
    }
  }
  if (!timed) throw reader.Damaged(atom.GetElementPosition(), "a ChapterAtom without a start");
  if (!displays.empty()) {
    // The display in the language asked for, else the first; ChapLanguageIETF is the newer,
    // fuller form of the language.
    auto chosen = displays.begin();
    if (!reading.language.empty()) {
      const auto speaking = std::ranges::find_if(
          displays, [&](const Display& display) { return display.Speaks(reading.language); });
      if (speaking != displays.end()) chosen = speaking;
    }
    chapter.name = chosen->name;
    const std::string old_language =
        chosen->languages.empty() ? std::string() : chosen->languages.front();
    chapter.language = chosen->ietf_language.empty() ? std::string(TwoLetterLanguage(old_language))
                                                     : chosen->ietf_language;
    if (chapter.language == "und") chapter.language.clear();
    if (displays.size() > 1) ++edition.other_names;
  }
  chapters.push_back(std::move(chapter));
  std::ranges::stable_sort(children, {}, [](const std::vector<MatroskaChapter>& group) {
    return group.front().start_nanoseconds;
  });
  for (auto& group : children) {
    for (auto& nested : group) chapters.push_back(std::move(nested));
  }
}

std::vector<MatroskaEdition> Editions(ElementReader& reader, const EbmlElement& chapters,
                                      std::string_view source_name,
                                      const MatroskaReading& reading) {
  const std::uint64_t end = reader.End(chapters);
  reader.MoveIntoData(chapters);
  std::vector<MatroskaEdition> editions;
  while (auto entry = reader.Next(EBML_CLASS_CONTEXT(mk::KaxChapters), end)) {
    if (As<mk::KaxEditionEntry>(entry) == nullptr) {
      reader.SkipTo(*entry);
      continue;
    }
    const std::uint64_t entry_end = reader.End(*entry);
    reader.MoveIntoData(*entry);
    MatroskaEdition edition;
    while (auto child = reader.Next(EBML_CLASS_CONTEXT(mk::KaxEditionEntry), entry_end)) {
      if (As<mk::KaxEditionFlagDefault>(child) != nullptr) {
        edition.is_default = std::uint64_t(reader.Read<mk::KaxEditionFlagDefault>(*child)) != 0;
      } else if (As<mk::KaxEditionFlagOrdered>(child) != nullptr) {
        edition.ordered = std::uint64_t(reader.Read<mk::KaxEditionFlagOrdered>(*child)) != 0;
      } else if (As<mk::KaxEditionFlagHidden>(child) != nullptr) {
        edition.hidden = std::uint64_t(reader.Read<mk::KaxEditionFlagHidden>(*child)) != 0;
      } else if (As<mk::KaxChapterAtom>(child) != nullptr) {
        std::vector<MatroskaChapter> read;
        ReadAtom(reader, *child, reading, 0, read, edition);
        for (MatroskaChapter& chapter : read) {
          CheckRoomForChapter(edition.chapters.size(), source_name);
          edition.chapters.push_back(std::move(chapter));
        }
      } else {
        reader.SkipTo(*child);
      }
    }
    editions.push_back(std::move(edition));
  }
  return editions;
}

// The Segment's top-level elements in turn: the Info for the length, the SeekHead for where the
// Chapters are, the Chapters themselves. Clusters are skipped by their size, unread; at the first
// one the SeekHead's pointer is followed when there is one. A top-level element that runs past
// the end of the file (one cut short) ends the walk.
void ReadSegment(ElementReader& reader, const EbmlElement& segment, MatroskaFile& file,
                 std::string_view source_name, const MatroskaReading& reading) {
  const std::uint64_t data = segment.GetElementPosition() + segment.HeadSize();
  const std::uint64_t end = std::min(reader.End(segment), reader.size());
  reader.MoveIntoData(segment);
  std::optional<std::uint64_t> chapters_at;
  bool info_read = false;
  bool chapters_read = false;
  const auto read_chapters = [&](const EbmlElement& chapters) {
    if (!reader.Fits(chapters)) throw reader.Cut(chapters.GetElementPosition());
    file.editions = Editions(reader, chapters, source_name, reading);
    chapters_read = true;
  };
  while (!(info_read && chapters_read)) {
    const auto element = reader.Next(EBML_CLASS_CONTEXT(mk::KaxSegment), end, /*open=*/true);
    if (!element) break;
    if (As<mk::KaxChapters>(element) != nullptr && !chapters_read) {
      read_chapters(*element);
    } else if (!reader.Fits(*element) ||
               (As<mk::KaxCluster>(element) != nullptr && chapters_at && !chapters_read)) {
      break;
    } else if (As<mk::KaxInfo>(element) != nullptr && !info_read) {
      file.duration_milliseconds = DurationMilliseconds(reader, *element);
      info_read = true;
    } else if (As<mk::KaxSeekHead>(element) != nullptr && !chapters_at) {
      chapters_at = SeekChapters(reader, *element);
    }
    reader.SkipTo(*element);
  }
  if (chapters_read || !chapters_at || *chapters_at >= end - data) return;
  reader.MoveTo(data + *chapters_at);
  const auto element = reader.Next(EBML_CLASS_CONTEXT(mk::KaxSegment), end, /*open=*/true);
  if (As<mk::KaxChapters>(element) != nullptr) read_chapters(*element);
}

std::optional<MatroskaFile> ReadFrom(IOCallback& io, std::string_view source_name,
                                     const MatroskaReading& reading) {
  static constexpr unsigned char kEbmlId[] = {0x1A, 0x45, 0xDF, 0xA3};
  unsigned char first[sizeof kEbmlId] = {};
  io.setFilePointer(0);
  if (io.read(first, sizeof first) != sizeof first ||
      !std::equal(first, first + sizeof first, kEbmlId)) {
    return std::nullopt;
  }
  io.setFilePointer(0, libebml::seek_end);
  ElementReader reader(io, io.getFilePointer(), source_name);
  reader.MoveTo(0);
  MatroskaFile file{DocType(reader), std::nullopt, {}};
  // An EBML file of another kind, or a header that cannot be read, holds no chapters for us.
  if (file.doc_type != "matroska" && file.doc_type != "webm") return file;
  try {
    while (const auto element =
               reader.Next(mk::Context_KaxMatroska, reader.size(), /*open=*/true)) {
      if (As<mk::KaxSegment>(element) != nullptr) {
        ReadSegment(reader, *element, file, source_name, reading);
        break;
      }
      if (!reader.Fits(*element)) break;
      reader.SkipTo(*element);
    }
  } catch (const Error&) {
    throw;
  } catch (const std::exception& failure) {
    // libebml's own complaints: a read past the end, an unreadable value.
    throw ReadError(source_name, "",
                    AtOffset(reader.Position()) + ": malformed Matroska file: " + failure.what() +
                        " (is it damaged?)");
  }
  return file;
}

}  // namespace

std::optional<MatroskaFile> ReadMatroskaFile(const std::filesystem::path& path,
                                             const MatroskaReading& reading) {
  std::unique_ptr<libebml::StdIOCallback> io;
  try {
    io = std::make_unique<libebml::StdIOCallback>(path.c_str(), MODE_READ);
  } catch (const std::exception&) {
    throw ReadError(path.string(), "", "cannot open the file");
  }
  return ReadFrom(*io, path.string(), reading);
}

std::optional<MatroskaFile> ReadMatroskaBytes(std::string_view bytes, std::string_view source_name,
                                              const MatroskaReading& reading) {
  libebml::MemIOCallback io(bytes.size());
  io.write(bytes.data(), bytes.size());
  return ReadFrom(io, source_name, reading);
}

const MatroskaEdition* DefaultEdition(const MatroskaFile& file) {
  for (const MatroskaEdition& edition : file.editions) {
    if (edition.is_default) return &edition;
  }
  return file.editions.empty() ? nullptr : &file.editions.front();
}

}  // namespace markwright
