#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/error.h"

namespace markwright {

// The one shape of a failure at a place in a binary source: "<problem> at offset N", and the
// detail in parentheses when there is one.
ReadError ErrorAtOffset(std::string_view source_name, std::string_view problem, std::int64_t offset,
                        std::string_view detail = {});

// Reads big-endian fields at given offsets of a playlist held in memory. Every read is checked
// against the end of the bytes first. The fields are taken as signed, as the format's times and
// offsets are used: a 4-byte field of 2^31 or more and a 2-byte field of 2^15 or more are refused
// instead of turning negative. Both failures throw an ErrorAtOffset: "truncated playlist at
// offset N" and "value out of range at offset N (V, 2^31 or more)".
class ByteReader {
 public:
  ByteReader(std::string_view bytes, std::string_view source_name)
      : bytes_(bytes), source_name_(source_name) {}

  std::int32_t ReadInt32BE(std::int64_t offset) const;
  std::int16_t ReadInt16BE(std::int64_t offset) const;
  std::uint8_t ReadUInt8(std::int64_t offset) const;
  // The length bytes from offset on, all of which must be there, as a whole record must be.
  std::string_view Bytes(std::int64_t offset, std::size_t length) const;

 private:
  std::uint32_t Field(std::int64_t offset, std::size_t width) const;
  // The field, which must fit a signed integer of its width.
  std::uint32_t SignedField(std::int64_t offset, std::size_t width) const;

  std::string_view bytes_;
  std::string source_name_;
};

}  // namespace markwright
