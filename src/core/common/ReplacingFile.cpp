#include "common/ReplacingFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <string_view>
#include <system_error>

namespace corvane {
namespace {

// ".name.partial-<process>-<count>": unique among the threads and processes
// that write beside the same target, and hidden from the operator's listing.
std::filesystem::path HiddenNameBeside(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  std::string name = ".";
  name += target.filename().string();
  name += ".partial-";
  name += std::to_string(::getpid());
  name += '-';
  name += std::to_string(counter++);
  return target.parent_path() / name;
}

bool IsDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether name is one HiddenNameBeside makes.
bool IsHiddenPartialName(std::string_view name) {
  const auto mark = name.rfind(".partial-");
  if (name.size() < 2 || name.front() != '.' || mark == std::string_view::npos || mark < 2) {
    return false;
  }
  const std::string_view numbers = name.substr(mark + 9);
  const auto dash = numbers.find('-');
  return dash != std::string_view::npos && IsDigits(numbers.substr(0, dash)) &&
         IsDigits(numbers.substr(dash + 1));
}

std::filesystem::path FolderOf(const std::filesystem::path& target) {
  return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

std::string DescriptorPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

}  // namespace

void RemoveLeftPartialFiles(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    std::error_code ignored;
    if (!IsHiddenPartialName(it->path().filename().string()) || it->is_directory(ignored)) continue;
    std::filesystem::remove(it->path(), ignored);
  }
}

ReplacingFile::ReplacingFile(std::filesystem::path target) : target_(std::move(target)) {
  std::error_code error;
  // Through a link the file it names is replaced, and the link stays.
  if (std::filesystem::is_symlink(target_, error)) {
    target_ = std::filesystem::weakly_canonical(target_, error);
    if (error) return;
  }
  // A device, a pipe or a folder is not replaced by a file.
  const auto status = std::filesystem::status(target_, error);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) return;
  file_ = FileStream::CreateUnnamedIn(FolderOf(target_));
  // Naming the file later goes through /proc; without it, a hidden name now.
  if (file_.IsOpen() && ::access(DescriptorPath(file_.Descriptor()).c_str(), F_OK) == 0) return;
  file_.Close();
  for (int attempt = 0; attempt < 8 && !file_.IsOpen(); ++attempt) {
    named_ = HiddenNameBeside(target_);
    file_ = FileStream::CreateNew(named_);
  }
  if (!file_.IsOpen()) named_.clear();
}

ReplacingFile::~ReplacingFile() { Abandon(); }

std::filesystem::path ReplacingFile::WritePath() const {
  return named_.empty() ? std::filesystem::path(DescriptorPath(file_.Descriptor())) : named_;
}

bool ReplacingFile::Commit(bool sync) {
  if (!file_.IsOpen()) return false;
  if (sync && !file_.Sync()) {
    Abandon();
    return false;
  }
  if (named_.empty()) {
    const std::filesystem::path hidden = HiddenNameBeside(target_);
    if (::linkat(AT_FDCWD, DescriptorPath(file_.Descriptor()).c_str(), AT_FDCWD, hidden.c_str(),
                 AT_SYMLINK_FOLLOW) != 0) {
      Abandon();
      return false;
    }
    named_ = hidden;
  }
  bool ok = file_.Close();
  std::error_code error;
  if (ok) std::filesystem::rename(named_, target_, error);
  if (!ok || error) {
    Abandon();
    return false;
  }
  named_.clear();
  return true;
}

void ReplacingFile::Abandon() {
  file_.Close();
  if (named_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove(named_, ignored);
  named_.clear();
}

}  // namespace corvane
