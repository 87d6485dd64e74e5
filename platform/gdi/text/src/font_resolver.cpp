#include "font_resolver.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <mutex>

namespace gdi::detail {
namespace {

// Used for an empty face name: the face the control's stock font starts with.
constexpr const char* kDefaultFace = "Arial";
constexpr const char* kFallbackFaces[] = {"Liberation Sans", "DejaVu Sans", "sans-serif"};

std::mutex& fontconfigMutex() {
  static std::mutex mutex;
  return mutex;
}

bool wantsBold(const LogFont& f) { return f.weight >= FW_SEMIBOLD; }

int fontconfigWeight(const LogFont& f) {
  if (f.weight <= 0) return FC_WEIGHT_REGULAR;
  return FcWeightFromOpenType(std::clamp(f.weight, 1, 1000));
}

// Matches one family name; the match is whatever fontconfig considers nearest.
bool match(const std::string& family, const LogFont& f, FaceFile& out) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, fontconfigWeight(f));
  FcPatternAddInteger(pattern, FC_SLANT, f.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* found = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!found) return false;

  bool ok = false;
  FcChar8* file = nullptr;
  if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file) {
    ok = true;
    out.path = reinterpret_cast<const char*>(file);
    int index = 0;
    out.index = FcPatternGetInteger(found, FC_INDEX, 0, &index) == FcResultMatch ? index : 0;
    FcChar8* foundFamily = nullptr;
    out.family = FcPatternGetString(found, FC_FAMILY, 0, &foundFamily) == FcResultMatch
                     ? reinterpret_cast<const char*>(foundFamily)
                     : family;
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(found, FC_WEIGHT, 0, &weight);
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(found, FC_SLANT, 0, &slant);
    out.emboldened = wantsBold(f) && weight < FC_WEIGHT_DEMIBOLD;
    out.slanted = f.italic && slant == FC_SLANT_ROMAN;
  }
  FcPatternDestroy(found);
  return ok;
}

}  // namespace

std::vector<FaceFile> faceFilesFor(const LogFont& logFont) {
  std::lock_guard lock(fontconfigMutex());
  static const bool initialised = FcInit() == FcTrue;
  std::vector<FaceFile> files;
  if (!initialised) return files;

  std::vector<std::string> families;
  families.emplace_back(logFont.faceName.empty() ? kDefaultFace : logFont.faceName);
  for (const char* f : kFallbackFaces) families.emplace_back(f);
  for (const std::string& family : families) {
    FaceFile file;
    if (!match(family, logFont, file)) continue;
    const bool seen = std::any_of(files.begin(), files.end(), [&](const FaceFile& known) {
      return known.path == file.path && known.index == file.index;
    });
    if (!seen) files.push_back(std::move(file));
  }
  return files;
}

}  // namespace gdi::detail
