// The module's frame list: the video stream's packets read, none decoded; in MP4 and QuickTime
// files without reading the frames' bytes at all.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <compare>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/frame_times.h"
#include "video/av_input.h"
#include "video/video_entry.h"

namespace markwright::video {
namespace {

struct PacketTime {
  std::int64_t pts = 0;
  bool key = false;
};

// The file's bytes for libavformat, read with pread, except the bytes of samples it has been told
// about: those it reports read without reading them. The MP4 demuxer finds every frame's time,
// composition offset and key-frame flag in the sample tables it reads first (and in each
// fragment's header, which lies outside the samples), so a packet without its true bytes still
// carries exact times and flags, and a 50 GB file is listed in the time its tables take. Only
// byte ranges the demuxer's own index gives are skipped: a byte it has not listed as a sample's
// is read from the file.
class SampleSkippingFile {
 public:
  // Null for what is not a regular file (a pipe cannot be read at an offset) or cannot be
  // opened: libavformat then reads it, and names the cause.
  static std::unique_ptr<SampleSkippingFile> Open(const char* path) {
    const int descriptor = open(path, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return nullptr;
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
      close(descriptor);
      return nullptr;
    }
    return std::unique_ptr<SampleSkippingFile>(new SampleSkippingFile(descriptor, status.st_size));
  }
  SampleSkippingFile(const SampleSkippingFile&) = delete;
  SampleSkippingFile& operator=(const SampleSkippingFile&) = delete;
  ~SampleSkippingFile() {
    if (io_ != nullptr) av_freep(static_cast<void*>(&io_->buffer));
    avio_context_free(&io_);
    close(descriptor_);
  }

  AVIOContext* Io() const { return io_; }

  // Adds the byte ranges of the index entries the demuxer has made since the last call (a
  // fragmented file's grow as its fragments are read).
  void LearnSamples(const AVFormatContext& format) {
    const std::size_t known = samples_.size();
    known_entries_.resize(format.nb_streams, 0);
    for (unsigned index = 0; index < format.nb_streams; ++index) {
      AVStream* stream = format.streams[index];
      const int count = avformat_index_get_entries_count(stream);
      for (int entry = std::min(known_entries_[index], count); entry < count; ++entry) {
        const AVIndexEntry* sample = avformat_index_get_entry(stream, entry);
        if (sample != nullptr && sample->pos >= 0 && sample->size > 0) {
          samples_.push_back({sample->pos, sample->pos + sample->size});
        }
      }
      known_entries_[index] = count;
    }
    // A fragment's samples usually follow those known: sorting the new ones is enough.
    const auto learnt = samples_.begin() + static_cast<std::ptrdiff_t>(known);
    std::sort(learnt, samples_.end());
    std::inplace_merge(samples_.begin(), learnt, samples_.end());
  }

 private:
  static constexpr int kBufferSize = 1 << 16;

  struct ByteRange {
    std::int64_t start = 0;
    std::int64_t end = 0;
    auto operator<=>(const ByteRange&) const = default;
  };

  SampleSkippingFile(int descriptor, std::int64_t size) : descriptor_(descriptor), size_(size) {
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    if (buffer != nullptr) {
      io_ = avio_alloc_context(buffer, kBufferSize, 0, this, Read, nullptr, Seek);
    }
    if (io_ == nullptr) {
      av_free(buffer);
      close(descriptor_);
      throw Failure("not enough memory");
    }
  }

  static int Read(void* opaque, std::uint8_t* buffer, int size) {
    auto& file = *static_cast<SampleSkippingFile*>(opaque);
    std::int64_t wanted = size;
    const auto next = std::upper_bound(
        file.samples_.begin(), file.samples_.end(), file.position_,
        [](std::int64_t position, const ByteRange& sample) { return position < sample.start; });
    if (next != file.samples_.begin()) {
      const std::int64_t sample_end = std::min(std::prev(next)->end, file.size_);
      if (sample_end > file.position_) {
        wanted = std::min(wanted, sample_end - file.position_);
        file.position_ += wanted;
        return static_cast<int>(wanted);
      }
    }
    if (next != file.samples_.end()) wanted = std::min(wanted, next->start - file.position_);
    ssize_t got = 0;
    do {
      got = pread(file.descriptor_, buffer, static_cast<std::size_t>(wanted), file.position_);
    } while (got < 0 && errno == EINTR);
    if (got < 0) return AVERROR(errno);
    if (got == 0) return AVERROR_EOF;
    file.position_ += got;
    return static_cast<int>(got);
  }

  static std::int64_t Seek(void* opaque, std::int64_t offset, int whence) {
    auto& file = *static_cast<SampleSkippingFile*>(opaque);
    if (whence == AVSEEK_SIZE) return file.size_;
    std::int64_t base = 0;
    switch (whence & ~AVSEEK_FORCE) {
      case SEEK_SET:
        break;
      case SEEK_CUR:
        base = file.position_;
        break;
      case SEEK_END:
        base = file.size_;
        break;
      default:
        return AVERROR(EINVAL);
    }
    if (offset < -base || offset > INT64_MAX - base) return AVERROR(EINVAL);
    file.position_ = base + offset;
    return file.position_;
  }

  int descriptor_;
  std::int64_t size_;
  std::int64_t position_ = 0;
  AVIOContext* io_ = nullptr;
  std::vector<ByteRange> samples_;  // each sample's bytes, in order of start
  std::vector<int> known_entries_;  // per stream, index entries already learnt
};

// MP4 and QuickTime: one sample per frame, each listed in the sample tables with its time and
// key-frame flag. No parser may look at the frames' bytes (it would add key frames of its own,
// and see none of the skipped bytes), nor libavformat guess a time the tables do not give.
bool FromSampleTables(AVFormatContext& format) {
  if (!std::string_view(format.iformat->name).starts_with("mov,")) return false;
  format.flags |= AVFMT_FLAG_NOPARSE | AVFMT_FLAG_NOFILLIN;
  return true;
}

// Packets carry their presentation time and the key-frame flag, so the list is exact for every
// container. Matroska's index (cues) lists only key frames, and the frames between them are
// needed too: there every packet is read.
std::string FrameList(const char* path) {
  const std::unique_ptr<SampleSkippingFile> file = SampleSkippingFile::Open(path);
  bool from_tables = false;
  const VideoInput input =
      OpenVideo(path, file ? file->Io() : nullptr,
                [&](AVFormatContext& format) { from_tables = file && FromSampleTables(format); });
  // A DV stream's sound lies inside its frames, and the demuxer reads it from their bytes.
  from_tables = from_tables && av_stream_get_parser(input.Stream()) == nullptr &&
                input.Stream()->codecpar->codec_id != AV_CODEC_ID_DVVIDEO;
  const PacketPointer packet(av_packet_alloc());
  if (!packet) throw Failure("not enough memory");
  std::vector<PacketTime> packets;
  std::int64_t previous = AV_NOPTS_VALUE;
  while (true) {
    if (from_tables) file->LearnSamples(*input.format);
    if (av_read_frame(input.format.get(), packet.get()) < 0) break;
    if (packet->stream_index == input.stream && (packet->flags & AV_PKT_FLAG_DISCARD) == 0) {
      // A packet without a presentation time (raw streams) follows its decoding time.
      std::int64_t pts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
      if (pts == AV_NOPTS_VALUE && previous != AV_NOPTS_VALUE) pts = previous + packet->duration;
      if (pts != AV_NOPTS_VALUE) {
        if (packets.size() == kMaxTimestampFrames) {
          throw Failure("more than " + std::to_string(kMaxTimestampFrames) + " frames");
        }
        packets.push_back({pts, (packet->flags & AV_PKT_FLAG_KEY) != 0});
        previous = pts;
      }
    }
    av_packet_unref(packet.get());
  }
  if (packets.empty()) throw Failure("no video frames");
  std::ranges::stable_sort(packets, {}, &PacketTime::pts);
  const std::int64_t first = packets.front().pts;
  std::string text;
  text.reserve(packets.size() * 16);
  for (const PacketTime& frame : packets) {
    const double start =
        static_cast<double>(frame.pts - first) * 1000.0 * input.time_base.num / input.time_base.den;
    char line[48];
    auto written = std::to_chars(line, line + sizeof line - 3, start, std::chars_format::fixed, 6);
    *written.ptr++ = ' ';
    *written.ptr++ = frame.key ? '1' : '0';
    *written.ptr++ = '\n';
    text.append(line, written.ptr);
  }
  return text;
}

}  // namespace
}  // namespace markwright::video

extern "C" __attribute__((visibility("default"))) int markwright_video_frames(
    const char* path, markwright::VideoTextSink frames, markwright::VideoTextSink failure,
    void* context) {
  static_assert(std::is_same_v<decltype(&markwright_video_frames), markwright::VideoFramesEntry>);
  return markwright::video::RunForEntry(
      [&] {
        const std::string text = markwright::video::FrameList(path);
        frames(context, text.data(), text.size());
      },
      failure, context);
}
