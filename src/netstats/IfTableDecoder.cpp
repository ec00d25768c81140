#include "netstats/IfTableDecoder.h"

#include "services/HexDigits.h"
#include "services/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace tallyflow {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; });
}

} // namespace

void Utf16LeToUtf8(std::span<const std::byte> units, std::string &out) {
  out.clear();
  const std::size_t count = units.size() / 2;
  auto unit = [&](std::size_t i) {
    return static_cast<char16_t>(static_cast<unsigned>(units[2 * i]) | static_cast<unsigned>(units[2 * i + 1])
                                                                           << 8);
  };
  // Names are nearly always ASCII: up to the first other unit they convert
  // one for one, written in one go.
  std::size_t ascii = 0;
  while (ascii < count && unit(ascii) != 0 && unit(ascii) < 0x80) {
    ++ascii;
  }
  out.resize(ascii);
  for (std::size_t i = 0; i < ascii; ++i) {
    out[i] = static_cast<char>(units[2 * i]);
  }
  for (std::size_t i = ascii; i < count; ++i) {
    const char16_t u = unit(i);
    if (u == 0) {
      break;
    }
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count) {
      const char16_t low = unit(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : static_cast<char32_t>(u));
  }
}

std::size_t FormatAdapterAddress(std::span<const std::byte> bytes, std::int32_t length,
                                 char (&text)[mib::kPhysAddrMax * 3]) {
  if (length <= 0) {
    return 0;
  }
  const std::size_t n = std::min({static_cast<std::size_t>(length), bytes.size(), mib::kPhysAddrMax});
  if (n == 0) {
    return 0;
  }
  // Each byte in upper-case hexadecimal without a leading zero; a zero byte
  // is "00": 00 0C 29 0A 1B FF gives 00-C-29-A-1B-FF.
  std::size_t at = 0;
  for (std::size_t j = 0; j < n; ++j) {
    const auto b = static_cast<unsigned>(bytes[j]);
    if (b >= 0x10 || b == 0) {
      text[at++] = kHexDigits[b >> 4];
    }
    text[at++] = kHexDigits[b & 0x0F];
    text[at++] = '-';
  }
  return at - 1; // without the last "-"
}

std::size_t CompleteRows(std::span<const std::byte> image) {
  if (image.size() < mib::kCountSize) {
    return 0;
  }
  const std::size_t claimed = LoadLe32(image.data());
  return std::min(claimed, (image.size() - mib::kCountSize) / mib::kRowSize);
}

IfTableTotals DecodeIfTable(std::span<const std::byte> image, const IIfTable &table, CInterfaces &into) {
  IfTableTotals totals;
  if (image.size() < mib::kCountSize) {
    return totals;
  }
  const std::size_t rows = CompleteRows(image);
  into.Reserve(rows);

  // The snapshot's records share one allocation: each handle owns the whole
  // block (a record held alone keeps its snapshot's records alive) and points
  // at its own record, which nothing changes after this.
  const auto block = std::make_shared<std::vector<CInterface>>(rows);
  std::string name; // scratch, its room kept from row to row
  char address[mib::kPhysAddrMax * 3];
  for (std::size_t i = 0; i < rows; ++i) {
    const std::byte *row = image.data() + mib::kCountSize + i * mib::kRowSize;
    auto field = [row](std::size_t offset) { return LoadLe32(row + offset); };
    CInterface &rec = (*block)[i];

    // Lengths are read as signed: the platform's "negative" lengths mean none.
    const auto descrLen = static_cast<std::int32_t>(field(mib::kDescrLen));
    if (descrLen >= 0) {
      // bDescr is cut by its length alone, never at a NUL; the length counts
      // bytes of the narrow text, which is a character each in the platform's
      // single-byte code pages.
      const std::size_t keep = std::min(static_cast<std::size_t>(descrLen), mib::kDescrMax);
      const std::string_view descr(reinterpret_cast<const char *>(row + mib::kDescr), keep);
      // Plain ASCII reads the same in every code page and in UTF-8.
      if (IsAscii(descr)) {
        rec.InterfaceDescription(descr);
      } else {
        rec.InterfaceDescription(table.NarrowToUtf8(descr));
      }
    } else {
      rec.InterfaceDescription({}); // a record filled again must not keep an old one
    }
    rec.OutputQueueLength(field(mib::kOutQLen));
    rec.OutgoingErrors(field(mib::kOutErrors));
    rec.DiscardedOutgoingPackets(field(mib::kOutDiscards));
    rec.NonunicastPacketsSent(field(mib::kOutNUcastPkts));
    rec.UnicastPacketsSent(field(mib::kOutUcastPkts));
    rec.OctetsSent(field(mib::kOutOctets));
    rec.UnknownProtocolPackets(field(mib::kInUnknownProtos));
    rec.IncomingErrors(field(mib::kInErrors));
    rec.DiscardedIncomingPackets(field(mib::kInDiscards));
    rec.NonunicastPacketsReceived(field(mib::kInNUcastPkts));
    rec.MaximumTransmissionUnit(field(mib::kMtu));
    rec.UnicastPacketsReceived(field(mib::kInUcastPkts));
    rec.OctetsReceived(field(mib::kInOctets));
    rec.LastChange(DateTime(SystemStartClock::duration(field(mib::kLastChange))));
    rec.OperationalStatus(field(mib::kOperStatus));
    rec.AdminStatus(field(mib::kAdminStatus));
    rec.AdapterAddress(std::string_view(
        address, FormatAdapterAddress(std::span(row + mib::kPhysAddr, mib::kPhysAddrMax),
                                      static_cast<std::int32_t>(field(mib::kPhysAddrLen)), address)));
    rec.Speed(field(mib::kSpeed));
    rec.InterfaceType(field(mib::kType));
    rec.InterfaceIndex(field(mib::kIndex));
    Utf16LeToUtf8(std::span(row + mib::kName, mib::kNameChars * 2), name);
    rec.InterfaceName(name);

    totals.received += rec.OctetsReceived();
    totals.sent += rec.OctetsSent();
    into.Append(std::shared_ptr<CInterface>(block, &rec));
  }
  return totals;
}

} // namespace tallyflow
