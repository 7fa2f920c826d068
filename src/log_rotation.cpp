#include "log_rotation.h"

#include <algorithm>

namespace pelkwardt {
namespace {

constexpr std::size_t SlotDigits = 5;
constexpr std::size_t TailBytes = 4;
constexpr std::int64_t BytesPerMegabyte = 1024 * 1024;

}  // namespace

SlotName::SlotName(std::string_view logFileName) {
  const std::size_t length = logFileName.size();
  const std::size_t headBytes = length > TailBytes ? length - TailBytes : 0;
  const std::size_t tailBytes = length >= TailBytes ? TailBytes : 0;
  name_.reserve(headBytes + 1 + SlotDigits + tailBytes);
  name_.append(logFileName.substr(0, headBytes));
  name_.push_back('_');
  digitsAt_ = name_.size();
  name_.append(SlotDigits, '0');
  name_.append(logFileName.substr(length - tailBytes));
}

const std::string& SlotName::For(std::int32_t slot) {
  for (std::size_t i = SlotDigits; i-- > 0;) {
    name_[digitsAt_ + i] = static_cast<char>('0' + slot % 10);
    slot /= 10;
  }
  return name_;
}

std::string RotatedFileName(std::string_view logFileName, std::int32_t slot) {
  return SlotName(logFileName).For(slot);
}

// A hash keeps the name short and free of path separators, which lock namespaces do not allow.
std::string RotationLockName(std::string_view fullLogPath) {
  std::uint64_t hash = 14695981039346656037u;  // 64-bit FNV-1a
  for (char c : fullLogPath) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
  }
  std::string name = "pelkwardt-rotation-0000000000000000";
  for (std::size_t i = name.size(); hash != 0; hash >>= 4) name[--i] = "0123456789abcdef"[hash & 0xF];
  return name;
}

std::int64_t SizeThreshold(std::int32_t maxLogSizeMB) {
  return std::max<std::int64_t>(maxLogSizeMB, 0) * BytesPerMegabyte;
}

void RotateLogFiles(const RunSettings& settings, Platform& platform) {
  const std::int32_t top = settings.MaxRotatedFiles;
  SlotName current(settings.LogFileName);
  SlotName next(settings.LogFileName);
  for (std::int32_t i = top; i >= 0; --i) {
    const std::string& currentName = current.For(i);
    const std::string& nextName = next.For(i + 1);
    if (i == top && platform.FileExists(currentName)) platform.RemoveFile(currentName);
    if (i > 0 && i < top && platform.FileExists(currentName)) platform.RenameFile(currentName, nextName);
    if (i == 0 && platform.FileExists(settings.LogFileName)) platform.RenameFile(settings.LogFileName, nextName);
  }
}

void CheckLogSizeAndRotate(const RunSettings& settings, Platform& platform) {
  if (!platform.FileExists(settings.LogFileName)) return;
  // Two runs rotating one log at once would each delete whatever stands in the top slot: two generations.
  if (!platform.LockRotation(settings.LogFileName)) return;
  const std::int64_t size = platform.MeasureLogSize(settings.LogFileName);
  if (size < 0) return;  // could not be opened for measuring
  if (size >= SizeThreshold(settings.MaxLogSizeMB)) RotateLogFiles(settings, platform);
}

}  // namespace pelkwardt
