// A fresh directory only the test user can enter (0700), removed with all its contents when the
// test is done: home, runtime directory and scratch files of one desktop session.
#pragma once

#include <filesystem>

namespace plumwick::e2e {

class PrivateDir {
 public:
  PrivateDir();
  ~PrivateDir();

  PrivateDir(const PrivateDir&) = delete;
  PrivateDir& operator=(const PrivateDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Makes a 0700 subdirectory and returns its path.
  std::filesystem::path MakeSubdir(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace plumwick::e2e
