#include "readers/byte_reader.h"

namespace markwright {

ReadError ErrorAtOffset(std::string_view source_name, std::string_view problem, std::int64_t offset,
                        std::string_view detail) {
  std::string cause = std::string(problem) + " at offset " + std::to_string(offset);
  if (!detail.empty()) cause += " (" + std::string(detail) + ")";
  return ReadError(source_name, "", cause);
}

std::string_view ByteReader::Bytes(std::int64_t offset, std::size_t length) const {
  if (offset < 0 || static_cast<std::uint64_t>(offset) > bytes_.size() ||
      bytes_.size() - static_cast<std::size_t>(offset) < length) {
    throw ErrorAtOffset(source_name_, "truncated playlist", offset);
  }
  return bytes_.substr(static_cast<std::size_t>(offset), length);
}

std::uint32_t ByteReader::Field(std::int64_t offset, std::size_t width) const {
  std::uint32_t value = 0;
  for (const char byte : Bytes(offset, width)) {
    value = (value << 8) | static_cast<unsigned char>(byte);
  }
  return value;
}

std::uint32_t ByteReader::SignedField(std::int64_t offset, std::size_t width) const {
  const std::uint32_t value = Field(offset, width);
  const std::size_t sign_bit = 8 * width - 1;
  if (value >> sign_bit != 0) {
    throw ErrorAtOffset(source_name_, "value out of range", offset,
                        std::to_string(value) + ", 2^" + std::to_string(sign_bit) + " or more");
  }
  return value;
}

std::int32_t ByteReader::ReadInt32BE(std::int64_t offset) const {
  return static_cast<std::int32_t>(SignedField(offset, 4));
}

std::int16_t ByteReader::ReadInt16BE(std::int64_t offset) const {
  return static_cast<std::int16_t>(SignedField(offset, 2));
}

std::uint8_t ByteReader::ReadUInt8(std::int64_t offset) const {
  return static_cast<std::uint8_t>(Field(offset, 1));
}

}  // namespace markwright
