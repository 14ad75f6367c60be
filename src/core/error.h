#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace markwright {

// Every failure the program reports is an Error whose what() is a complete sentence for the user.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A request the program turns down on purpose (a missing option, an unknown format, a frame
// rate a format cannot express). The command line ends such a run with exit status 1.
class Refusal : public Error {
 public:
  using Error::Error;
};

// An input that cannot be read or understood. The message names the file, where in it the
// problem sits (a line or a byte offset, when there is one) and the cause.
class ReadError : public Error {
 public:
  ReadError(std::string_view path, std::string_view where, std::string_view cause);

  const std::string& path() const { return path_; }
  const std::string& cause() const { return cause_; }

 private:
  std::string path_;
  std::string cause_;
};

// An output file that cannot be written.
class WriteError : public Error {
 public:
  using Error::Error;
};

// "line 12" and "offset 40", the two ways a reader says where a problem sits.
std::string AtLine(std::size_t line_number);
std::string AtOffset(std::size_t offset);

}  // namespace markwright
