#include "about/AboutLayout.h"
#include "monitor/MonitorLayout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tallyflow {
namespace {

// Front ends find controls, parents, captions and Tab stops by identifier:
// each must name one entry, made before any entry that refers to it.
TEST(ControlLayout, EveryIdentifierNamesOneEntryMadeBeforeItIsNeeded) {
  struct Table {
    const char *window;
    const std::vector<ControlLayout> &layout;
    const std::vector<int> &tabOrder;
  };
  for (const Table &t : {Table{"monitor", MonitorLayout(), MonitorTabOrder()},
                         Table{"About", AboutLayout(), AboutTabOrder()}}) {
    SCOPED_TRACE(t.window);
    std::set<int> made;
    std::set<std::string> names;
    for (const ControlLayout &c : t.layout) {
      SCOPED_TRACE(c.name);
      EXPECT_TRUE(c.parent == 0 || made.count(c.parent)) << "the parent comes first";
      EXPECT_TRUE(made.insert(c.id).second) << "one entry an identifier";
      EXPECT_TRUE(names.insert(c.name).second) << "one entry a design name";
      EXPECT_EQ(&EntryOf(t.layout, c.id), &c);
    }
    EXPECT_EQ(made.size(), t.layout.size());
    EXPECT_EQ(*made.begin(), 1) << "0 is the window itself";
    EXPECT_EQ(*made.rbegin(), static_cast<int>(t.layout.size())) << "every identifier has its entry";
    for (const ControlLayout &c : t.layout) {
      EXPECT_TRUE(c.look.labels == 0 || made.count(c.look.labels)) << c.name;
    }
    for (int stop : t.tabOrder) {
      EXPECT_TRUE(made.count(stop)) << stop;
    }
  }
}

} // namespace
} // namespace tallyflow
