#include "platform/linux/iftable/HardwareDatabase.h"

#include <libudev.h>

#include <cstdlib>
#include <string_view>
#include <sys/stat.h>

namespace tallyflow {
namespace {

struct DeviceUnref {
  void operator()(udev_device *d) const { udev_device_unref(d); }
};
using DevicePtr = std::unique_ptr<udev_device, DeviceUnref>;

std::string HwdbValue(udev_hwdb *hwdb, const char *modalias, std::string_view key) {
  udev_list_entry *entry = udev_hwdb_get_properties_list_entry(hwdb, modalias, 0);
  for (; entry != nullptr; entry = udev_list_entry_get_next(entry)) {
    if (key == udev_list_entry_get_name(entry)) {
      const char *value = udev_list_entry_get_value(entry);
      return value ? value : "";
    }
  }
  return {};
}

std::string JoinVendorModel(const std::string &vendor, const std::string &model) {
  if (vendor.empty()) {
    return model;
  }
  if (model.empty()) {
    return vendor;
  }
  return vendor + " " + model;
}

bool HasEntry(const char *syspath, const char *child) {
  struct stat st {};
  return ::stat((std::string(syspath) + "/" + child).c_str(), &st) == 0;
}

} // namespace

HardwareDatabase::HardwareDatabase() : m_udev(udev_new()) {
  if (m_udev != nullptr) {
    m_hwdb = udev_hwdb_new(m_udev);
  }
}

HardwareDatabase::~HardwareDatabase() {
  if (m_hwdb != nullptr) {
    udev_hwdb_unref(m_hwdb);
  }
  if (m_udev != nullptr) {
    udev_unref(m_udev);
  }
}

LinkHardware HardwareDatabase::Lookup(const std::string &name, std::uint32_t ifindex) const {
  LinkHardware facts;
  if (m_udev == nullptr) {
    return facts;
  }
  DevicePtr net(udev_device_new_from_subsystem_sysname(m_udev, "net", name.c_str()));
  if (!net) {
    return facts;
  }
  const char *index = udev_device_get_sysattr_value(net.get(), "ifindex");
  if (index == nullptr || std::strtoul(index, nullptr, 10) != ifindex) {
    return facts;
  }
  const char *syspath = udev_device_get_syspath(net.get());
  facts.wireless = syspath != nullptr && (HasEntry(syspath, "wireless") || HasEntry(syspath, "phy80211"));

  // A running udev daemon has already stored the names.
  const char *vendor = udev_device_get_property_value(net.get(), "ID_VENDOR_FROM_DATABASE");
  const char *model = udev_device_get_property_value(net.get(), "ID_MODEL_FROM_DATABASE");
  facts.adapter = JoinVendorModel(vendor ? vendor : "", model ? model : "");
  if (!facts.adapter.empty() || m_hwdb == nullptr) {
    return facts;
  }
  // Parents are owned by their child device: no unref for them.
  for (udev_device *dev = udev_device_get_parent(net.get()); dev != nullptr;
       dev = udev_device_get_parent(dev)) {
    const char *modalias = udev_device_get_sysattr_value(dev, "modalias");
    if (modalias == nullptr) {
      continue;
    }
    facts.adapter = JoinVendorModel(HwdbValue(m_hwdb, modalias, "ID_VENDOR_FROM_DATABASE"),
                                    HwdbValue(m_hwdb, modalias, "ID_MODEL_FROM_DATABASE"));
    if (!facts.adapter.empty()) {
      break;
    }
  }
  return facts;
}

} // namespace tallyflow
