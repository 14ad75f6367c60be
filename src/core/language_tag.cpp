#include "core/language_tag.h"

#include <functional>
#include <mutex>
#include <ostream>
#include <unordered_set>

namespace markwright {
namespace {

// Looks a text up without first copying it into a std::string.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const {
    return std::hash<std::string_view>()(text);
  }
};

// Elements of an unordered_set keep their address when it grows, so a tag's pointer stays valid.
struct Pool {
  std::mutex mutex;
  std::unordered_set<std::string, TextHash, std::equal_to<>> texts;
};

Pool& ThePool() {
  // Never destroyed: a tag in a static object may still be read while the program exits.
  static Pool* const pool = new Pool;
  return *pool;
}

}  // namespace

LanguageTag::LanguageTag(std::string_view text) {
  if (text.empty()) return;
  Pool& pool = ThePool();
  const std::lock_guard lock(pool.mutex);
  auto found = pool.texts.find(text);
  if (found == pool.texts.end()) found = pool.texts.emplace(text).first;
  text_ = &*found;
}

std::ostream& operator<<(std::ostream& stream, const LanguageTag& tag) {
  return stream << tag.view();
}

}  // namespace markwright
