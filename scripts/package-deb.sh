#!/usr/bin/env bash
# Builds the Debian package build/package/zelk_VERSION_amd64.deb from the release preset installed
# under /usr. With --check it then runs lintian on the package and checks the files it holds.
set -euo pipefail
cd "$(dirname "$0")/.."
check=0
case "${1:-}" in
  "") ;;
  --check) check=1 ;;
  *)
    echo "usage: scripts/package-deb.sh [--check]" >&2
    exit 2
    ;;
esac

# Its own build folder: the package needs the /usr prefix (with it the multiarch library folder),
# while build/release keeps the prefix `cmake --install` uses for a local install. A first
# configure leaves the tests and benchmarks out; scripts/test.sh configures the same folder with
# them, runs the tests there and packages what it tested, so the release code is compiled once.
build=build/deb
if [ -f "$build/CMakeCache.txt" ]; then
  cmake --preset deb >/dev/null
else
  cmake --preset deb -DZELK_BUILD_TESTS=OFF -DZELK_BUILD_BENCH=OFF >/dev/null
fi
cmake --build --preset deb
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The staged install must register nothing: any registry it writes lands here and fails the build.
(cd "$build" && ZELK_REGISTRY="$scratch/registry" XDG_CONFIG_HOME="$scratch/config" \
  cpack -G DEB >"$scratch/cpack.log") || {
  cat "$scratch/cpack.log" >&2
  exit 1
}
if [ -e "$scratch/registry" ] || [ -e "$scratch/config" ]; then
  echo "package-deb: the staged install wrote a registry or configuration" >&2
  exit 1
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=build/package/zelk_${version}_amd64.deb
test -f "$deb"
echo "package-deb: wrote $deb"
((check)) || exit 0

missing=0
echo "package-deb: lintian"
lintian --fail-on error,warning --info "$deb" || missing=1

echo "package-deb: contents"
dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$scratch/files"
lib=/usr/lib/x86_64-linux-gnu
for path in \
  /usr/bin/zelkchart /usr/bin/zelkspec /usr/bin/kvplotax-designer /usr/bin/zelk-regsvr \
  $lib/libKVPLOTAX.so $lib/libXVAXTool.so $lib/libzelkchart_web.so \
  /usr/share/zelk/forms/zelkchart.bag /usr/share/zelk/forms/zelkspec.bag \
  /usr/share/zelk/designer/help/ \
  /usr/share/man/man1/zelkchart.1.gz /usr/share/man/man1/zelkspec.1.gz \
  /usr/share/icons/hicolor/scalable/apps/zelkchart.svg \
  /usr/share/icons/hicolor/scalable/apps/zelkspec.svg \
  /usr/share/applications/org.zelk.Zelkchart.desktop \
  /usr/share/applications/org.zelk.Zelkspec.desktop \
  /usr/share/applications/org.zelk.KvplotaxDesigner.desktop \
  /usr/share/metainfo/org.zelk.Zelkchart.metainfo.xml \
  /usr/share/metainfo/org.zelk.Zelkspec.metainfo.xml \
  /usr/share/metainfo/org.zelk.KvplotaxDesigner.metainfo.xml \
  /usr/share/mime/packages/zelk.xml \
  $lib/cmake/Zelk/ZelkConfig.cmake $lib/cmake/Zelk/ZelkConfigVersion.cmake \
  $lib/cmake/Zelk/ZelkTargets.cmake \
  /usr/lib/systemd/user/zelkchart-record@.service \
  /usr/share/doc/zelk/copyright /usr/share/doc/zelk/changelog.gz; do
  if ! grep -qxF "$path" "$scratch/files"; then
    echo "package-deb: $deb lacks $path" >&2
    missing=1
  fi
done
# A package installs under /usr only (dpkg's own folders aside); no build-tree leftovers.
if grep -vE '^/(usr(/.*)?)?$' "$scratch/files" | grep -q .; then
  echo "package-deb: files outside /usr:" >&2
  grep -vE '^/(usr(/.*)?)?$' "$scratch/files" >&2
  missing=1
fi
if grep -E '/forms/.*\.h$|/tests?/' "$scratch/files"; then
  echo "package-deb: build or test files in the package" >&2
  missing=1
fi
control=$(dpkg-deb --field "$deb" Depends)
for dep in libqt6widgets6 libportaudio2 libsndfile1 libfftw3-single3 libpng16-16; do
  if [[ $control != *"$dep"* ]]; then
    echo "package-deb: Depends lacks $dep: $control" >&2
    missing=1
  fi
done
exit "$missing"
