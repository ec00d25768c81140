#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace tallyflow {

// Time since the system started, the epoch of an interface's LastChange. The
// platform reports it in hundredths of a second; the zero date-time is the
// moment the system started.
struct SystemStartClock {
  using rep = std::int64_t;
  using period = std::centi;
  using duration = std::chrono::duration<rep, period>;
  using time_point = std::chrono::time_point<SystemStartClock>;
  static constexpr bool is_steady = true;
};
using DateTime = SystemStartClock::time_point;

// One row of the platform's interface table at one moment. The platform's
// numeric fields are unsigned 32-bit and are kept that way, so a counter of
// 3,000,000,000 reads as such. Texts are assigned in place, so a record
// filled again keeps the room its texts had.
class CInterface {
public:
  // Accessor pairs in the record's operation table order (read, then assign).
  const std::string &InterfaceDescription() const { return m_InterfaceDescription; }
  void InterfaceDescription(std::string_view strNewValue) { m_InterfaceDescription.assign(strNewValue); }
  std::uint32_t OutputQueueLength() const { return m_OutputQueueLength; }
  void OutputQueueLength(std::uint32_t lngNewValue) { m_OutputQueueLength = lngNewValue; }
  std::uint32_t OutgoingErrors() const { return m_OutgoingErrors; }
  void OutgoingErrors(std::uint32_t lngNewValue) { m_OutgoingErrors = lngNewValue; }
  std::uint32_t DiscardedOutgoingPackets() const { return m_DiscardedOutgoingPackets; }
  void DiscardedOutgoingPackets(std::uint32_t lngNewValue) { m_DiscardedOutgoingPackets = lngNewValue; }
  std::uint32_t NonunicastPacketsSent() const { return m_NonunicastPacketsSent; }
  void NonunicastPacketsSent(std::uint32_t lngNewValue) { m_NonunicastPacketsSent = lngNewValue; }
  std::uint32_t UnicastPacketsSent() const { return m_UnicastPacketsSent; }
  void UnicastPacketsSent(std::uint32_t lngNewValue) { m_UnicastPacketsSent = lngNewValue; }
  std::uint32_t OctetsSent() const { return m_OctetsSent; }
  void OctetsSent(std::uint32_t lngNewValue) { m_OctetsSent = lngNewValue; }
  std::uint32_t UnknownProtocolPackets() const { return m_UnknownProtocolPackets; }
  void UnknownProtocolPackets(std::uint32_t lngNewValue) { m_UnknownProtocolPackets = lngNewValue; }
  std::uint32_t IncomingErrors() const { return m_IncomingErrors; }
  void IncomingErrors(std::uint32_t lngNewValue) { m_IncomingErrors = lngNewValue; }
  std::uint32_t DiscardedIncomingPackets() const { return m_DiscardedIncomingPackets; }
  void DiscardedIncomingPackets(std::uint32_t lngNewValue) { m_DiscardedIncomingPackets = lngNewValue; }
  std::uint32_t NonunicastPacketsReceived() const { return m_NonunicastPacketsReceived; }
  void NonunicastPacketsReceived(std::uint32_t lngNewValue) { m_NonunicastPacketsReceived = lngNewValue; }
  std::uint32_t MaximumTransmissionUnit() const { return m_MaximumTransmissionUnit; }
  void MaximumTransmissionUnit(std::uint32_t lngNewValue) { m_MaximumTransmissionUnit = lngNewValue; }
  std::uint32_t UnicastPacketsReceived() const { return m_UnicastPacketsReceived; }
  void UnicastPacketsReceived(std::uint32_t lngNewValue) { m_UnicastPacketsReceived = lngNewValue; }
  std::uint32_t OctetsReceived() const { return m_OctetsReceived; }
  void OctetsReceived(std::uint32_t lngNewValue) { m_OctetsReceived = lngNewValue; }
  DateTime LastChange() const { return m_LastChange; }
  void LastChange(DateTime datNewValue) { m_LastChange = datNewValue; }
  std::uint32_t OperationalStatus() const { return m_OperationalStatus; }
  void OperationalStatus(std::uint32_t NewValue) { m_OperationalStatus = NewValue; }
  std::uint32_t AdminStatus() const { return m_AdminStatus; }
  void AdminStatus(std::uint32_t NewValue) { m_AdminStatus = NewValue; }
  const std::string &AdapterAddress() const { return m_AdapterAddress; }
  void AdapterAddress(std::string_view strNewValue) { m_AdapterAddress.assign(strNewValue); }
  std::uint32_t Speed() const { return m_Speed; }
  void Speed(std::uint32_t lngNewValue) { m_Speed = lngNewValue; }
  std::uint32_t InterfaceType() const { return m_InterfaceType; }
  void InterfaceType(std::uint32_t NewValue) { m_InterfaceType = NewValue; }
  std::uint32_t InterfaceIndex() const { return m_InterfaceIndex; }
  void InterfaceIndex(std::uint32_t lngNewValue) { m_InterfaceIndex = lngNewValue; }
  const std::string &InterfaceName() const { return m_InterfaceName; }
  void InterfaceName(std::string_view strNewValue) { m_InterfaceName.assign(strNewValue); }

private:
  // Storage in the record's property order.
  std::string m_InterfaceName;
  std::uint32_t m_InterfaceIndex = 0;
  std::uint32_t m_InterfaceType = 0;
  std::uint32_t m_Speed = 0; // bits per second
  std::string m_AdapterAddress;
  std::uint32_t m_AdminStatus = 0;
  std::uint32_t m_OperationalStatus = 0;
  DateTime m_LastChange{};
  std::uint32_t m_OctetsReceived = 0;
  std::uint32_t m_UnicastPacketsReceived = 0;
  std::uint32_t m_MaximumTransmissionUnit = 0; // bytes
  std::uint32_t m_NonunicastPacketsReceived = 0;
  std::uint32_t m_DiscardedIncomingPackets = 0;
  std::uint32_t m_IncomingErrors = 0;
  std::uint32_t m_UnknownProtocolPackets = 0;
  std::uint32_t m_OctetsSent = 0;
  std::uint32_t m_UnicastPacketsSent = 0;
  std::uint32_t m_NonunicastPacketsSent = 0;
  std::uint32_t m_DiscardedOutgoingPackets = 0;
  std::uint32_t m_OutgoingErrors = 0;
  std::uint32_t m_OutputQueueLength = 0;
  std::string m_InterfaceDescription;
};

} // namespace tallyflow
