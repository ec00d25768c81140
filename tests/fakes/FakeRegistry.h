#pragma once

#include "registry/IRegistry.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <vector>

namespace tallyflow::test {

// An in-memory registry that keeps value types and bytes as given, checks
// that every handle opened is closed, and can refuse writes to a hive or to
// values of a name.
class FakeRegistry final : public IRegistry {
public:
  struct Value {
    std::uint32_t type;
    std::vector<std::byte> bytes;
  };

  std::optional<Handle> OpenKey(Hive hive, const std::string &keyPath) override {
    opened.push_back(keyPath);
    const auto k = Key(hive, keyPath);
    if (!keys.count(k)) {
      return std::nullopt;
    }
    return Open(k);
  }
  long OpenKeyEx(Hive hive, const std::string &keyPath, std::uint32_t samDesired, Handle *result) override {
    accessMasks.push_back(samDesired);
    const auto key = OpenKey(hive, keyPath);
    *result = key.value_or(0);
    return key ? kRegSuccess : kRegFileNotFound;
  }
  std::optional<Handle> CreateKey(Hive hive, const std::string &keyPath) override {
    if (refused.count(hive)) {
      return std::nullopt;
    }
    // Every key on the path comes into being.
    std::string prefix;
    for (char c : keyPath + "\\") {
      if (c == '\\') {
        keys.insert(Key(hive, prefix));
      }
      prefix += c;
    }
    return Open(Key(hive, keyPath));
  }
  long QueryValue(Handle key, const std::string &name, std::uint32_t *type, std::byte *data,
                  std::uint32_t *size) override {
    ++queries;
    const auto &values = store[handles.at(key)];
    const auto it = values.find(name);
    if (it == values.end()) {
      return kRegFileNotFound;
    }
    *type = it->second.type;
    const auto needed = static_cast<std::uint32_t>(it->second.bytes.size());
    if (data != nullptr) {
      if (failSecondRead || *size < needed) {
        *size = needed;
        return failSecondRead ? 31 : kRegMoreData;
      }
      if (needed > 0) {
        std::memcpy(data, it->second.bytes.data(), needed);
      }
    }
    *size = needed;
    return kRegSuccess;
  }
  long SetValue(Handle key, const std::string &name, std::uint32_t type, const std::byte *data,
                std::uint32_t size) override {
    if (refusedValues.count(name)) {
      return kRegAccessDenied;
    }
    store[handles.at(key)][name] = Value{type, std::vector<std::byte>(data, data + size)};
    return kRegSuccess;
  }
  long DeleteValue(Handle key, const std::string &name) override {
    if (refusedDelete) {
      return kRegAccessDenied;
    }
    return store[handles.at(key)].erase(name) ? kRegSuccess : kRegFileNotFound;
  }
  long FlushKey(Handle key) override { return handles.count(key) ? kRegSuccess : 6; }
  long CloseKey(Handle key) override { return handles.erase(key) ? kRegSuccess : 6; }

  // Test-side access.
  void Put(Hive hive, const std::string &keyPath, const std::string &name, std::uint32_t type,
           const std::string &bytes) {
    CreateKey(hive, keyPath);
    handles.clear();
    store[Key(hive, keyPath)][name] =
        Value{type,
              {reinterpret_cast<const std::byte *>(bytes.data()),
               reinterpret_cast<const std::byte *>(bytes.data()) + bytes.size()}};
  }
  const Value *Find(Hive hive, const std::string &keyPath, const std::string &name) const {
    const auto k = store.find(Key(hive, keyPath));
    if (k == store.end()) {
      return nullptr;
    }
    const auto v = k->second.find(name);
    return v == k->second.end() ? nullptr : &v->second;
  }
  bool HasKey(Hive hive, const std::string &keyPath) const { return keys.count(Key(hive, keyPath)) > 0; }

  std::set<std::string> keys;
  std::map<std::string, std::map<std::string, Value>> store;
  std::map<Handle, std::string> handles; // open ones
  std::set<Hive> refused;
  std::set<std::string> refusedValues; // names whose writes fail
  bool refusedDelete = false;
  bool failSecondRead = false;
  int queries = 0;
  std::vector<std::string> opened;        // key paths, in order
  std::vector<std::uint32_t> accessMasks; // asked of OpenKeyEx, in order

private:
  // Key names compare without regard to case, as in the registry.
  static std::string Key(Hive hive, std::string path) {
    std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) { return std::tolower(c); });
    return std::to_string(static_cast<std::uint32_t>(hive)) + ":" + path;
  }
  Handle Open(const std::string &k) {
    handles[++next] = k;
    return next;
  }
  Handle next = 0;
};

} // namespace tallyflow::test
