#include "gdi/region.h"

#include <algorithm>

namespace gdi {

namespace {

// Working storage for reshaping regions; it keeps its capacity from call to call, so reshaping
// allocates only while a thread meets larger regions than before.
struct Scratch {
  std::vector<Rect> pieces;
  std::vector<Rect> out;
  std::vector<int> ys;
  std::vector<std::pair<int, int>> runs;
  std::vector<std::pair<int, int>> previousRuns;
};

Scratch& scratch() {
  thread_local Scratch s;
  return s;
}

}  // namespace

Region::Region(const Rect& rect) {
  if (!rect.isEmpty()) rects_.push_back(rect);
  bounds_ = rect.isEmpty() ? Rect{} : rect;
}

void Region::assign(const Rect& rect) {
  rects_.clear();
  if (rect.isEmpty()) {
    bounds_ = {};
    return;
  }
  rects_.push_back(rect);
  bounds_ = rect;
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
  std::vector<Rect>& pieces = scratch().pieces;
  pieces.clear();
  for (const Rect& r : rects_) {
    const Rect i = r.intersect(cut);
    if (i.isEmpty()) {
      pieces.push_back(r);
      continue;
    }
    if (r.top < i.top) pieces.push_back({r.left, r.top, r.right, i.top});
    if (r.left < i.left) pieces.push_back({r.left, i.top, i.left, i.bottom});
    if (i.right < r.right) pieces.push_back({i.right, i.top, r.right, i.bottom});
    if (i.bottom < r.bottom) pieces.push_back({r.left, i.bottom, r.right, r.bottom});
  }
  rects_.assign(pieces.begin(), pieces.end());
  normalize();
}

void Region::intersect(const Rect& rect) {
  // Clipping each rectangle keeps them disjoint, so the pieces can be written back in place.
  std::size_t n = 0;
  for (const Rect& r : rects_) {
    const Rect i = r.intersect(rect);
    if (!i.isEmpty()) rects_[n++] = i;
  }
  rects_.resize(n);
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
  Scratch& s = scratch();
  std::vector<int>& ys = s.ys;
  std::vector<Rect>& out = s.out;
  std::vector<std::pair<int, int>>& runs = s.runs;
  std::vector<std::pair<int, int>>& previousRuns = s.previousRuns;
  ys.clear();
  out.clear();
  previousRuns.clear();
  for (const Rect& r : rects_) {
    ys.push_back(r.top);
    ys.push_back(r.bottom);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
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
      previousRuns.assign(runs.begin(), runs.end());
      havePrevious = true;
    }
    previousBottom = bottom;
  }
  rects_.assign(out.begin(), out.end());
  bounds_ = {};
  for (const Rect& r : rects_) bounds_ = bounds_.unite(r);
}

}  // namespace gdi
