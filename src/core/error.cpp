#include "core/error.h"

namespace markwright {
namespace {

std::string Compose(std::string_view path, std::string_view where, std::string_view cause) {
  std::string text(path);
  if (!where.empty()) {
    text += ": ";
    text += where;
  }
  text += ": ";
  text += cause;
  return text;
}

}  // namespace

ReadError::ReadError(std::string_view path, std::string_view where, std::string_view cause)
    : Error(Compose(path, where, cause)), path_(path), cause_(cause) {}

std::string AtLine(std::size_t line_number) {
  return "line " + std::to_string(line_number);
}

std::string AtOffset(std::size_t offset) {
  return "offset " + std::to_string(offset);
}

}  // namespace markwright
