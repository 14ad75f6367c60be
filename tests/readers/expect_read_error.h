#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/chapter_list.h"
#include "core/error.h"

namespace markwright::testing {

// Runs a read that must fail and checks its ReadError: the message starts with the file's name
// and holds the cause. The read's result is assigned over a list loaded before, which must come
// through unchanged.
template <typename Read>
void ExpectReadError(Read read, std::string_view source_name, std::string_view cause) {
  const ChapterList loaded = {"00:00:01.000", "00:00:02.000"};
  ChapterList chapters = loaded;
  try {
    chapters = read();
    ADD_FAILURE() << "the read succeeded; expected a failure with \"" << cause << "\"";
  } catch (const ReadError& error) {
    const std::string message = error.what();
    EXPECT_TRUE(message.starts_with(std::string(source_name) + ": ")) << message;
    EXPECT_NE(message.find(cause), std::string::npos) << message;
  }
  EXPECT_EQ(chapters, loaded);
}

}  // namespace markwright::testing
