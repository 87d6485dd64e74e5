#include "gdi/region.h"

#include <algorithm>

namespace gdi {

Region::Region(const Rect& rect) {
  if (!rect.isEmpty()) rects_.push_back(rect);
  bounds_ = rect.isEmpty() ? Rect{} : rect;
}

Region Region::fromRects(std::span<const Rect> rects) {
  Region r;
  for (const Rect& rect : rects)
    if (!rect.isEmpty()) r.rects_.push_back(rect);
  r.normalize();
  return r;
}

bool Region::contains(Point p) const {
  if (!bounds_.contains(p)) return false;
  return std::any_of(rects_.begin(), rects_.end(), [p](const Rect& r) { return r.contains(p); });
}

void Region::unite(const Rect& rect) {
  if (rect.isEmpty()) return;
  rects_.push_back(rect);
  normalize();
}

void Region::subtract(const Rect& cut) {
  if (cut.isEmpty() || rects_.empty()) return;
  std::vector<Rect> out;
  out.reserve(rects_.size() + 4);
  for (const Rect& r : rects_) {
    const Rect i = r.intersect(cut);
    if (i.isEmpty()) {
      out.push_back(r);
      continue;
    }
    if (r.top < i.top) out.push_back({r.left, r.top, r.right, i.top});
    if (r.left < i.left) out.push_back({r.left, i.top, i.left, i.bottom});
    if (i.right < r.right) out.push_back({i.right, i.top, r.right, i.bottom});
    if (i.bottom < r.bottom) out.push_back({r.left, i.bottom, r.right, r.bottom});
  }
  rects_ = std::move(out);
  normalize();
}

void Region::intersect(const Rect& rect) {
  std::vector<Rect> out;
  for (const Rect& r : rects_) {
    const Rect i = r.intersect(rect);
    if (!i.isEmpty()) out.push_back(i);
  }
  rects_ = std::move(out);
  normalize();
}

void Region::offset(int dx, int dy) {
  for (Rect& r : rects_) r = r.offset(dx, dy);
  if (!rects_.empty()) bounds_ = bounds_.offset(dx, dy);
}

bool Region::sameArea(const Region& other) const {
  Region a = *this;
  Region b = other;
  a.normalize();
  b.normalize();
  return a.rects_ == b.rects_;
}

// Rebuilds the rectangles as horizontal bands: every band holds sorted, disjoint, non-touching
// runs, and vertically adjacent bands with the same runs are merged, so equal areas give equal
// lists.
void Region::normalize() {
  std::vector<int> ys;
  for (const Rect& r : rects_) {
    ys.push_back(r.top);
    ys.push_back(r.bottom);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  std::vector<Rect> out;
  std::vector<std::pair<int, int>> runs;
  std::vector<std::pair<int, int>> previousRuns;
  std::size_t previousStart = 0;
  int previousBottom = 0;
  bool havePrevious = false;
  for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
    const int top = ys[k];
    const int bottom = ys[k + 1];
    runs.clear();
    for (const Rect& r : rects_)
      if (r.top <= top && r.bottom >= bottom) runs.emplace_back(r.left, r.right);
    std::sort(runs.begin(), runs.end());
    std::size_t n = 0;
    for (const auto& run : runs) {
      if (n > 0 && run.first <= runs[n - 1].second) {
        runs[n - 1].second = std::max(runs[n - 1].second, run.second);
      } else {
        runs[n++] = run;
      }
    }
    runs.resize(n);
    if (runs.empty()) {
      havePrevious = false;
      continue;
    }
    if (havePrevious && previousBottom == top && runs == previousRuns) {
      for (std::size_t i = previousStart; i < out.size(); ++i) out[i].bottom = bottom;
    } else {
      previousStart = out.size();
      for (const auto& run : runs) out.push_back({run.first, top, run.second, bottom});
      previousRuns = runs;
      havePrevious = true;
    }
    previousBottom = bottom;
  }
  rects_ = std::move(out);
  bounds_ = {};
  for (const Rect& r : rects_) bounds_ = bounds_.unite(r);
}

}  // namespace gdi
