#include "fake_chart.h"

#include <algorithm>
#include <cctype>

namespace recorder::testing {

using automation::Variant;

automation::DispId FakeChart::idOfName(std::string_view name) const {
  std::string key(name);
  std::transform(key.begin(), key.end(), key.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  auto it = ids_.find(key);
  if (it != ids_.end()) return it->second;
  const auto id = static_cast<automation::DispId>(byId_.size() + 1);
  ids_[key] = id;
  byId_.emplace_back(name);
  return id;
}

Variant FakeChart::get(automation::DispId) { return Variant(); }

void FakeChart::put(automation::DispId id, const Variant& value) {
  PropertyWrite w{byId_.at(id - 1), value.type(), 0, {}};
  if (value.type() == automation::VT_BSTR) {
    w.text = value.toString();
  } else {
    w.number = value.toR8();
  }
  writes.push_back(w);
}

Variant FakeChart::call(automation::DispId id, std::span<Variant> args) {
  const std::string& name = byId_.at(id - 1);
  if (name == "VBPrintWindow") {
    printCalls.emplace_back(args.begin(), args.end());
    return Variant(std::int32_t{20});
  }
  ChartDataCallRecord r{};
  r.channel = args[0].toI2();
  r.points = args[1].toI4();
  r.yOffset = args[3].toI4();
  r.xOffset = args[5].toI4();
  r.byReferenceArrays = args[2].isByRef() && args[4].isByRef();
  auto ys = args[2].arrayValue();
  auto xs = args[4].arrayValue();
  ys->lock();
  xs->lock();
  r.locksAtCall = ys->locks();
  const auto n = static_cast<std::size_t>(std::clamp<std::int32_t>(r.points, 0, 401));
  const float* y = static_cast<const float*>(ys->data());
  const double* x = static_cast<const double*>(xs->data());
  r.ys.assign(y, y + std::min(n, ys->count()));
  r.xs.assign(x, x + std::min(n, xs->count()));
  ys->unlock();
  xs->unlock();
  chartData.push_back(r);
  return Variant(r.points < 1 ? std::int32_t{-10} : r.points);
}

std::vector<float> FakeChart::allYs() const {
  std::vector<float> out;
  for (const auto& c : chartData) out.insert(out.end(), c.ys.begin(), c.ys.end());
  return out;
}

std::vector<double> FakeChart::allXs() const {
  std::vector<double> out;
  for (const auto& c : chartData) out.insert(out.end(), c.xs.begin(), c.xs.end());
  return out;
}

std::vector<std::string> FakeChart::names(std::size_t from) const {
  std::vector<std::string> out;
  for (std::size_t i = from; i < writes.size(); ++i) out.push_back(writes[i].name);
  return out;
}

}  // namespace recorder::testing
