// Runs the lorvex command-line tool as a person runs it, in a fresh folder of its own (so
// that no settings file of an earlier run is found), collecting its status and output.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace lorvex::testing {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The lines of a text, without their line ends ("\n"; a CR before it stays).
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// The command-line tool the test program was built with (none for a program that runs none).
#ifdef LORVEX_CLI_PATH
inline const std::string kCliPath = LORVEX_CLI_PATH;
#else
inline const std::string kCliPath;
#endif

class CliFolder {
 public:
  explicit CliFolder(const std::string& prefix = "lorvex-cli") {
    static int counter = 0;
    dir_ = std::filesystem::temp_directory_path() /
           (prefix + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  ~CliFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  CliFolder(const CliFolder&) = delete;
  CliFolder& operator=(const CliFolder&) = delete;

  const std::filesystem::path& Path() const { return dir_; }
  std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }

  // `arguments` go through the shell; `environment` is "NAME='value' ..." or "".
  CliRun Run(const std::string& arguments, const std::string& environment = "") const {
    const std::string errFile = (dir_ / ".stderr").string();
    const std::string command = "cd '" + dir_.string() + "' && " + environment + " '" + kCliPath + "' " +
                                arguments + " 2>'" + errFile + "' </dev/null";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.err = ReadFile(errFile);
    std::filesystem::remove(errFile);
    return run;
  }

 private:
  std::filesystem::path dir_;
};

// A fresh, empty current directory (the settings folder is relative to it) for one test.
class InEmptyDirectory : public CliFolder {
 public:
  InEmptyDirectory() : CliFolder("lorvex-folder"), previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(Path());
  }
  ~InEmptyDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }

 private:
  std::filesystem::path previous_;
};

}  // namespace lorvex::testing
