// Every script of the reference corpus (GDI calls with the picture a Windows-compatible GDI drew
// from them) is drawn by the device context and by the naive canvas; both must give the picture
// exactly. A failure prints a map of the differing pixels.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "gdi/device_context.h"
#include "naive/naive_canvas.h"

namespace {

namespace fs = std::filesystem;
using gdi::Point;

// What a script asks for, ready for either rasteriser.
struct Script {
  int width = 0, height = 0;
  gdi::ColorRef back = 0;
  struct Step {
    std::string call;  // clip, noclip, pen, brush, polyline, polygon, rect
    std::vector<int> numbers;
    bool nullBrush = false;
  };
  std::vector<Step> steps;
};

Script readScript(const fs::path& path) {
  Script script;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    Script::Step step;
    if (!(words >> step.call)) continue;
    auto readInts = [&](int n, bool hexLast) {
      for (int i = 0; i < n; ++i) {
        long long v = 0;
        if (hexLast && i == n - 1) {
          words >> std::hex >> v >> std::dec;
        } else {
          words >> v;
        }
        step.numbers.push_back(static_cast<int>(v));
      }
    };
    if (step.call == "size") {
      readInts(3, true);
      script.width = step.numbers[0];
      script.height = step.numbers[1];
      script.back = static_cast<gdi::ColorRef>(step.numbers[2]);
      continue;
    }
    if (step.call == "clip" || step.call == "rect") {
      readInts(4, false);
    } else if (step.call == "pen") {
      readInts(3, true);
    } else if (step.call == "brush") {
      std::string colour;
      words >> colour;
      step.nullBrush = colour == "null";
      if (!step.nullBrush)
        step.numbers.push_back(static_cast<int>(std::stoul(colour, nullptr, 16)));
    } else if (step.call == "polyline" || step.call == "polygon") {
      int n = 0;
      words >> n;
      readInts(2 * n, false);
    }
    script.steps.push_back(std::move(step));
  }
  return script;
}

std::vector<Point> pointsOf(const std::vector<int>& numbers) {
  std::vector<Point> points;
  for (std::size_t i = 0; i + 1 < numbers.size(); i += 2)
    points.push_back({numbers[i], numbers[i + 1]});
  return points;
}

// Pixels as 0x00BBGGRR, row by row.
std::vector<gdi::ColorRef> drawWithDeviceContext(const Script& s) {
  gdi::Bitmap bitmap(s.width, s.height, s.back);
  gdi::DeviceContext dc(&bitmap);
  dc.setBkMode(gdi::TRANSPARENT);
  for (const Script::Step& step : s.steps) {
    const std::vector<int>& n = step.numbers;
    if (step.call == "clip") {
      dc.selectClipRect({n[0], n[1], n[2], n[3]});
    } else if (step.call == "noclip") {
      dc.selectClipRegion(nullptr);
    } else if (step.call == "pen") {
      dc.selectPen(gdi::Pen(n[0], n[1], static_cast<gdi::ColorRef>(n[2])));
    } else if (step.call == "brush") {
      dc.selectBrush(step.nullBrush ? gdi::Brush::null()
                                    : gdi::Brush::solid(static_cast<gdi::ColorRef>(n[0])));
    } else if (step.call == "polyline") {
      dc.polyline(pointsOf(n));
    } else if (step.call == "polygon") {
      dc.polygon(pointsOf(n));
    } else if (step.call == "rect") {
      dc.rectangle(n[0], n[1], n[2], n[3]);
    }
  }
  return {bitmap.pixels().begin(), bitmap.pixels().end()};
}

std::vector<gdi::ColorRef> drawWithNaiveCanvas(const Script& s) {
  naive::NaiveCanvas canvas(s.width, s.height, s.back);
  canvas.opaque = false;
  for (const Script::Step& step : s.steps) {
    const std::vector<int>& n = step.numbers;
    if (step.call == "clip") {
      canvas.clip = {};
      canvas.clip.restricted = true;
      canvas.clip.keep.push_back({n[0], n[1], n[2], n[3]});
    } else if (step.call == "noclip") {
      canvas.clip = {};
    } else if (step.call == "pen") {
      canvas.pen = {n[0], n[1], static_cast<gdi::ColorRef>(n[2])};
    } else if (step.call == "brush") {
      canvas.brushNull = step.nullBrush;
      if (!step.nullBrush) canvas.brushColor = static_cast<gdi::ColorRef>(n[0]);
    } else if (step.call == "polyline") {
      canvas.polyline(pointsOf(n));
    } else if (step.call == "polygon") {
      canvas.polygon(pointsOf(n));
    } else if (step.call == "rect") {
      canvas.rectangle(n[0], n[1], n[2], n[3]);
    }
  }
  return canvas.pixels;
}

std::vector<gdi::ColorRef> readPicture(const fs::path& path, int width, int height) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return {};
  png.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(png));
  const bool ok = png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr) != 0;
  if (!ok || static_cast<int>(png.width) != width || static_cast<int>(png.height) != height)
    return {};
  std::vector<gdi::ColorRef> pixels(rgb.size() / 3);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = gdi::rgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
  return pixels;
}

// '.' agrees on the background, '#' agrees elsewhere, '+' drawn only by us, '-' missing from
// ours, '*' both drawn in different colours; cut to the rows and columns that differ.
std::string differenceMap(const std::vector<gdi::ColorRef>& ours,
                          const std::vector<gdi::ColorRef>& want, int width, int height,
                          gdi::ColorRef back) {
  int x0 = width, x1 = -1, y0 = height, y1 = -1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (ours[static_cast<std::size_t>(y * width + x)] !=
          want[static_cast<std::size_t>(y * width + x)]) {
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
      }
  if (x1 < 0) return {};
  x0 = std::max(0, x0 - 3);
  y0 = std::max(0, y0 - 3);
  x1 = std::min(width - 1, x1 + 3);
  y1 = std::min(height - 1, y1 + 3);
  std::ostringstream map;
  map << "columns " << x0 << ".." << x1 << ", rows " << y0 << ".." << y1 << "\n";
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const gdi::ColorRef a = ours[static_cast<std::size_t>(y * width + x)];
      const gdi::ColorRef b = want[static_cast<std::size_t>(y * width + x)];
      char c = a == b ? (a == back ? '.' : '#') : (b == back ? '+' : (a == back ? '-' : '*'));
      map << c;
    }
    map << "\n";
  }
  return map.str();
}

struct Case {
  std::string name;
  Script script;
  std::vector<gdi::ColorRef> picture;
};

std::vector<Case> loadCorpus() {
  const fs::path root = ZELK_GDI_REFERENCE_DIR;
  std::vector<Case> cases;
  for (const auto& entry : fs::directory_iterator(root / "cases")) {
    if (entry.path().extension() != ".txt") continue;
    Case c;
    c.name = entry.path().stem().string();
    c.script = readScript(entry.path());
    c.picture = readPicture(root / "expected" / (c.name + ".png"), c.script.width, c.script.height);
    cases.push_back(std::move(c));
  }
  std::sort(cases.begin(), cases.end(),
            [](const Case& a, const Case& b) { return a.name < b.name; });
  return cases;
}

void expectCorpusDrawn(const std::function<std::vector<gdi::ColorRef>(const Script&)>& draw) {
  const std::vector<Case> cases = loadCorpus();
  ASSERT_EQ(cases.size(), 271u) << "the corpus lies in " << ZELK_GDI_REFERENCE_DIR;
  int agreeing = 0;
  for (const Case& c : cases) {
    ASSERT_FALSE(c.picture.empty()) << c.name << ": picture missing or of the wrong size";
    const std::vector<gdi::ColorRef> ours = draw(c.script);
    const std::string map =
        differenceMap(ours, c.picture, c.script.width, c.script.height, c.script.back);
    if (map.empty()) {
      ++agreeing;
    } else {
      ADD_FAILURE() << c.name << " differs:\n" << map;
    }
  }
  EXPECT_EQ(agreeing, static_cast<int>(cases.size()));
}

TEST(ReferenceCorpus, DeviceContextDrawsEveryPicture) { expectCorpusDrawn(drawWithDeviceContext); }

TEST(ReferenceCorpus, NaiveCanvasDrawsEveryPicture) { expectCorpusDrawn(drawWithNaiveCanvas); }

}  // namespace
