#!/usr/bin/env bash
# Validates the launcher entries, the AppStream metadata and the .bag file type as desktops and
# software centres read them, and that they name each other consistently.
# Usage: check_metadata.sh [--skip-missing] DESKTOP_DIR
# --skip-missing exits 77 (skipped) when a validator is not installed instead of failing.
set -euo pipefail
skip_missing=0
if [ "${1:-}" = --skip-missing ]; then
  skip_missing=1
  shift
fi
dir=${1:?usage: check_metadata.sh [--skip-missing] DESKTOP_DIR}
for tool in desktop-file-validate appstreamcli update-mime-database xmllint; do
  if ! command -v "$tool" >/dev/null; then
    echo "check_metadata: $tool is not installed (scripts/install-deps.sh installs it)" >&2
    if ((skip_missing)); then exit 77; fi
    exit 1
  fi
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() {
  echo "check_metadata: $*" >&2
  failed=1
}

# A hint is a fault too: menus show an entry twice or not at all for what the validator hints at.
for entry in "$dir"/*.desktop; do
  out=$(desktop-file-validate "$entry" 2>&1) || true
  [ -z "$out" ] || fail "$out"
done

for info in "$dir"/metainfo/*.metainfo.xml; do
  id=$(basename "$info" .metainfo.xml)
  appstreamcli validate --no-net "$info" >"$scratch/out" 2>&1 || fail "$(cat "$scratch/out")"
  grep -qF "<id>$id</id>" "$info" || fail "$info: its <id> is not $id"
  grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$info" ||
    fail "$info: does not launch $id.desktop"
  [ -f "$dir/$id.desktop" ] || fail "$info: there is no launcher $id.desktop"
  # The binary it provides is the one its launcher starts.
  exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$dir/$id.desktop" 2>/dev/null)
  grep -qF "<binary>$exec</binary>" "$info" || fail "$info: does not provide $exec"
done
for entry in "$dir"/*.desktop; do
  [ -f "$dir/metainfo/$(basename "$entry" .desktop).metainfo.xml" ] ||
    fail "$entry has no metainfo file"
done

# The file type: well-formed, compiled by the desktop's own tool into a glob and a first-line
# magic, and opened by the entry that declares it.
xml=$dir/mime/zelk.xml
xmllint --noout "$xml" || fail "$xml is not well-formed"
type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$xml")
mkdir -p "$scratch/mime/packages"
cp "$xml" "$scratch/mime/packages/"
update-mime-database "$scratch/mime" >/dev/null 2>"$scratch/out" || fail "$(cat "$scratch/out")"
grep -qxF "$type" "$scratch/mime/types" || fail "$type is not in the compiled types"
grep -qF "$type:*.bag" "$scratch/mime/globs2" || fail "$type has no *.bag glob"
grep -aqF "[Class {" "$scratch/mime/magic" || fail "$type has no [Class { magic"
handlers=$(grep -lx "MimeType=.*$type;.*" "$dir"/*.desktop || true)
[ -n "$handlers" ] || fail "no launcher opens $type"
for handler in $handlers; do
  grep -qE '^Exec=.* %[fFuU]' "$handler" || fail "$handler opens $type but takes no file"
done
exit "$failed"
