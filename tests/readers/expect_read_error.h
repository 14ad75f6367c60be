#pragma once

// Left only for dvd_reader_test.cpp until it calls support/expect_throw_message.h directly.
#include "support/expect_throw_message.h"

namespace markwright::testing {

template <typename Read>
void ExpectReadError(Read read, std::string_view source_name, std::string_view cause) {
  ExpectThrowMessage<ReadError>([&] { read(); }, std::string(source_name) + ": ");
  ExpectThrowMessage<ReadError>([&] { read(); }, cause);
}

}  // namespace markwright::testing
