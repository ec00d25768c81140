#include "Win32IfTable.h"

#include "PlatformIfTable.h"

#include <winsock2.h>
// In this order: winsock2 before windows, both before iphlpapi.
#include <windows.h>

#include <iphlpapi.h>

#include <memory>
#include <vector>

namespace tallyflow {

std::uint32_t Win32IfTable::GetIfTable(std::byte *pIfTable, std::uint32_t *pdwSize, bool bOrder) {
  static_assert(sizeof(MIB_IFROW) == 860, "MIB_IFROW layout");
  ULONG size = pdwSize ? *pdwSize : 0;
  const DWORD result = ::GetIfTable(reinterpret_cast<PMIB_IFTABLE>(pIfTable), pdwSize ? &size : nullptr,
                                    bOrder ? TRUE : FALSE);
  if (pdwSize) {
    *pdwSize = size;
  }
  return result;
}

std::string Win32IfTable::NarrowToUtf8(std::string_view narrow) const {
  if (narrow.empty()) {
    return {};
  }
  const int n = static_cast<int>(narrow.size());
  const int wide = ::MultiByteToWideChar(CP_ACP, 0, narrow.data(), n, nullptr, 0);
  if (wide <= 0) {
    return {};
  }
  std::vector<wchar_t> w(static_cast<std::size_t>(wide));
  ::MultiByteToWideChar(CP_ACP, 0, narrow.data(), n, w.data(), wide);
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) {
    ::WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, out.data(), bytes, nullptr, nullptr);
  }
  return out;
}

std::shared_ptr<IIfTable> MakePlatformIfTable() { return std::make_shared<Win32IfTable>(); }

} // namespace tallyflow
