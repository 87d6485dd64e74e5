#include <gtest/gtest.h>

#include <vector>

#include "automation/automation.h"

namespace automation {
namespace {

// Records what reaches the by-DISPID operations.
class Recorder final : public Dispatch {
 public:
  DispId idOfName(std::string_view name) const override {
    if (name == "Speed") return 7;
    if (name == "ForeColor") return -513;  // stock properties have negative DISPIDs
    if (name == "Go") return 9;
    return kDispIdUnknown;
  }
  Variant get(DispId id) override {
    gets.push_back(id);
    return Variant(std::int32_t{id});
  }
  void put(DispId id, const Variant& value) override {
    puts.push_back(id);
    lastValue = value;
  }
  Variant call(DispId id, std::span<Variant> args) override {
    calls.push_back(id);
    return Variant(static_cast<std::int32_t>(args.size()));
  }
  std::vector<DispId> gets, puts, calls;
  Variant lastValue;
};

TEST(Dispatch, ByNameReachesTheDispIdOperations) {
  Recorder r;
  Dispatch& d = r;
  EXPECT_EQ(d.get("Speed").toI4(), 7);
  EXPECT_EQ(d.get("ForeColor").toI4(), -513);
  d.put("Speed", Variant(2.5));
  EXPECT_EQ(r.lastValue.toR8(), 2.5);
  std::vector<Variant> args{Variant(1.0), Variant("x")};
  EXPECT_EQ(d.call("Go", args).toI4(), 2);
  EXPECT_EQ(r.gets, (std::vector<DispId>{7, -513}));
  EXPECT_EQ(r.puts, (std::vector<DispId>{7}));
  EXPECT_EQ(r.calls, (std::vector<DispId>{9}));
}

TEST(Dispatch, UnknownNamesRaise438WithoutReachingTheObject) {
  Recorder r;
  Dispatch& d = r;
  std::vector<Variant> none;
  for (int op = 0; op < 3; ++op) {
    try {
      if (op == 0) d.get("Nope");
      if (op == 1) d.put("Nope", Variant(1.0));
      if (op == 2) d.call("Nope", none);
      FAIL() << "operation " << op << " accepted an unknown name";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), kErrNotSupported);
      EXPECT_STREQ(e.what(), "Object doesn't support this property or method");
    }
  }
  EXPECT_TRUE(r.gets.empty() && r.puts.empty() && r.calls.empty());
}

}  // namespace
}  // namespace automation
