#pragma once

#include "netstats/IfTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tallyflow {

// How the Windows interface table names what Linux knows of a link: its type
// code, the word a person uses for its kind, its states and its description.
// Pure functions: no kernel, no files.

// What a link is, found once from its hardware type (ARPHRD_*) and whether
// udev knows it as wireless; the type code and the kind word both follow.
enum class LinkClass { Loopback, Wireless, Ppp, Tunnel, Ethernet, Other };
LinkClass ClassifyLink(unsigned short arphrd, bool wireless);

// The IANA ifType the Windows table uses: 24, 71, 23, 131, 6 or 1.
std::uint32_t IanaType(LinkClass linkClass);

// "Loopback", else the word for the driver's kind ("veth": "Virtual
// Ethernet", "bridge": "Bridge" ...), else the class's word ("Ethernet",
// "Wireless", "PPP", "Tunnel", "Network interface").
std::string KindWord(LinkClass linkClass, const std::string &driverKind);

// Windows status codes.
inline constexpr std::uint32_t kAdminUp = 1;
inline constexpr std::uint32_t kAdminDown = 2;
inline constexpr std::uint32_t kOperNonOperational = 0;
inline constexpr std::uint32_t kOperDisconnected = 2;
inline constexpr std::uint32_t kOperOperational = 5;

// The operational state from the link's flags (IFF_*) and its carrier, when
// the kernel said (else IFF_LOWER_UP stands for it).
std::uint32_t OperStatus(unsigned flags, std::optional<bool> carrier);

// Descriptions are at most 255 bytes of UTF-8, cut between characters.
inline constexpr std::size_t kMaxDescriptionBytes = 255;
void CutUtf8(std::string &text, std::size_t limit);

// "Red Hat, Inc. Virtio network device (eth0)", or the kind word for a link
// udev knows no adapter for: "Loopback (lo)".
std::string BaseDescription(const std::string &adapter, const std::string &kindWord, const std::string &name);

// Each link's description (its alias, else its base description) made unique
// as Windows does: a repeat gets " #2", " #3" ..., the first in the given
// order (ifindex order) keeping the plain text.
std::vector<std::string> UniqueDescriptions(const std::vector<std::string> &wanted);

// An interface name (bytes) as the table's UTF-16 name, with its terminator:
// valid UTF-8 becomes the same characters, any other byte is taken as
// Latin-1 so that no name is lost.
std::u16string NameToUtf16(const std::string &name);

} // namespace tallyflow
