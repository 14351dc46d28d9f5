// A fresh directory only the test user can enter (0700), removed with all its contents when the
// test is done: home, runtime directory and scratch files of one desktop session.
#include "tests/e2e/harness/private_dir.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

namespace plumwick::e2e {

PrivateDir::PrivateDir() {
  // Kept short on purpose: the PulseAudio socket lives below it and socket paths are limited to
  // 108 bytes.
  std::string pattern = "/tmp/plumwick-e2e-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
  }
  path_ = pattern;
}

PrivateDir::~PrivateDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path PrivateDir::MakeSubdir(const std::string& name) const {
  const auto dir = path_ / name;
  if (mkdir(dir.c_str(), 0700) != 0) {
    throw std::system_error(errno, std::generic_category(), "mkdir " + dir.string());
  }
  return dir;
}

}  // namespace plumwick::e2e
