// A chart control loaded by class identifier and placed on a test site.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "automation/automation.h"
#include "automation/server.h"
#include "ocx/control.h"
#include "test_site.h"

namespace kvplotax::test {

inline automation::Guid chartClsid() {
  return *automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");
}

// Runs the body and returns the automation error it raised; fails the test when none.
template <class Body>
automation::AutomationError errorOf(Body body) {
  try {
    body();
  } catch (const automation::AutomationError& e) {
    return e;
  }
  ADD_FAILURE() << "no automation error raised";
  return automation::AutomationError(0, "");
}

class ChartTest : public ::testing::Test {
 protected:
  void SetUp() override { create(true); }

  void create(bool userMode, int width = 500, int height = 300, int dpi = 96) {
    if (control_) control_->setSite(nullptr);
    chart_.reset();
    site_ = std::make_unique<TestSite>(width, height, userMode, dpi);
    chart_ = automation::createObject(chartClsid());
    control_ = dynamic_cast<ocx::Control*>(chart_.get());
    ASSERT_NE(control_, nullptr);
    control_->setSite(site_.get());
    control_->initNew();
    control_->onResize(width, height);
  }

  void TearDown() override {
    if (control_) control_->setSite(nullptr);
  }

  automation::Variant get(const char* name) { return chart_->get(std::string_view(name)); }
  void put(const char* name, const automation::Variant& v) {
    chart_->put(std::string_view(name), v);
  }
  std::int32_t i4(const char* name) { return get(name).toI4(); }
  float r4(const char* name) { return get(name).toR4(); }
  static automation::Variant I2(int v) { return automation::Variant(static_cast<std::int16_t>(v)); }

  std::unique_ptr<TestSite> site_;
  std::shared_ptr<automation::Dispatch> chart_;
  ocx::Control* control_ = nullptr;
};

}  // namespace kvplotax::test
