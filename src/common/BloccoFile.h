#pragma once

#include <filesystem>
#include <memory>

namespace fcl {

// An advisory lock on a working file that several runs could write, such as the intermediate file
// of the program folder: while one run holds it, another run that would write the same file is
// refused instead of mixing its records with the first run's. The lock is an exclusive flock on a
// small lock file in the system's temporary folder named after the working file's resolved path
// ("fiscolario-" + a hash of it + ".lock"): the working file itself is replaced by a rename at
// every run, so a lock on it would stay on the old file, and a lock file beside it would be one
// more file in the user's folders. The operating system drops the lock when the process ends in
// any way, so a killed run never leaves the file locked; the empty lock file stays and is reused.
class BloccoFile {
 public:
  // Takes the lock of `file` without waiting. nullptr when another run holds it. When the lock
  // cannot be taken for another reason (a folder that cannot be written, a volume without locks)
  // the object is returned without a lock: the run goes on and meets the fault when it writes.
  static std::unique_ptr<BloccoFile> Prova(const std::filesystem::path& file);

  ~BloccoFile();
  BloccoFile(const BloccoFile&) = delete;
  BloccoFile& operator=(const BloccoFile&) = delete;

  // The working file locked, as given.
  const std::filesystem::path& File() const { return file_; }

 private:
  BloccoFile(std::filesystem::path file, int fd) : file_(std::move(file)), fd_(fd) {}

  std::filesystem::path file_;
  int fd_ = -1;
};

}  // namespace fcl
