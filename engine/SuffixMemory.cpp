#include "engine/SuffixMemory.h"

#include "core/Path.h"

#include <charconv>

namespace tessaly {
namespace {

std::string Key(const std::string& directory, std::string_view stem) {
  std::string key = directory;
  key += '\0';
  key += stem;
  return key;
}

}  // namespace

SuffixMemory::Known* SuffixMemory::Find(const std::string& directory, std::string_view stem) {
  if (known_.empty()) return nullptr;  // most directories: no clash met
  auto it = known_.find(Key(directory, stem));
  return it == known_.end() ? nullptr : &it->second;
}

SuffixMemory::Known& SuffixMemory::For(const std::string& directory, std::string_view stem) {
  return known_[Key(directory, stem)];
}

void SuffixMemory::Forget(const std::string& directory, std::string_view stem, int from) {
  Known* known = Find(directory, stem);
  if (known == nullptr) return;
  if (known->taken > from) known->taken = from;
  std::erase_if(known->firstOfLength, [from](const auto& entry) { return entry.second >= from; });
}

void SuffixMemory::Freed(const std::string& directory, std::string_view name) {
  if (!name.ends_with(".JPG")) return;
  Forget(directory, StemOf(name), 0);  // the bare name of its own stem
  if (auto split = SplitSuffix(name)) Forget(directory, split->first, split->second);
}

std::optional<std::pair<std::string_view, int>> SplitSuffix(std::string_view name) {
  if (!name.ends_with(".JPG")) return std::nullopt;
  std::string_view base = StemOf(name);
  std::size_t dash = base.rfind('-');
  if (dash == std::string_view::npos || dash + 1 >= base.size() || base[dash + 1] == '0') {
    return std::nullopt;
  }
  int k = 0;
  auto [end, error] = std::from_chars(base.data() + dash + 1, base.data() + base.size(), k);
  if (error != std::errc() || end != base.data() + base.size()) return std::nullopt;
  return std::pair{base.substr(0, dash), k};
}

}  // namespace tessaly
