// `lorvex shapes`, run as a person runs it.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

struct ShapesRun {
  int status = -1;
  std::string png;  // the file written, if any
};

ShapesRun Shapes(const std::string& arguments) {
  static int counter = 0;
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("lorvex-shapes-" + std::to_string(::getpid()) + "-" +
                                     std::to_string(counter++));
  std::filesystem::create_directories(dir);
  const std::string command = "cd '" + dir.string() + "' && '" LORVEX_CLI_PATH "' shapes " +
                              arguments + " >/dev/null 2>&1";
  ShapesRun run;
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::ifstream in(dir / "gallery.png", std::ios::binary);
  run.png.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  std::filesystem::remove_all(dir);
  return run;
}

TEST(ShapesCommand, WritesTheGalleryAsAPngOnePictureForEachOrientation) {
  const ShapesRun plain = Shapes("--png gallery.png");
  ASSERT_EQ(plain.status, 0);
  ASSERT_GT(plain.png.size(), 8u);
  EXPECT_EQ(plain.png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_EQ(Shapes("--png gallery.png --orient 0 --squares 400").png, plain.png);
  EXPECT_NE(Shapes("--png gallery.png --orient 3").png, plain.png);
  EXPECT_NE(Shapes("--png gallery.png --squares 60").png, plain.png);
}

TEST(ShapesCommand, RefusesBadOptionsWithStatus2AndWritesNothing) {
  for (const char* arguments :
       {"--png gallery.png --squares 0", "--png gallery.png --squares 10000",
        "--png gallery.png --orient 8", "--png gallery.png --orient -1", "--squares 5",
        "--png gallery.png --squares many"}) {
    const ShapesRun run = Shapes(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_TRUE(run.png.empty()) << arguments;
  }
  EXPECT_EQ(Shapes("--png missing/folder/gallery.png").status, 2);
}

}  // namespace
