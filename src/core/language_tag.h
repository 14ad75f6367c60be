#pragma once

#include <concepts>
#include <iosfwd>
#include <string>
#include <string_view>

namespace markwright {

// The language of a chapter's name (an ISO 639-2 code such as "eng" or a BCP 47 tag; empty when
// unknown), held as one pointer. A list holds few distinct languages, each repeated by many
// chapters, so every text is kept once in a process-wide pool that is never freed: a million
// chapters then cost no string each, and equal tags are equal pointers.
class LanguageTag {
 public:
  LanguageTag() = default;
  // Implicit, so a tag is written as its text wherever a chapter is made.
  LanguageTag(std::string_view text);
  LanguageTag(const char* text) : LanguageTag(std::string_view(text)) {}
  LanguageTag(const std::string& text) : LanguageTag(std::string_view(text)) {}

  std::string_view view() const { return text_ == nullptr ? std::string_view() : *text_; }
  bool empty() const { return text_ == nullptr; }

  bool operator==(const LanguageTag&) const = default;
  // Against any text (a literal, a std::string); a template, so that no conversion to a tag or
  // to a view makes the comparison ambiguous.
  template <typename Text>
  requires(std::convertible_to<const Text&, std::string_view> &&
           !std::same_as<Text, LanguageTag>) bool
  operator==(const Text& text) const {
    return view() == std::string_view(text);
  }

 private:
  const std::string* text_ = nullptr;  // in the pool; null for the empty tag
};

std::ostream& operator<<(std::ostream& stream, const LanguageTag& tag);

}  // namespace markwright
