// A fresh folder in which the command-line tool runs as a person runs it: its standard
// output and error and its exit status are kept. Environment settings for the one run
// (such as LD_PRELOAD of the file-fault library) may be given.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace lorvex::testing {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

class CliFolder {
 public:
  explicit CliFolder(const std::string& purpose) {
    static int counter = 0;
    dir_ = std::filesystem::temp_directory_path() /
           ("lorvex-" + purpose + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
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

  // Runs `cli arguments` in the folder with `environment` ("NAME='value' ..." or "").
  CliRun Run(const std::string& cli, const std::string& arguments,
             const std::string& environment = "") const {
    const std::string errFile = (dir_ / ".stderr").string();
    const std::string command = "cd '" + dir_.string() + "' && " + environment + " '" + cli + "' " +
                                arguments + " 2>'" + errFile + "'";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.err = ReadWholeFile(errFile);
    std::filesystem::remove(errFile);
    return run;
  }

 private:
  std::filesystem::path dir_;
};

}  // namespace lorvex::testing
