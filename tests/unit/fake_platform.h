#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace pelkwardt {

// An in-memory directory that keeps the platform contracts and records every call, so a test can
// assert the exact sequence of existence tests, deletes and renames.
class FakePlatform final : public Platform {
 public:
  struct File {
    std::int64_t size = 0;
    std::string content;
    bool readOnly = false;
    bool directory = false;
    bool heldOpenForWriting = false;
  };

  std::map<std::string, File> files;
  std::vector<std::string> calls;
  std::string output;
  bool rotationLockedElsewhere = false;
  std::int64_t freeBytes = 1 << 30;
  std::int64_t totalBytes = std::int64_t{1} << 32;

  bool FileExists(const std::string& path) override {
    calls.push_back("exists " + path);
    const auto it = files.find(path);
    return it != files.end() && !it->second.directory;
  }

  std::int64_t MeasureLogSize(const std::string& path) override {
    calls.push_back("measure " + path);
    const auto it = files.find(path);
    if (it == files.end() || it->second.directory || it->second.readOnly || it->second.heldOpenForWriting) return -1;
    return it->second.size;
  }

  void RemoveFile(const std::string& path) override {
    calls.push_back("remove " + path);
    const auto it = files.find(path);
    if (it != files.end() && !it->second.directory && !it->second.readOnly) files.erase(it);
  }

  void RenameFile(const std::string& from, const std::string& to) override {
    calls.push_back("rename " + from + " " + to);
    const auto source = files.find(from);
    if (source == files.end() || files.count(to) != 0) return;
    files[to] = source->second;
    files.erase(from);
  }

  bool LockRotation(const std::string& logFileName) override {
    calls.push_back("lock " + logFileName);
    return !rotationLockedElsewhere;
  }

  std::int64_t FreeBytes() override {
    calls.push_back("free");
    return freeBytes;
  }

  std::int64_t TotalBytes() override {
    calls.push_back("total");
    return totalBytes;
  }

  void WriteOutput(std::string_view text) override { output.append(text); }

  // Name -> content of every entry, directories shown as "<dir>".
  std::map<std::string, std::string> Contents() const {
    std::map<std::string, std::string> result;
    for (const auto& [name, file] : files) result[name] = file.directory ? "<dir>" : file.content;
    return result;
  }
};

}  // namespace pelkwardt
