#include "netstats/CIpHelper.h"

#include "fakes/FakeIfTable.h"
#include "fakes/MibTableBuilder.h"

#include <gtest/gtest.h>

namespace tallyflow {
namespace {

using test::BuildMibTable;
using test::FakeIfTable;
using test::MibRow;

MibRow Row(std::uint32_t index, std::uint32_t in, std::uint32_t out) {
  MibRow r;
  r.index = index;
  r.name = u"if" + std::u16string(1, static_cast<char16_t>(u'0' + index % 10));
  r.inOctets = in;
  r.outOctets = out;
  return r;
}

struct Helper {
  std::shared_ptr<FakeIfTable> table = std::make_shared<FakeIfTable>();
  CIpHelper ip{table};
};

TEST(CIpHelper, TotalsAreZeroBeforeTheFirstSnapshot) {
  Helper h;
  h.table->Push(BuildMibTable({Row(1, 10, 20)}));
  EXPECT_EQ(h.ip.BytesReceived(), 0.0);
  EXPECT_EQ(h.ip.BytesSent(), 0.0);
  EXPECT_EQ(h.table->calls, 0);
}

TEST(CIpHelper, DecodesEveryFieldFromItsOwnOffset) {
  MibRow r;
  r.name = u"eth0";
  // Every field a distinct value, so a field read at a neighbour's offset shows.
  r.index = 101, r.type = 102, r.mtu = 103, r.speed = 104, r.adminStatus = 105;
  r.operStatus = 106, r.lastChange = 107, r.inOctets = 108, r.inUcast = 109;
  r.inNUcast = 110, r.inDiscards = 111, r.inErrors = 112, r.inUnknown = 113;
  r.outOctets = 114, r.outUcast = 115, r.outNUcast = 116, r.outDiscards = 117;
  r.outErrors = 118, r.outQLen = 119;
  r.physAddrLen = 6, r.physAddr = {0x00, 0x0C, 0x29, 0x0A, 0x1B, 0xFF};
  r.descr = "Ethernet adapter", r.descrLen = 16;
  Helper h;
  h.table->Push(BuildMibTable({r}));
  const auto col = h.ip.Interfaces();
  EXPECT_FALSE(h.table->lastOrder) << "the table is asked for in the platform's own order";
  ASSERT_EQ(col->Count(), 1);
  const auto rec = col->Item(std::int32_t{1});
  EXPECT_EQ(rec->InterfaceName(), "eth0");
  EXPECT_EQ(rec->InterfaceIndex(), 101u);
  EXPECT_EQ(rec->InterfaceType(), 102u);
  EXPECT_EQ(rec->MaximumTransmissionUnit(), 103u);
  EXPECT_EQ(rec->Speed(), 104u);
  EXPECT_EQ(rec->AdminStatus(), 105u);
  EXPECT_EQ(rec->OperationalStatus(), 106u);
  EXPECT_EQ(rec->LastChange().time_since_epoch().count(), 107);
  EXPECT_EQ(rec->OctetsReceived(), 108u);
  EXPECT_EQ(rec->UnicastPacketsReceived(), 109u);
  EXPECT_EQ(rec->NonunicastPacketsReceived(), 110u);
  EXPECT_EQ(rec->DiscardedIncomingPackets(), 111u);
  EXPECT_EQ(rec->IncomingErrors(), 112u);
  EXPECT_EQ(rec->UnknownProtocolPackets(), 113u);
  EXPECT_EQ(rec->OctetsSent(), 114u);
  EXPECT_EQ(rec->UnicastPacketsSent(), 115u);
  EXPECT_EQ(rec->NonunicastPacketsSent(), 116u);
  EXPECT_EQ(rec->DiscardedOutgoingPackets(), 117u);
  EXPECT_EQ(rec->OutgoingErrors(), 118u);
  EXPECT_EQ(rec->OutputQueueLength(), 119u);
  EXPECT_EQ(rec->AdapterAddress(), "00-C-29-A-1B-FF");
  EXPECT_EQ(rec->InterfaceDescription(), "Ethernet adapter");
}

TEST(CIpHelper, RowsKeepTableOrderAndTotalsCoverEveryRow) {
  struct Case {
    std::size_t rows;
  };
  for (const Case c : {Case{0}, Case{3}, Case{100}}) {
    std::vector<MibRow> rows;
    std::uint64_t in = 0, out = 0;
    for (std::size_t i = 0; i < c.rows; ++i) {
      auto r = Row(static_cast<std::uint32_t>(1000 - i), static_cast<std::uint32_t>(7 * i + 1),
                   static_cast<std::uint32_t>(11 * i + 2));
      // Down, disabled and loopback rows count like any other.
      r.operStatus = static_cast<std::uint32_t>(i % 3);
      r.type = i % 2 ? 24 : 6;
      in += r.inOctets;
      out += r.outOctets;
      rows.push_back(r);
    }
    Helper h;
    h.table->Push(BuildMibTable(rows));
    const auto col = h.ip.Interfaces();
    ASSERT_EQ(col->Count(), static_cast<std::int32_t>(c.rows));
    std::size_t i = 0;
    for (const auto &rec : *col) {
      EXPECT_EQ(rec->InterfaceIndex(), rows[i].index);
      EXPECT_EQ(rec->OctetsReceived(), rows[i].inOctets);
      ++i;
    }
    EXPECT_EQ(h.ip.BytesReceived(), static_cast<double>(in)) << c.rows << " rows";
    EXPECT_EQ(h.ip.BytesSent(), static_cast<double>(out)) << c.rows << " rows";
  }
}

TEST(CIpHelper, CountersAboveTwoToTheThirtyFirstStayWholeAndSumWithoutLoss) {
  Helper h;
  h.table->Push(BuildMibTable(
      {Row(1, 2'000'000'000u, 0x80000000u), Row(2, 1'000'000'000u, 0xFFFFFFFFu), Row(3, 5u, 0xFFFFFFFFu)}));
  const auto col = h.ip.Interfaces();
  EXPECT_EQ(col->Item(std::int32_t{1})->OutgoingErrors(), 0u);
  EXPECT_EQ(col->Item(std::int32_t{1})->OctetsSent(), 2147483648u);
  EXPECT_EQ(h.ip.BytesReceived(), 3'000'000'005.0);
  EXPECT_EQ(h.ip.BytesSent(), 2147483648.0 + 2 * 4294967295.0);

  h.table->Push(BuildMibTable({Row(1, 3'000'000'000u, 0)}));
  EXPECT_EQ(h.ip.Interfaces()->Item(std::int32_t{1})->OctetsReceived(), 3'000'000'000u);
  EXPECT_EQ(h.ip.BytesReceived(), 3'000'000'000.0);
}

TEST(CIpHelper, EveryFailedSnapshotIsEmptyWithZeroTotals) {
  const auto good = BuildMibTable({Row(1, 500, 600), Row(2, 1, 2)});
  struct Case {
    const char *what;
    FakeIfTable::Snapshot failing;
  };
  const Case cases[] = {
      {"no interface table (50)", {good, 50u, {}, 0}},
      {"fill call fails", {good, {}, 31u, 0}},
      {"table grew between the calls", {good, {}, {}, 860}},
      {"reported size 0", {{}, {}, {}, 0}},
      {"image shorter than its row count",
       {std::vector<std::byte>(good.begin(), good.begin() + 3), {}, {}, 0}},
  };
  for (const auto &c : cases) {
    Helper h;
    h.table->Push(good);
    h.table->Push(c.failing);
    h.table->Push(good);
    const auto first = h.ip.Interfaces();
    ASSERT_EQ(first->Count(), 2) << c.what;
    const auto failed = h.ip.Interfaces();
    EXPECT_EQ(failed->Count(), 0) << c.what;
    EXPECT_EQ(h.ip.BytesReceived(), 0.0) << c.what;
    EXPECT_EQ(h.ip.BytesSent(), 0.0) << c.what;
    // The earlier collection is untouched, and the next good snapshot works.
    EXPECT_EQ(first->Count(), 2) << c.what;
    EXPECT_EQ(h.ip.Interfaces()->Count(), 2) << c.what;
    EXPECT_EQ(h.ip.BytesReceived(), 501.0) << c.what;
  }
}

TEST(CIpHelper, DescriptionIsCutByItsLengthAloneNeverAtANul) {
  std::string field = "Ethernet adapter";
  field.resize(256, '\0');
  struct Case {
    std::uint32_t descrLen;
    std::string expected;
  };
  const Case cases[] = {
      {16, "Ethernet adapter"},
      {17, std::string("Ethernet adapter") + '\0'},
      {300, field},
      {256, field},
      {0, ""},
      {0xFFFFFFFFu, ""}, // -1: no description
  };
  for (const auto &c : cases) {
    MibRow r = Row(1, 0, 0);
    r.descr = field;
    r.descrLen = c.descrLen;
    Helper h;
    h.table->Push(BuildMibTable({r}));
    const auto rec = h.ip.Interfaces()->Item(std::int32_t{1});
    EXPECT_EQ(rec->InterfaceDescription(), c.expected)
        << "dwDescrLen " << static_cast<std::int32_t>(c.descrLen);
    EXPECT_EQ(rec->InterfaceIndex(), 1u) << "the rest of the record is filled";
  }
}

TEST(CIpHelper, NameStopsAtTheFirstNulAndDecodesUtf16) {
  struct Case {
    std::u16string name;
    std::string expected;
  };
  const Case cases[] = {
      {u"eth0", "eth0"},
      {std::u16string(u"eth0\0junk", 9), "eth0"},
      {std::u16string(u"ethe\0ne\0", 9), "ethe"},
      {std::u16string(u"eth\0nets", 8), "eth"},
      {u"bridge7", "bridge7"},
      {u"abcd\u00e9fgh", "abcd\xc3\xa9"
                         "fgh"},
      {u"abcdefg\u0080", "abcdefg\xc2\x80"},
      {std::u16string(256, u'x'), std::string(256, 'x')},
      {u"r\u00e9seau", "r\xc3\xa9seau"},
      {u"\U0001F310net", "\xf0\x9f\x8c\x90net"},
      {std::u16string(1, char16_t{0xD800}) + u"a", "\xef\xbf\xbd"
                                                   "a"},
  };
  for (const auto &c : cases) {
    MibRow r = Row(1, 0, 0);
    r.name = c.name;
    Helper h;
    h.table->Push(BuildMibTable({r}));
    EXPECT_EQ(h.ip.Interfaces()->Item(std::int32_t{1})->InterfaceName(), c.expected);
  }
}

// A description is converted from the platform's code page only when a
// byte within its length is not ASCII, wherever that byte stands.
TEST(CIpHelper, DescriptionIsConvertedFromTheCodePageWhenAnyByteIsNotAscii) {
  struct Case {
    std::string descr;
    std::uint32_t descrLen;
    std::string expected;
  };
  const Case cases[] = {
      {"Ethernet adapter 1", 18, "Ethernet adapter 1"},
      {"\xe9thernet", 8, "\xc3\xa9thernet"},
      {"Etherne\xe9", 8, "Etherne\xc3\xa9"},
      {"Ethernet\xe9", 9, "Ethernet\xc3\xa9"},
      {"Ethernet adapter\xe9", 17, "Ethernet adapter\xc3\xa9"},
      {"Ethernet adapter\xe9", 16, "Ethernet adapter"}, // beyond the length: not read
      {"R\xe9seau sans fil 802.11\xb2", 23, "R\xc3\xa9seau sans fil 802.11\xc2\xb2"},
  };
  for (const auto &c : cases) {
    MibRow r = Row(1, 0, 0);
    r.descr = c.descr;
    r.descrLen = c.descrLen;
    Helper h;
    h.table->latin1 = true;
    h.table->Push(BuildMibTable({r}));
    EXPECT_EQ(h.ip.Interfaces()->Item(std::int32_t{1})->InterfaceDescription(), c.expected)
        << c.descr << " / " << c.descrLen;
  }
}

TEST(CIpHelper, AdapterAddressWritesHexBytesWithoutLeadingZerosUpToEight) {
  const std::vector<std::uint8_t> bytes = {0x00, 0x0C, 0x29, 0x0A, 0x1B, 0xFF, 0x01, 0x02};
  struct Case {
    std::uint32_t len;
    std::string expected;
  };
  const Case cases[] = {
      {0, ""},
      {1, "00"},
      {6, "00-C-29-A-1B-FF"},
      {8, "00-C-29-A-1B-FF-1-2"},
      {12, "00-C-29-A-1B-FF-1-2"},
      {0xFFFFFFFFu, ""},
  };
  for (const auto &c : cases) {
    MibRow r = Row(1, 0, 0);
    r.physAddrLen = c.len;
    r.physAddr = bytes;
    Helper h;
    h.table->Push(BuildMibTable({r}));
    EXPECT_EQ(h.ip.Interfaces()->Item(std::int32_t{1})->AdapterAddress(), c.expected) << c.len;
  }
}

TEST(CIpHelper, RowCountThatLiesDecodesOnlyCompleteRowsInsideTheBuffer) {
  const std::vector<MibRow> rows = {Row(1, 10, 1), Row(2, 20, 2), Row(3, 30, 3)};
  struct Case {
    long long claimed;
    std::size_t truncateBytes; // cut off the end of the image
    std::int32_t expectRows;
    double expectReceived;
  };
  const Case cases[] = {
      {3, 0, 3, 60},   {2, 0, 2, 30},      {0, 0, 0, 0}, {40000, 0, 3, 60}, {0xFFFFFFFFLL, 0, 3, 60},
      {3, 430, 2, 30}, {3, 860 * 3, 0, 0},
  };
  for (const auto &c : cases) {
    auto image = BuildMibTable(rows, c.claimed);
    image.resize(image.size() - c.truncateBytes);
    Helper h;
    h.table->Push(image);
    const auto col = h.ip.Interfaces();
    EXPECT_EQ(col->Count(), c.expectRows) << "claimed " << c.claimed << ", cut " << c.truncateBytes;
    EXPECT_EQ(h.ip.BytesReceived(), c.expectReceived) << "claimed " << c.claimed;
  }
}

TEST(CIpHelper, EachReadIsANewSnapshotAndEarlierOnesStayAsTheyWere) {
  Helper h;
  h.table->Push(BuildMibTable({Row(1, 100, 1), Row(2, 200, 2)}));
  h.table->Push(BuildMibTable({Row(7, 999, 9)}));
  const auto first = h.ip.Interfaces();
  const auto firstRecord = first->Item(std::int32_t{2});
  const auto second = h.ip.Interfaces();
  EXPECT_NE(first, second);
  ASSERT_EQ(first->Count(), 2);
  EXPECT_EQ(first->Item(std::int32_t{1})->OctetsReceived(), 100u);
  EXPECT_EQ(firstRecord->InterfaceIndex(), 2u);
  ASSERT_EQ(second->Count(), 1);
  EXPECT_EQ(second->Item(std::int32_t{1})->InterfaceIndex(), 7u);
  EXPECT_EQ(h.ip.BytesReceived(), 999.0);
  // A third read repeats the last table but still makes new records.
  const auto third = h.ip.Interfaces();
  EXPECT_NE(third->Item(std::int32_t{1}), second->Item(std::int32_t{1}));

  // Assigning a collection does not touch the totals.
  h.ip.Interfaces(first);
  EXPECT_EQ(h.ip.BytesReceived(), 999.0);
}

TEST(CIpHelper, InterfaceCountIsTheCountOfAFreshSnapshotWithoutRecords) {
  const std::vector<MibRow> rows = {Row(1, 10, 1), Row(2, 20, 2), Row(3, 30, 3)};
  struct Case {
    FakeIfTable::Snapshot table;
    std::int32_t expected;
  };
  auto cut = BuildMibTable(rows, 3);
  cut.resize(cut.size() - 430);
  const Case cases[] = {
      {{BuildMibTable(rows), {}, {}, 0}, 3},
      {{BuildMibTable(rows, 40000), {}, {}, 0}, 3},
      {{cut, {}, {}, 0}, 2},
      {{BuildMibTable(rows), 50u, {}, 0}, 0},
      {{BuildMibTable(rows), {}, 31u, 0}, 0},
  };
  for (const auto &c : cases) {
    Helper h;
    h.table->Push(BuildMibTable({Row(9, 5, 5)}));
    h.table->Push(c.table);
    const auto held = h.ip.Interfaces();
    EXPECT_EQ(h.ip.InterfaceCount(), c.expected);
    EXPECT_EQ(h.ip.BytesReceived(), 5.0) << "the totals stay those of the last snapshot";
    EXPECT_EQ(held->Count(), 1);
  }
}

// Records of a released snapshot are filled again; a held one never changes.
TEST(CIpHelper, HeldRecordsNeverChangeWhileLaterSnapshotsAreRead) {
  MibRow full = Row(1, 111, 222);
  full.name = u"a-long-interface-name";
  full.physAddrLen = 6, full.physAddr = {2, 0, 0, 0, 0, 0x2A};
  full.descr = "Virtual Ethernet adapter", full.descrLen = 24;
  MibRow bare = Row(2, 5, 6);
  bare.descrLen = 0xFFFFFFFF; // a negative length: no description
  Helper h;
  h.table->Push(BuildMibTable({bare}));
  h.table->Push(BuildMibTable({full, bare, full}));

  const auto held = h.ip.Interfaces();
  const CInterface &rec = *held->Item(std::int32_t{1});
  const std::vector<std::string> bareTexts = {"if2", "", ""};
  for (int i = 0; i < 5; ++i) {
    const auto later = h.ip.Interfaces();
    ASSERT_EQ(later->Count(), 3);
    EXPECT_EQ(later->Item(std::int32_t{1})->InterfaceDescription(), "Virtual Ethernet adapter");
    EXPECT_EQ(later->Item(std::int32_t{1})->AdapterAddress(), "2-00-00-00-00-2A");
  }
  EXPECT_EQ(held->Count(), 1);
  EXPECT_EQ((std::vector<std::string>{rec.InterfaceName(), rec.InterfaceDescription(), rec.AdapterAddress()}),
            bareTexts)
      << "a held snapshot never changes";
  EXPECT_EQ(rec.OctetsReceived(), 5u);
}

TEST(CIpHelper, InterfaceCountTakesThePlatformsOwnCountWhenItHasOne) {
  struct Case {
    std::optional<std::uint32_t> platformCount;
    std::int32_t expected;
    int tableCalls; // GetIfTable calls the count costs
  };
  const Case cases[] = {
      {7u, 7, 0},
      {0u, 0, 0},
      {0xFFFFFFFFu, 0x7FFFFFFF, 0}, // beyond the list's reach: capped, never negative
      {std::nullopt, 1, 2},         // not known: a table is counted
  };
  for (const auto &c : cases) {
    Helper h;
    h.table->Push(BuildMibTable({Row(9, 5, 5)}));
    h.table->numberOfInterfaces = c.platformCount;
    EXPECT_EQ(h.ip.InterfaceCount(), c.expected);
    EXPECT_EQ(h.table->countCalls, 1);
    EXPECT_EQ(h.table->calls, c.tableCalls);
  }
}

TEST(CIpHelper, BadPlatformInputDecodesWithoutHarm) {
  // More rows than a 16-bit index reaches, all read.
  std::vector<MibRow> many(40'000, Row(1, 1, 2));
  Helper h;
  h.table->Push(BuildMibTable(many));
  const auto col = h.ip.Interfaces();
  EXPECT_EQ(col->Count(), 40'000);
  EXPECT_EQ(h.ip.BytesReceived(), 40'000.0);

  // Texts that are not valid UTF-8, that fill their field without a NUL, or
  // that are empty come through as bytes, whole and bounded.
  struct Case {
    std::string descr;
    std::uint32_t descrLen;
    std::u16string name;
  };
  const Case cases[] = {
      {"ÿþÃ(bad", 8, u"ok"},
      {std::string(256, 'd'), 256, std::u16string(256, u'n')},
      {"", 0, u""},
  };
  for (const auto &c : cases) {
    MibRow r = Row(1, 0, 0);
    r.descr = c.descr;
    r.descrLen = c.descrLen;
    r.name = c.name;
    Helper one;
    one.table->Push(BuildMibTable({r}));
    const auto rec = one.ip.Interfaces()->Item(std::int32_t{1});
    EXPECT_EQ(rec->InterfaceDescription(), c.descr.substr(0, c.descrLen));
    EXPECT_EQ(rec->InterfaceName().size(), c.name.size());
  }
}

} // namespace
} // namespace tallyflow
