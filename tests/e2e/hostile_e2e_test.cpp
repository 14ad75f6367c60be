// Careless and hostile use of the executable: devices, pipes and links as the output, limited and
// interrupted runs, a source too large for memory or for the size cap, a display that is not there.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/run_process.h"
#include "writers/text_file.h"

namespace markwright::testing {
namespace {

namespace fs = std::filesystem;
constexpr auto kNone = std::string::npos;
constexpr char kOgg[] =
    "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=\r\nCHAPTER02=00:01:00.000\r\nCHAPTER02NAME=\r\n";

// Runs a shell command in the folder, where in.txt holds two chapters and $MW is the program.
ProcessResult Shell(const TempDir& folder, const std::string& command) {
  folder.Write("in.txt", "CHAPTER01=00:00:00.000\nCHAPTER02=00:01:00.000\n");
  return RunProcess("/bin/sh", {"-c", "MW='" MARKWRIGHT_EXE "'; " + command}, folder.path());
}

TEST(Hostile, WritesDevicesAndPipesInPlaceAndFollowsLinks) {
  TempDir folder;
  const std::string run = "$MW -i in.txt -f ogg -o ";
  // Devices of the folder's own, and standard output only where it leads into the folder or to
  // a pipe: a fault here must not replace a system file.
  EXPECT_EQ(Shell(folder, run + "/proc/self/fd/1 | cat").output, kOgg);
  // A descriptor of the process is written where it stands, never the file behind it replaced:
  // after the earlier lines of a file opened to append (also through a link to /dev/fd/N), and
  // between the other lines of a group's output.
  folder.Write("log.txt", "earlier\n");
  EXPECT_EQ(Shell(folder, run + "/dev/stdout >>log.txt && ln -s /dev/fd/3 to-fd && " + run +
                              "to-fd 3>>log.txt")
                .exit_status,
            0);
  EXPECT_EQ(ReadFile(folder / "log.txt"), "earlier\n" + std::string(kOgg) + kOgg);
  Shell(folder, "{ echo HEADER; " + run + "/dev/stdout; echo TRAILER; } >group.txt");
  EXPECT_EQ(ReadFile(folder / "group.txt"), "HEADER\n" + std::string(kOgg) + "TRAILER\n");
  // Standard output a socket, as some service managers give: /dev/stdout and /proc/self/fd/1
  // cannot be opened, so the descriptor they name is written.
  const std::string to_socket =
      "python3 -c 'import socket, subprocess, sys; a, b = socket.socketpair(); "
      "subprocess.run(sys.argv[1:], stdout=b); b.close(); "
      "sys.stdout.buffer.write(a.recv(1 << 16))' " +
      run;
  EXPECT_EQ(Shell(folder, to_socket + "/dev/stdout && " + to_socket + "/proc/self/fd/1").output,
            std::string(kOgg) + kOgg);
  // A named socket that listens is connected to.
  EXPECT_EQ(
      Shell(folder,
            "python3 -c 'import socket, subprocess, sys; s = socket.socket(socket.AF_UNIX); "
            "s.bind(\"sock\"); s.listen(); s.settimeout(20); p = subprocess.Popen(sys.argv[1:]); "
            "sys.stdout.buffer.write(s.accept()[0].makefile(\"rb\").read())' " +
                run + "sock")
          .output,
      kOgg);
  const auto fifo = Shell(
      folder, "mkfifo fifo && ln -s fifo to-fifo && (" + run + "to-fifo &) && timeout 20 cat fifo");
  EXPECT_EQ(fifo.output, kOgg);
  if (Shell(folder, "mknod null c 1 3 && mknod full c 1 7 && echo >null").exit_status == 0) {
    EXPECT_EQ(Shell(folder, run + "null").exit_status, 0);
    EXPECT_TRUE(fs::is_character_file(folder / "null"));
    EXPECT_EQ(Shell(folder, run + "full").errors,
              "Markwright: cannot write full: writing failed: No space left on device\n");
  }

  folder.Write("target.txt", "old");
  fs::create_symlink("target.txt", folder / "link");
  fs::create_symlink("new.txt", folder / "dangling");
  fs::create_symlink("loop", folder / "loop");
  EXPECT_EQ(Shell(folder, run + "link && " + run + "dangling").exit_status, 0);
  EXPECT_TRUE(fs::is_symlink(folder / "link") && fs::is_symlink(folder / "dangling"));
  EXPECT_EQ(ReadFile(folder / "target.txt"), kOgg);
  EXPECT_EQ(ReadFile(folder / "new.txt"), kOgg);
  const auto loop = Shell(folder, run + "loop");
  EXPECT_EQ(loop.exit_status, 2);
  EXPECT_NE(loop.errors.find("cannot write loop: "), kNone) << loop.errors;
  folder.Write("\x1b]0;owned\x07.txt", "CHAPTER01=later\n");
  EXPECT_EQ(
      Shell(folder, "$MW -f ogg -o out.txt -i \"$(printf '\\033]0;owned\\007.txt')\"").errors,
      "Markwright: \\x1b]0;owned\\x07.txt: line 1: expected a time H:MM:SS.fff after CHAPTER01=, "
      "found \"later\"\n");
  const std::string longest_name(255, 'n');
  EXPECT_EQ(Shell(folder, run + longest_name).exit_status, 0);
  EXPECT_EQ(ReadFile(folder / longest_name), kOgg);
  // A folder path of 4059 characters: the temporary file's longer name still fits.
  std::string deep;
  for (int level = 0; level < 20; ++level) deep += std::string(200, 'd') + "/";
  deep += std::string(39, 'd');
  EXPECT_EQ(Shell(folder, "mkdir -p " + deep + " && " + run + deep + "/o").exit_status, 0);
}

TEST(Hostile, LimitsAndInterruptsLeaveTheOldFileAlone) {
  TempDir folder;
  folder.Write("out.txt", "old");
  // The message goes through a pipe: the limit holds for every file, standard error included.
  const auto limited =
      Shell(folder, "{ ulimit -f 0; $MW -i in.txt -o out.txt -f ogg; echo $?; } 2>&1 | cat");
  EXPECT_EQ(limited.output,
            "Markwright: cannot write out.txt: writing failed: File too large\n2\n");
  EXPECT_EQ(Shell(folder, "$MW --version > /dev/full").exit_status, 2);
  EXPECT_EQ(Shell(folder, "$MW -i in.txt --json > /dev/full").exit_status, 2);
  fs::resize_file(folder.Write("big.txt", "CHAPTER01=00:00:00.000\n"), 300'000'000);
  const auto big = Shell(folder, "$MW -i big.txt -o out.txt -f ogg");
  EXPECT_NE(big.errors.find("300000000 bytes, and the limit is 268435456"), kNone) << big.errors;
  // Read whole rather than line by line, and refused as early.
  fs::resize_file(folder.Write("big.vtt", "WEBVTT\n"), 300'000'000);
  EXPECT_EQ(
      Shell(folder, "$MW -i big.vtt -o out.txt -f ogg").errors,
      "Markwright: big.vtt: too large for a chapter source: 300000000 bytes, and the limit is "
      "268435456 bytes (256 MiB)\n");
#ifndef __SANITIZE_ADDRESS__  // which needs far more address space than any limit here
  const auto memory = Shell(folder,
                            "yes 0 | head -n 900000 >cells.txt; ulimit -v 50000; "
                            "exec $MW -i cells.txt -o out.txt -f ogg");
  EXPECT_EQ(memory.exit_status, 2);
  EXPECT_EQ(memory.errors, "Markwright: cells.txt: not enough memory\n");
#endif
  for (const int interrupt : {SIGINT, SIGTERM, SIGHUP}) {
    const int watch = inotify_init1(IN_CLOEXEC);
    inotify_add_watch(watch, folder.path().c_str(), IN_CREATE);
    const pid_t child = fork();
    if (child == 0) {
      RemoveTemporaryFileOnInterrupt();
      WriteTextFile(folder / "out.txt", std::string(std::size_t{64} << 20, 'x'));
      _exit(0);
    }
    char events[4096];
    EXPECT_GT(read(watch, events, sizeof events), 0);  // the temporary file is there
    kill(child, interrupt);
    int status = 0;
    waitpid(child, &status, 0);
    close(watch);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == interrupt) << interrupt;
  }
  EXPECT_EQ(ReadFile(folder / "out.txt"), "old");
  for (const auto& entry : fs::directory_iterator(folder.path())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with(".markwright")) << entry.path();
  }
}

// Chapter frames nested in each other make TagLib recurse until its stack overflows: that
// happens in a child process, and the run ends with a message, the audio file unchanged.
TEST(Hostile, AnAudioFileThatCrashesTagLibEndsWithAMessage) {
  TempDir folder;
  const ProcessResult run = Shell(
      folder,
      "python3 -c 'import sys\nn = lambda v: bytes((v >> s) & 127 for s in (21, 14, 7, 0))\n"
      "t = b\"\".join(b\"CHAP\" + n(28 * k + 18) + bytes(2) + b\"a\\0\" + bytes(16) for k in "
      "reversed(range(60000)))\n"
      "sys.stdout.buffer.write(b\"ID3\\4\\0\\0\" + n(len(t)) + t + b\"\\xff\\xfb\\x90\\0\" * 9)'"
      " >deep.mp3 && cp deep.mp3 copy.mp3; $MW -i deep.mp3 -o out.txt -f ogg; echo $?; "
      "$MW -i in.txt -o copy.mp3 -f ID3; echo $?; cmp deep.mp3 copy.mp3 && ls -A");
  EXPECT_EQ(run.output, "2\n2\ncopy.mp3\ndeep.mp3\nin.txt\n");
  EXPECT_EQ(run.errors,
            "Markwright: deep.mp3: TagLib failed on the file (is it damaged?)\n"
            "Markwright: cannot write copy.mp3: TagLib failed on the file (is it damaged?)\n");
}

TEST(Hostile, AnUnreachableDisplayEndsWithStatus3) {
  if (!fs::exists(fs::path(MARKWRIGHT_EXE).parent_path() / "libmarkwright_ui.so")) return;
  TempDir folder;
  for (const std::string settings :
       {"unset QT_QPA_PLATFORM WAYLAND_DISPLAY; export DISPLAY=:77",
        "export QT_QPA_PLATFORM=no-such-platform",
        "unset QT_QPA_PLATFORM DISPLAY; export XDG_RUNTIME_DIR=. WAYLAND_DISPLAY=none"}) {
    const auto run = Shell(folder, settings + "; exec $MW");
    EXPECT_EQ(run.exit_status, 3) << settings << ": " << run.errors;
    EXPECT_NE(run.errors.find("the window cannot be opened"), kNone) << run.errors;
  }
}

}  // namespace
}  // namespace markwright::testing
