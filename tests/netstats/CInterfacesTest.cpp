#include "netstats/CInterfaces.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tallyflow {
namespace {

std::shared_ptr<CInterface> Named(const std::string &name) {
  auto rec = std::make_shared<CInterface>();
  rec->InterfaceName(name);
  return rec;
}

std::vector<std::string> Names(const CInterfaces &col) {
  std::vector<std::string> names;
  for (const auto &rec : col) {
    names.push_back(rec->InterfaceName());
  }
  return names;
}

TEST(CInterface, StartsEmptyAndZero) {
  const CInterface rec;
  EXPECT_EQ(rec.InterfaceName(), "");
  EXPECT_EQ(rec.AdapterAddress(), "");
  EXPECT_EQ(rec.InterfaceDescription(), "");
  EXPECT_EQ(rec.InterfaceIndex(), 0u);
  EXPECT_EQ(rec.OctetsReceived(), 0u);
  EXPECT_EQ(rec.OutputQueueLength(), 0u);
  EXPECT_EQ(rec.LastChange(), DateTime{});
}

TEST(CInterfaces, AddTakesTheRecordOver) {
  CInterfaces col;
  auto rec = Named("A");
  const CInterface *raw = rec.get();
  const auto returned = col.Add(rec);
  EXPECT_EQ(rec, nullptr);
  EXPECT_EQ(col.Count(), 1);
  EXPECT_EQ(returned.get(), raw);
  EXPECT_EQ(col.Item(std::int16_t{1}).get(), raw);
  EXPECT_EQ(col.Item(std::int32_t{1}).get(), raw);
}

TEST(CInterfaces, BadPositionsReachTheCallerAndChangeNothing) {
  CInterfaces empty;
  CInterfaces three;
  for (const char *n : {"A", "B", "C"}) {
    auto rec = Named(n);
    three.Add(rec);
  }
  struct Case {
    const CInterfaces *col;
    IndexKey key;
  };
  const Case outOfRange[] = {{&empty, std::int32_t{0}},  {&empty, std::int32_t{1}},
                             {&empty, std::int16_t{-1}}, {&three, std::int32_t{0}},
                             {&three, std::int32_t{4}},  {&three, std::int16_t{-32768}}};
  for (const auto &c : outOfRange) {
    EXPECT_THROW(c.col->Item(c.key), std::out_of_range);
    EXPECT_THROW(const_cast<CInterfaces *>(c.col)->Remove(c.key), std::out_of_range);
  }
  for (const auto &key : {IndexKey{std::string("A")}, IndexKey{std::string("1")}}) {
    EXPECT_THROW(three.Item(key), std::invalid_argument);
    EXPECT_THROW(three.Remove(key), std::invalid_argument);
  }
  EXPECT_EQ(Names(three), (std::vector<std::string>{"A", "B", "C"}));
}

TEST(CInterfaces, RemoveMovesLaterRecordsUpAndIterationKeepsOrder) {
  CInterfaces col;
  for (const char *n : {"A", "B", "C"}) {
    auto rec = Named(n);
    col.Add(rec);
  }
  EXPECT_EQ(Names(col), (std::vector<std::string>{"A", "B", "C"}));
  const auto heldA = col.Item(std::int32_t{1});
  col.Remove(std::int32_t{1});
  EXPECT_EQ(col.Count(), 2);
  EXPECT_EQ(col.Item(std::int32_t{1})->InterfaceName(), "B");
  EXPECT_EQ(col.Item(std::int32_t{2})->InterfaceName(), "C");
  // A record held by a caller outlives its removal.
  EXPECT_EQ(heldA->InterfaceName(), "A");
}

} // namespace
} // namespace tallyflow
