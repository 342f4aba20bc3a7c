#pragma once
// A file that takes its target's place only once it is complete, so a save
// that fails, or a run killed half way, leaves the previous file whole and
// nothing under the target's name that is not whole.
//
// Where the system allows it the file has no name at all while it is written
// (a run killed meanwhile leaves nothing behind); elsewhere it has a unique
// hidden name beside the target. Commit names it and renames it over the
// target in one step.

#include <filesystem>

#include "common/ByteStream.h"

namespace corvane {

class ReplacingFile {
 public:
  // Creates the file in the target's folder, which must exist. Through a
  // link, the file the link names is the target. Not open when the target
  // is something other than a file (a device, a pipe, a folder).
  explicit ReplacingFile(std::filesystem::path target);
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  // An uncommitted file is dropped.
  ~ReplacingFile();

  bool IsOpen() const { return file_.IsOpen(); }
  FileStream& Stream() { return file_; }
  // A path through which other code (the encoder) opens the same file to
  // write it.
  std::filesystem::path WritePath() const;
  // Puts the file in place of the target; with sync it reaches the disk
  // first. False, with the target as it was, when any step fails.
  bool Commit(bool sync = false);
  // Drops the file; the target is left as it was.
  void Abandon();

 private:
  std::filesystem::path target_;
  std::filesystem::path named_;  // the hidden name, when the file has one
  FileStream file_;
};

// Removes the hidden files a run killed in the instant between naming a
// new file and putting it in place left directly inside folder. Only names
// of that form are touched; failures are ignored.
void RemoveLeftPartialFiles(const std::filesystem::path& folder);

}  // namespace corvane
