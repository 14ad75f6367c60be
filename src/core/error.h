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

// The refusals whose texts are fixed: users and their scripts know them word for word, so they
// are written here once and nowhere else.
inline Refusal InputNotSpecified() {
  return Refusal("Input file is not specified!");
}
inline Refusal CannotOpenInput() {
  return Refusal("Cannot open input file!");
}
inline Refusal OutputPathMissing() {
  return Refusal("output path is not exist!");
}
inline Refusal FormatNotSpecified() {
  return Refusal("output format is not specified!");
}
inline Refusal UnknownFormat() {
  return Refusal("Unknown Format!");
}
inline Refusal UnknownDestinationFormat() {
  return Refusal("Unknown destination format!");
}
inline Refusal FrameRateNotAllowed() {
  return Refusal("Frame rate is not allowed!, use from 23.976-30.000");
}

// A format that cannot hold an empty chapter list; what names the format ("Matroska XML
// chapters").
inline Refusal NoChaptersToWrite(std::string_view what) {
  return Refusal(std::string(what) + " need at least one chapter, and the source has none");
}

// How a run ends, as the process's exit status (the README's table).
enum class ExitStatus : int {
  kDone = 0,               // the output was written (or help or version printed)
  kRefused = 1,            // a Refusal
  kFailed = 2,             // any other Error: unreadable input, bad frame rate, unwritable output
  kWindowUnavailable = 3,  // no window module, no Qt or no display; the command line still works
};

// Text taken from a file as a message quotes it: in double quotes, cut after 60 characters with
// "…", and with control characters and bytes that are not UTF-8 written as \xNN, so that nothing
// a file holds can drive the terminal or the message box that shows it.
std::string QuotedText(std::string_view text);

// The text with control characters and bytes that are not UTF-8 written as \xNN, whole: for a
// message as it is shown, whose file names and library texts may hold anything.
std::string EscapedText(std::string_view text);

// "line 12" and "offset 40", the two ways a reader says where a problem sits.
std::string AtLine(std::size_t line_number);
std::string AtOffset(std::size_t offset);

}  // namespace markwright
