// The audio module: reads and writes the chapter tags of MP3, Ogg Vorbis, Opus and FLAC files with
// TagLib. markwright loads it with dlopen when an audio file is read or written (audio_entry.h).
#include <taglib/chapterframe.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/tableofcontentsframe.h>
#include <taglib/textidentificationframe.h>
#include <taglib/vorbisfile.h>
#include <taglib/xiphcomment.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "audio/audio_entry.h"

namespace {

using namespace markwright;

struct Failure {
  std::string cause;
};

std::string Utf8(const TagLib::String& text) {
  return text.to8Bit(true);
}

TagLib::String FromUtf8(const char* text, std::size_t size) {
  return TagLib::String(std::string(text, size), TagLib::String::UTF8);
}

void Send(MarkwrightAudioTagSink sink, void* context, int kind, const std::string& key,
          const std::string& value, std::int64_t start, std::int64_t end) {
  const MarkwrightAudioTag tag{kind,         key.data(), key.size(), value.data(),
                               value.size(), start,      end};
  sink(context, &tag);
}

// A Vorbis comment field that holds a chapter: CHAPTER, digits, then letters or nothing
// (CHAPTER001, CHAPTER001NAME, CHAPTER001URL). TagLib gives field names in upper case.
bool IsChapterField(std::string_view key) {
  if (!key.starts_with("CHAPTER")) return false;
  key.remove_prefix(7);
  const std::size_t digits = std::min(key.find_first_not_of("0123456789"), key.size());
  if (digits == 0) return false;
  return std::ranges::all_of(key.substr(digits), [](char c) { return c >= 'A' && c <= 'Z'; });
}

void ReadXiph(const TagLib::Ogg::XiphComment* comment, MarkwrightAudioTagSink sink, void* context) {
  if (comment == nullptr) return;
  for (const auto& [key, values] : comment->fieldListMap()) {
    const std::string name = Utf8(key);
    if (!name.starts_with("CHAPTER")) continue;
    for (const TagLib::String& value : values) {
      Send(sink, context, kAudioVorbisField, name, Utf8(value), 0, 0);
    }
  }
}

void ReadId3(TagLib::ID3v2::Tag* tag, MarkwrightAudioTagSink sink, void* context) {
  if (tag == nullptr) return;
  for (const TagLib::ID3v2::Frame* frame : tag->frameList("CTOC")) {
    const auto* toc = dynamic_cast<const TagLib::ID3v2::TableOfContentsFrame*>(frame);
    if (toc == nullptr) continue;
    const std::string id(toc->elementID().data(), toc->elementID().size());
    for (const TagLib::ByteVector& child : toc->childElements()) {
      Send(sink, context, kAudioTocChild, id, std::string(child.data(), child.size()),
           toc->isTopLevel() ? 1 : 0, 0);
    }
  }
  for (const TagLib::ID3v2::Frame* frame : tag->frameList("CHAP")) {
    const auto* chapter = dynamic_cast<const TagLib::ID3v2::ChapterFrame*>(frame);
    if (chapter == nullptr) continue;
    std::string title;
    const TagLib::ID3v2::FrameList& titles = chapter->embeddedFrameList("TIT2");
    if (!titles.isEmpty()) title = Utf8(titles.front()->toString());
    Send(sink, context, kAudioChapterFrame,
         std::string(chapter->elementID().data(), chapter->elementID().size()), title,
         chapter->startTime(), chapter->endTime());
  }
}

void Check(const TagLib::File& file, std::string_view what) {
  if (!file.isValid()) throw Failure{"TagLib cannot read it as " + std::string(what)};
}

std::int64_t Length(const TagLib::AudioProperties* properties) {
  return properties == nullptr ? -1 : properties->lengthInMilliseconds();
}

void Read(const char* path, int container, MarkwrightAudioTagSink sink, void* context,
          std::int64_t& length) {
  switch (container) {
    case kAudioMp3: {
      TagLib::MPEG::File file(path, true, TagLib::AudioProperties::Fast);
      Check(file, "MP3");
      length = Length(file.audioProperties());
      if (file.hasID3v2Tag()) ReadId3(file.ID3v2Tag(), sink, context);
      return;
    }
    case kAudioOggVorbis: {
      TagLib::Ogg::Vorbis::File file(path, true, TagLib::AudioProperties::Fast);
      Check(file, "Ogg Vorbis");
      length = Length(file.audioProperties());
      ReadXiph(file.tag(), sink, context);
      return;
    }
    case kAudioOpus: {
      TagLib::Ogg::Opus::File file(path, true, TagLib::AudioProperties::Fast);
      Check(file, "Opus");
      length = Length(file.audioProperties());
      ReadXiph(file.tag(), sink, context);
      return;
    }
    case kAudioFlac: {
      TagLib::FLAC::File file(path, true, TagLib::AudioProperties::Fast);
      Check(file, "FLAC");
      length = Length(file.audioProperties());
      if (file.hasXiphComment()) ReadXiph(file.xiphComment(), sink, context);
      return;
    }
    default:
      throw Failure{"not an audio file the module knows"};
  }
}

TagLib::ID3v2::TableOfContentsFrame* AddTable(TagLib::ID3v2::Tag& tag, const std::string& id,
                                              bool top_level) {
  auto table =
      std::make_unique<TagLib::ID3v2::TableOfContentsFrame>(TagLib::ByteVector(id.c_str()));
  table->setIsTopLevel(top_level);
  table->setIsOrdered(true);
  tag.addFrame(table.get());
  return table.release();
}

// The table of contents "toc" listing the chapter frames in order. A table counts its children in
// one byte: beyond 255 chapters, "toc" lists tables toc0, toc1 ... of 255 chapters each.
void AddTables(TagLib::ID3v2::Tag& tag, const MarkwrightAudioTag* tags, std::size_t count) {
  constexpr std::size_t kMostChildren = 255;
  TagLib::ID3v2::TableOfContentsFrame* top = AddTable(tag, "toc", true);
  TagLib::ID3v2::TableOfContentsFrame* table = top;
  for (std::size_t i = 0; i < count; ++i) {
    if (count > kMostChildren && i % kMostChildren == 0) {
      const std::string id = "toc" + std::to_string(i / kMostChildren);
      top->addChildElement(TagLib::ByteVector(id.c_str()));
      table = AddTable(tag, id, false);
    }
    table->addChildElement(
        TagLib::ByteVector(tags[i].key, static_cast<unsigned int>(tags[i].key_size)));
  }
}

// Chapter frames and their table of contents in place of the tag's earlier ones. The tag keeps
// its version: ID3v2.3 holds no UTF-8 text, so its titles go as UTF-16.
void WriteId3(const char* path, const MarkwrightAudioTag* tags, std::size_t count) {
  TagLib::MPEG::File file(path, true, TagLib::AudioProperties::Fast);
  Check(file, "MP3");
  const bool version3 = file.hasID3v2Tag() && file.ID3v2Tag()->header()->majorVersion() == 3;
  const auto encoding = version3 ? TagLib::String::UTF16 : TagLib::String::UTF8;
  TagLib::ID3v2::Tag* tag = file.ID3v2Tag(true);
  tag->removeFrames("CTOC");
  tag->removeFrames("CHAP");
  if (count > 0) {
    const std::int64_t audio_end = std::max<std::int64_t>(Length(file.audioProperties()), 0);
    AddTables(*tag, tags, count);
    for (std::size_t i = 0; i < count; ++i) {
      const MarkwrightAudioTag& entry = tags[i];
      TagLib::ID3v2::FrameList embedded;
      if (entry.value_size > 0) {
        auto title = std::make_unique<TagLib::ID3v2::TextIdentificationFrame>("TIT2", encoding);
        title->setText(FromUtf8(entry.value, entry.value_size));
        embedded.append(title.release());
      }
      const std::int64_t end =
          std::max(entry.end_ms < 0 ? audio_end : entry.end_ms, entry.start_ms);
      // Byte offsets are not given: 0xFFFFFFFF says so.
      tag->addFrame(new TagLib::ID3v2::ChapterFrame(
          TagLib::ByteVector(entry.key, entry.key_size), static_cast<unsigned int>(entry.start_ms),
          static_cast<unsigned int>(end), 0xFFFFFFFF, 0xFFFFFFFF, embedded));
    }
  }
  if (!file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone,
                 version3 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4, TagLib::File::DoNotDuplicate)) {
    throw Failure{"TagLib could not save the ID3 tag"};
  }
}

void ReplaceChapterFields(TagLib::Ogg::XiphComment& comment, const MarkwrightAudioTag* tags,
                          std::size_t count) {
  std::vector<TagLib::String> old_keys;
  for (const auto& field : comment.fieldListMap()) {
    if (IsChapterField(Utf8(field.first))) old_keys.push_back(field.first);
  }
  for (const TagLib::String& key : old_keys) comment.removeFields(key);
  for (std::size_t i = 0; i < count; ++i) {
    comment.addField(FromUtf8(tags[i].key, tags[i].key_size),
                     FromUtf8(tags[i].value, tags[i].value_size), false);
  }
}

template <typename AudioFile>
void WriteXiph(AudioFile& file, std::string_view what, const MarkwrightAudioTag* tags,
               std::size_t count) {
  Check(file, what);
  ReplaceChapterFields(*file.tag(), tags, count);
  if (!file.save()) throw Failure{"TagLib could not save the comments"};
}

void Write(const char* path, int container, const MarkwrightAudioTag* tags, std::size_t count) {
  switch (container) {
    case kAudioMp3:
      return WriteId3(path, tags, count);
    case kAudioOggVorbis: {
      TagLib::Ogg::Vorbis::File file(path, false);
      return WriteXiph(file, "Ogg Vorbis", tags, count);
    }
    case kAudioOpus: {
      TagLib::Ogg::Opus::File file(path, false);
      return WriteXiph(file, "Opus", tags, count);
    }
    case kAudioFlac: {
      TagLib::FLAC::File file(path, false);
      Check(file, "FLAC");
      ReplaceChapterFields(*file.xiphComment(true), tags, count);
      if (!file.save()) throw Failure{"TagLib could not save the comments"};
      return;
    }
    default:
      throw Failure{"not an audio file the module knows"};
  }
}

int Report(std::string_view cause, char* error, std::size_t error_size) {
  if (error != nullptr && error_size > 0) {
    const std::size_t size = std::min(cause.size(), error_size - 1);
    std::memcpy(error, cause.data(), size);
    error[size] = '\0';
  }
  return 1;
}

// Runs one call, turning every failure into a cause for the caller: no exception crosses the
// module's edge.
template <typename Call>
int Guarded(Call call, char* error, std::size_t error_size) {
  try {
    call();
    return 0;
  } catch (const Failure& failure) {
    return Report(failure.cause, error, error_size);
  } catch (const std::bad_alloc&) {
    return Report("not enough memory", error, error_size);
  } catch (const std::exception& failure) {
    return Report(failure.what(), error, error_size);
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int markwright_read_audio_tags(
    const char* path, int container, MarkwrightAudioTagSink sink, void* context,
    std::int64_t* length_ms, char* error, std::size_t error_size) {
  static_assert(std::is_same_v<decltype(&markwright_read_audio_tags), AudioReadEntry>);
  *length_ms = -1;
  return Guarded([&] { Read(path, container, sink, context, *length_ms); }, error, error_size);
}

extern "C" __attribute__((visibility("default"))) int markwright_write_audio_tags(
    const char* path, int container, const MarkwrightAudioTag* tags, std::size_t count, char* error,
    std::size_t error_size) {
  static_assert(std::is_same_v<decltype(&markwright_write_audio_tags), AudioWriteEntry>);
  return Guarded([&] { Write(path, container, tags, count); }, error, error_size);
}
