#include "cli/options.h"

#include <array>
#include <cctype>

#include "core/decimal.h"
#include "core/error.h"

namespace markwright {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The token with the quotes that open and close a quoted section removed.
std::string RemovePairedQuotes(std::string_view token) {
  std::string value;
  for (std::size_t i = 0; i < token.size(); ++i) {
    if (IsQuote(token[i])) {
      const auto closing = token.find(token[i], i + 1);
      if (closing != std::string_view::npos) {
        value += token.substr(i + 1, closing - i - 1);
        i = closing;
        continue;
      }
    }
    value += token[i];
  }
  return value;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(text[i])) !=
        std::toupper(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

constexpr std::array<std::string_view, 5> kOptionNames = {"i", "o", "f", "infps", "outfps"};

// The longest option name the token begins with, or "" when it begins with none.
std::string_view OwnerOf(std::string_view token) {
  std::string_view owner;
  for (const auto name : kOptionNames) {
    if (name.size() > owner.size() && StartsWithIgnoringCase(token, name)) owner = name;
  }
  return owner;
}

// The argument in quotes that the tokenizer takes away again: double quotes, or single quotes
// when it holds a double quote; holding both, double-quoted runs with each double quote in
// single quotes.
std::string Quoted(std::string_view argument) {
  const bool has_double = argument.find('"') != std::string_view::npos;
  const bool has_single = argument.find('\'') != std::string_view::npos;
  const char quote = has_double && !has_single ? '\'' : '"';
  std::string quoted(1, quote);
  for (const char c : argument) {
    if (c == '"' && quote == '"') {
      quoted.append("\"'\"'\"");
    } else {
      quoted.push_back(c);
    }
  }
  quoted.push_back(quote);
  return quoted;
}

}  // namespace

std::string JoinArguments(const std::vector<std::string_view>& arguments) {
  std::string text;
  for (const auto argument : arguments) {
    if (!text.empty()) text += ' ';
    const bool needs_quotes = !argument.starts_with('-') &&
                              argument.find_first_of(" \t\n\r\"'") != std::string_view::npos;
    if (!needs_quotes) {
      text += argument;
      continue;
    }
    text += Quoted(argument);
  }
  return text;
}

std::vector<std::string> SplitOutsideQuotes(std::string_view text, char delimiter) {
  std::vector<std::string> tokens;
  const auto keep = [&tokens](std::string_view raw) {
    const std::string_view trimmed = Trim(raw);
    if (!trimmed.empty()) tokens.push_back(RemovePairedQuotes(trimmed));
  };
  std::size_t token_start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsQuote(c)) {
      const auto closing = text.find(c, i + 1);
      if (closing != std::string_view::npos) i = closing;
      continue;
    }
    if (c == delimiter && (i == 0 || IsBlank(text[i - 1]))) {
      keep(text.substr(token_start, i - token_start));
      token_start = i + 1;
    }
  }
  keep(text.substr(token_start));
  if (tokens.empty()) tokens.emplace_back();
  return tokens;
}

std::optional<std::string> FindOption(std::string_view argument_text, std::string_view name) {
  for (const auto& token : SplitOutsideQuotes(argument_text, '-')) {
    const std::string_view owner = OwnerOf(token);
    if (!owner.empty() && StartsWithIgnoringCase(owner, name) && owner.size() == name.size()) {
      return std::string(Trim(std::string_view(token).substr(owner.size())));
    }
  }
  return std::nullopt;
}

std::string GetOption(std::string_view argument_text, std::string_view name) {
  return FindOption(argument_text, name).value_or("");
}

ConversionOptions ReadConversionOptions(std::string_view argument_text) {
  return {GetOption(argument_text, "i"),
          GetOption(argument_text, "f"),
          FindOption(argument_text, "o"),
          FindOption(argument_text, "infps"),
          FindOption(argument_text, "outfps"),
          {},
          {}};
}

std::string ValueOrAbsent(const std::optional<std::string>& value, std::string_view name) {
  if (value && value->empty()) {
    throw Refusal("option -" + std::string(name) + " has no value");
  }
  return value.value_or("");
}

}  // namespace markwright
