#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tallyflow {

// The predefined keys the program uses.
enum class Hive : std::uint32_t { CurrentUser = 0x80000001u, LocalMachine = 0x80000002u };

inline constexpr std::uint32_t kRegSz = 1;    // REG_SZ
inline constexpr std::uint32_t kRegDword = 4; // REG_DWORD
inline constexpr long kRegSuccess = 0;
inline constexpr long kRegFileNotFound = 2;
inline constexpr long kRegAccessDenied = 5;
inline constexpr long kRegMoreData = 234;
inline constexpr std::uint32_t kKeyAllAccess = 0x2003F;

// The registry calls the helpers rely on (advapi32's ...A calls), for the
// two hives. Texts are 8-bit: the system's code page on Windows, UTF-8
// elsewhere. Key paths use "\" between key names.
class IRegistry {
public:
  using Handle = std::uintptr_t;

  virtual ~IRegistry() = default;

  // RegOpenKeyA: a handle to an existing key; none when it is missing.
  virtual std::optional<Handle> OpenKey(Hive hive, const std::string &keyPath) = 0;
  // RegOpenKeyExA: 0 and a handle to an existing key opened with the access
  // asked for, or a non-zero status (a missing key, access refused).
  virtual long OpenKeyEx(Hive hive, const std::string &keyPath, std::uint32_t samDesired, Handle *result) = 0;
  // RegCreateKeyA: a handle, creating the key and any missing keys on the path.
  virtual std::optional<Handle> CreateKey(Hive hive, const std::string &keyPath) = 0;
  // RegQueryValueExA: stores the type and the size in bytes; with a buffer
  // of *size bytes also copies the data. 0 on success.
  virtual long QueryValue(Handle key, const std::string &valueName, std::uint32_t *type, std::byte *data,
                          std::uint32_t *size) = 0;
  // RegSetValueExA: creates or replaces the value.
  virtual long SetValue(Handle key, const std::string &valueName, std::uint32_t type, const std::byte *data,
                        std::uint32_t size) = 0;
  // RegDeleteValueA: removes the value; the key stays.
  virtual long DeleteValue(Handle key, const std::string &valueName) = 0;
  // RegFlushKey: the key's changes written to the store, all of them or,
  // on failure, none. 0 on success.
  virtual long FlushKey(Handle key) = 0;
  // RegCloseKey.
  virtual long CloseKey(Handle key) = 0;
};

// An open key, closed when it goes out of scope.
class RegKey {
public:
  RegKey(IRegistry &registry, std::optional<IRegistry::Handle> handle)
      : m_registry(registry), m_handle(handle) {}
  ~RegKey() {
    if (m_handle) {
      m_registry.CloseKey(*m_handle);
    }
  }
  RegKey(const RegKey &) = delete;
  RegKey &operator=(const RegKey &) = delete;

  explicit operator bool() const { return m_handle.has_value(); }
  IRegistry::Handle get() const { return *m_handle; }

private:
  IRegistry &m_registry;
  std::optional<IRegistry::Handle> m_handle;
};

} // namespace tallyflow
