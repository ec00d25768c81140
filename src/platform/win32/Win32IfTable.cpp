#include "platform/win32/Win32IfTable.h"

#include "platform/PlatformIfTable.h"
#include "platform/win32/Win32Text.h"

#include <winsock2.h>
// In this order: winsock2 before windows, both before iphlpapi.
#include <windows.h>

#include <iphlpapi.h>

#include <memory>

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

std::string Win32IfTable::NarrowToUtf8(std::string_view narrow) const { return AnsiToUtf8(narrow); }

std::shared_ptr<IIfTable> MakePlatformIfTable() { return std::make_shared<Win32IfTable>(); }

} // namespace tallyflow
