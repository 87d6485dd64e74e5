#include "page_classes.h"

#include <atomic>
#include <memory>
#include <vector>

#include "ocx/page_object.h"
#include "page_specs.h"

namespace kvplotax::pages {
namespace {

std::atomic<int> gLivePages{0};

class CountedPage final : public ocx::PropertyPageObject {
 public:
  explicit CountedPage(const ocx::PageSpec& spec) : PropertyPageObject(spec) { ++gLivePages; }
  ~CountedPage() override { --gLivePages; }
  CountedPage(const CountedPage&) = delete;
  CountedPage& operator=(const CountedPage&) = delete;
};

class PageFactory final : public automation::ClassFactory {
 public:
  explicit PageFactory(const ocx::PageSpec& spec) : spec_(spec) {}
  std::shared_ptr<automation::Dispatch> createInstance() override {
    return std::make_shared<CountedPage>(spec_);
  }

 private:
  const ocx::PageSpec& spec_;
};

}  // namespace

automation::ClassFactory* pageFactory(const automation::Guid& clsid) {
  static const std::vector<std::unique_ptr<PageFactory>> factories = [] {
    std::vector<std::unique_ptr<PageFactory>> made;
    for (const ocx::PageSpec& spec : pageSpecs())
      made.push_back(std::make_unique<PageFactory>(spec));
    return made;
  }();
  const ocx::PageSpec* spec = findPageSpec(clsid);
  if (spec == nullptr) return nullptr;
  return factories[static_cast<std::size_t>(spec - pageSpecs().data())].get();
}

int livePages() { return gLivePages.load(); }

}  // namespace kvplotax::pages
