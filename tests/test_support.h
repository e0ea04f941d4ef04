// Helpers shared by the tests: scratch folders and file contents.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

// A user-mode emulator runs the one process it is given: a test that starts
// a built program itself, or installs a seccomp filter, cannot run under it.
#ifdef GLYPHARY_UNDER_EMULATOR
#define GLYPHARY_SKIP_UNDER_EMULATOR(why) GTEST_SKIP() << "under a user-mode emulator: " << why
#else
#define GLYPHARY_SKIP_UNDER_EMULATOR(why) static_cast<void>(0)
#endif

namespace glyphary {

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "glyphary-test-XXXXXX").string();
    path_ = ::mkdtemp(templ.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  const std::string& Path() const { return path_; }
  std::size_t Entries() const {
    return std::size_t(std::distance(std::filesystem::directory_iterator(path_),
                                     std::filesystem::directory_iterator()));
  }

 private:
  std::string path_;
};

inline std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  const std::string s = ReadAll(path);
  return {s.begin(), s.end()};
}

// The message of what `action` throws; "" when it runs through.
template <typename Action>
std::string ErrorOf(const Action& action) {
  try {
    action();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

}  // namespace glyphary
