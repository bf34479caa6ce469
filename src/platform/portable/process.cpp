#include "platform/process.h"

#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/thread.h"

namespace lumora::platform {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The words of a command line as a Windows program's start-up code splits them: the program name
// runs to the next blank, or between quotation marks; in the arguments, quotation marks group
// blanks, and backslashes count only in front of a quotation mark (2n give n and a grouping
// mark, 2n + 1 give n and a literal mark).
std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> words;
  std::size_t at = 0;
  std::string program;
  if (at < line.size() && line[at] == '"') {
    ++at;
    while (at < line.size() && line[at] != '"') {
      program += line[at++];
    }
    if (at < line.size()) {
      ++at;
    }
  } else {
    while (at < line.size() && !IsBlank(line[at])) {
      program += line[at++];
    }
  }
  words.push_back(program);

  for (;;) {
    while (at < line.size() && IsBlank(line[at])) {
      ++at;
    }
    if (at == line.size()) {
      return words;
    }
    std::string word;
    bool quoted = false;
    while (at < line.size() && (quoted || !IsBlank(line[at]))) {
      std::size_t backslashes = 0;
      while (at < line.size() && line[at] == '\\') {
        ++backslashes;
        ++at;
      }
      if (at < line.size() && line[at] == '"') {
        word.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          word += '"';
        } else if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
          // A doubled mark inside quotation marks stands for one mark.
          word += '"';
          ++at;
        } else {
          quoted = !quoted;
        }
        ++at;
      } else {
        word.append(backslashes, '\\');
        if (backslashes == 0 && at < line.size()) {
          word += line[at++];
        }
      }
    }
    words.push_back(word);
  }
}

}  // namespace

// Here no program shows message boxes: `whenItTellsTheUser` is never called.
StartedProgram StartProcess(const Text& commandLine, const std::function<void()>&) {
  std::vector<std::string> words = SplitCommandLine(commandLine);
  if (words.front().empty()) {
    return StartedProgram::kNotStarted;
  }
  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (std::string& word : words) {
    argv.push_back(word.data());
  }
  argv.push_back(nullptr);
  pid_t child = 0;
  if (::posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    return StartedProgram::kNotStarted;
  }
  // Nobody waits for the program; this collects its exit status so it leaves no zombie behind
  // (without a thread for it, the zombie stays until this process ends).
  StartDetachedThread([child] {
    int status = 0;
    while (::waitpid(child, &status, 0) == -1 && errno == EINTR) {
    }
  });
  return StartedProgram::kStarted;
}

Text SystemProgram(const Text&) {
  return {};
}

}  // namespace lumora::platform
