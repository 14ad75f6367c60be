#include "readers/byte_reader.h"

#include "core/error.h"

namespace markwright {

void ByteReader::Require(std::int64_t offset, std::size_t length) const {
  if (offset < 0 || static_cast<std::uint64_t>(offset) > bytes_.size() ||
      bytes_.size() - static_cast<std::size_t>(offset) < length) {
    throw ReadError(source_name_, "", "truncated playlist at offset " + std::to_string(offset));
  }
}

std::uint32_t ByteReader::Field(std::int64_t offset, std::size_t width) const {
  Require(offset, width);
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < width; ++i) {
    value = (value << 8) | static_cast<unsigned char>(bytes_[static_cast<std::size_t>(offset) + i]);
  }
  return value;
}

std::uint32_t ByteReader::SignedField(std::int64_t offset, std::size_t width) const {
  const std::uint32_t value = Field(offset, width);
  const std::size_t sign_bit = 8 * width - 1;
  if (value >> sign_bit != 0) {
    throw ReadError(source_name_, AtOffset(static_cast<std::size_t>(offset)),
                    "value out of range (" + std::to_string(value) + ", 2^" +
                        std::to_string(sign_bit) + " or more)");
  }
  return value;
}

std::int32_t ByteReader::ReadUInt32BE(std::int64_t offset) const {
  return static_cast<std::int32_t>(SignedField(offset, 4));
}

std::int16_t ByteReader::ReadUInt16BE(std::int64_t offset) const {
  return static_cast<std::int16_t>(SignedField(offset, 2));
}

std::uint8_t ByteReader::ReadUInt8(std::int64_t offset) const {
  return static_cast<std::uint8_t>(Field(offset, 1));
}

}  // namespace markwright
