#include "page_classes.h"

#include <atomic>
#include <memory>
#include <vector>

#include "ocx/page_object.h"
#include "page_layouts.h"

namespace kvplotax::pages {
namespace {

std::atomic<int> gLivePages{0};

class CountedPage final : public ocx::PropertyPageObject {
 public:
  explicit CountedPage(const ocx::PageLayout& layout) : PropertyPageObject(layout) { ++gLivePages; }
  ~CountedPage() override { --gLivePages; }
  CountedPage(const CountedPage&) = delete;
  CountedPage& operator=(const CountedPage&) = delete;
};

class PageFactory final : public automation::ClassFactory {
 public:
  explicit PageFactory(const ocx::PageLayout& layout) : layout_(layout) {}
  std::shared_ptr<automation::Dispatch> createInstance() override {
    return std::make_shared<CountedPage>(layout_);
  }

 private:
  const ocx::PageLayout& layout_;
};

}  // namespace

automation::ClassFactory* pageFactory(const automation::Guid& clsid) {
  static const std::vector<std::unique_ptr<PageFactory>> factories = [] {
    std::vector<std::unique_ptr<PageFactory>> made;
    for (const ocx::PageLayout& layout : pageLayouts())
      made.push_back(std::make_unique<PageFactory>(layout));
    return made;
  }();
  const ocx::PageLayout* layout = findPageLayout(clsid);
  if (layout == nullptr) return nullptr;
  return factories[static_cast<std::size_t>(layout - pageLayouts().data())].get();
}

int livePages() { return gLivePages.load(); }

}  // namespace kvplotax::pages
