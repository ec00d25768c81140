#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct udev;
struct udev_hwdb;

namespace tallyflow {

// What udev's sysfs view and hardware database say of one network link.
struct LinkHardware {
  std::string adapter; // "Vendor Model" of the adapter, empty when unknown
  bool wireless = false;
};

// Looks adapters up in udev's hardware database (hwdb.bin), walking from the
// link's sysfs device up through its parents to the first modalias the
// database knows. Works without a running udev daemon.
class HardwareDatabase {
public:
  HardwareDatabase();
  ~HardwareDatabase();
  HardwareDatabase(const HardwareDatabase &) = delete;
  HardwareDatabase &operator=(const HardwareDatabase &) = delete;

  // sysfs shows the links of the namespace it was mounted in, which need not
  // be ours: the entry counts only when its ifindex matches.
  LinkHardware Lookup(const std::string &name, std::uint32_t ifindex) const;

private:
  udev *m_udev = nullptr;
  udev_hwdb *m_hwdb = nullptr;
};

} // namespace tallyflow
