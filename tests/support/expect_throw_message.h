#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <source_location>
#include <string>
#include <string_view>

#include "core/error.h"

namespace markwright::testing {

// Runs a statement that must throw an E whose message contains part (a reader's failure, for
// example, "in.txt: line 2: expected ..."). A failure is reported at the caller's line.
template <typename E = Error>
void ExpectThrowMessage(const std::function<void()>& run, std::string_view part,
                        std::source_location caller = std::source_location::current()) {
  const ::testing::ScopedTrace trace(caller.file_name(), static_cast<int>(caller.line()), "");
  try {
    run();
    ADD_FAILURE() << "nothing was thrown; expected \"" << part << "\"";
  } catch (const E& error) {
    EXPECT_NE(std::string_view(error.what()).find(part), std::string_view::npos)
        << "message: " << error.what() << "\nexpected to contain: " << part;
  }
}

}  // namespace markwright::testing
