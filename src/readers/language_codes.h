#pragma once

#include <string_view>

namespace markwright {

// The two-letter ISO 639-1 code of a three-letter ISO 639-2 code (bibliographic "ger" or
// terminological "deu": "de"); the code itself when the language has no two-letter code or the
// code is not one of ISO 639-2.
std::string_view TwoLetterLanguage(std::string_view code);

}  // namespace markwright
