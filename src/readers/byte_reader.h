#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace markwright {

// Reads big-endian fields at given offsets of a file held in memory. Every read is checked
// against the end of the bytes first: a field that reaches past it throws ReadError naming the
// source and "truncated playlist at offset N", N being the field's offset. Values are taken as
// signed, so a 4-byte field of 2^31 or more and a 2-byte field of 2^15 or more throw ReadError
// ("value out of range") instead of turning negative.
class ByteReader {
 public:
  ByteReader(std::string_view bytes, std::string_view source_name)
      : bytes_(bytes), source_name_(source_name) {}

  std::int32_t ReadUInt32BE(std::int64_t offset) const;
  std::int16_t ReadUInt16BE(std::int64_t offset) const;
  std::uint8_t ReadUInt8(std::int64_t offset) const;
  // Checks that the length bytes from offset on are all there, as a whole record must be;
  // throws ReadError "truncated playlist at offset N" when they are not.
  void Require(std::int64_t offset, std::size_t length) const;

 private:
  std::uint32_t Field(std::int64_t offset, std::size_t width) const;
  // The field, which must fit a signed integer of its width.
  std::uint32_t SignedField(std::int64_t offset, std::size_t width) const;

  std::string_view bytes_;
  std::string source_name_;
};

}  // namespace markwright
