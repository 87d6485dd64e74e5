#!/usr/bin/env bash
# Keeps the documentation true to the programs:
#  - every option a program's --help lists appears in the SYNOPSIS or OPTIONS of its manual page,
#    and every option those sections name is one --help lists;
#  - every manual page renders without warnings;
#  - every command example of the README runs, with the synthetic input, scratch paths and a
#    scratch home, and exits as documented, unless the table below skips it with its reason.
# Usage: scripts/check-docs.sh [BINDIR]   (default: build/default/bin)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:-$repo/build/default/bin}" && pwd)
lib=$(cd "$bin/../lib" && pwd)
programs=(zelkchart zelkspec kvplotax-designer zelk-regsvr)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
  echo "check-docs: FAILED: $*"
  failures=$((failures + 1))
}

# Nothing a program does here reaches the user's settings, registry or printer.
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
export XDG_CACHE_HOME=$scratch/cache XDG_STATE_HOME=$scratch/state XDG_CONFIG_DIRS=$scratch/xdg
export ZELK_REGISTRY=$scratch/registry ZELK_PRINTER=pdf:$scratch/printer.pdf
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 PATH=$bin:$PATH
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$scratch/srv/rx" "$scratch/srv/www" "$scratch/run"

# Option names in a text: --word or -x, standing after a space, a bracket, a bar or a comma.
option_names() {
  grep -oE '(^|[][ |,(])--?[A-Za-z][A-Za-z0-9-]*' | sed -E 's/^[][ |,(]//' | LC_ALL=C sort -u
}

# The roff source's SYNOPSIS and OPTIONS sections, with \- as - and font changes dropped.
man_option_sections() {
  awk '/^\.SH/ { keep = ($2 == "SYNOPSIS" || $2 == "OPTIONS") ; next } keep' "$1" |
    sed -E 's/\\-/-/g; s/\\f[BIRP]//g; s/\\f\(..//g'
}

echo "== check-docs: --help against the manual pages"
for program in "${programs[@]}"; do
  page=$repo/desktop/man/$program.1
  if [ ! -x "$bin/$program" ]; then
    echo "check-docs: $program is not built here; its page is checked for rendering only"
    continue
  fi
  [ -f "$page" ] || {
    fail "$program has no manual page desktop/man/$program.1"
    continue
  }
  for asked in --help --version; do
    status=0
    "$bin/$program" "$asked" >"$scratch/asked.out" 2>"$scratch/asked.err" || status=$?
    if [ "$status" -ne 0 ] || [ ! -s "$scratch/asked.out" ] || [ -s "$scratch/asked.err" ]; then
      fail "$program $asked must print to standard output only and exit 0 (exit $status)"
    fi
  done
  help=$("$bin/$program" --help 2>/dev/null || true)
  in_help=$(option_names <<<"$help")
  in_page=$(man_option_sections "$page" | option_names)
  missing=$(LC_ALL=C comm -23 <(echo "$in_help") <(echo "$in_page") | tr '\n' ' ')
  extra=$(LC_ALL=C comm -13 <(echo "$in_help") <(echo "$in_page") | tr '\n' ' ')
  [ -z "$missing" ] || fail "$program --help lists ${missing}but its manual page does not"
  [ -z "$extra" ] || fail "$program's manual page names ${extra}but --help does not list it"
done

echo "== check-docs: manual pages render without warnings"
if ! command -v man >/dev/null; then
  fail "man is missing (the Debian package man-db; scripts/install-deps.sh installs it)"
else
  for page in "$repo"/desktop/man/*.1; do
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man -l $page failed"
    [ -z "$warnings" ] || fail "$(basename "$page") renders with warnings: $warnings"
  done
fi

# README examples that are not run here, and why. The text is the example as the README writes it.
declare -A skipped=(
  ["scripts/demo.sh"]="builds the whole tree; scripts/test.sh builds and runs it all"
  ["scripts/test.sh"]="the test command this check is part of"
  ["scripts/test.sh --quick"]="the everyday test command this check is part of"
  ["scripts/package-deb.sh"]="builds the Debian package; scripts/test.sh runs it with --check"
  ["scripts/package-deb.sh --check"]="run by scripts/test.sh"
  ["sudo apt install ./build/package/zelk_*.deb"]="needs root and changes the machine"
  ["sudo apt remove zelk"]="needs root and changes the machine"
  ["cmake --preset release && cmake --build --preset release && cmake --install build/release"]="a build of its own; scripts/test.sh builds the release configuration as the Debian package"
  ["cmake --install"]="installs into the prefix; install_layout_test checks what it installs"
  ["zelk-regsvr --system"]="writes the system-wide registry (root); names no module"
  ["zelk-regsvr --system LIBDIR/libKVPLOTAX.so"]="writes the system-wide registry (root)"
  ["zelk-regsvr --system -u LIBDIR/libKVPLOTAX.so"]="writes the system-wide registry (root)"
  ["zelkchart --list-devices"]="needs a sound card (without one it exits 1)"
  ["systemctl --user enable --now zelkchart-record@NAME"]="needs the user's systemd session; recording_service_test checks the unit"
  ["scripts/soak.sh 48"]="two days of signal; scripts/test.sh runs scripts/soak.sh 6"
)

# What stands in for a placeholder or a real machine's path, in order.
substitutions=(
  "s| \.\.\. | --seconds 2 |g"
  "s|--input X |--input synthetic |g"
  "s|--input default |--input synthetic |g"
  "s|--seconds N|--seconds 2|g"
  "s|FILE\.png|$scratch/run/out.png|g"
  "s|FILE\.pdf|$scratch/run/out.pdf|g"
  # A rotated day's file exists only after a night; the first day's file keeps the name given.
  "s|/srv/rx/night-[0-9-]*\.log|/srv/rx/night.log|g"
  "s|/srv/|$scratch/srv/|g"
  "s|MODULE|$lib/libKVPLOTAX.so|g"
  "s|LIBDIR|$lib|g"
  "s|DATADIR/zelk/forms/|$repo/forms/|g"
  "s|^man -l desktop/|man -l $repo/desktop/|"
  "s|^man ([a-z-]+)$|man -l $repo/desktop/man/\1.1|"
  "s| forms/| $repo/forms/|g"
)

# The README's commands: each line of its sh blocks (continuations joined, comments dropped) and
# each inline code span of two words or more that starts with a program or a command a user types.
readme_commands() {
  awk '
    /^```/ { spans(paragraph); paragraph = ""; fenced = !fenced; next }
    fenced {
      line = line $0
      if (line ~ /\\$/) { sub(/\\$/, "", line); next }
      sub(/[ \t]+#.*$/, "", line)
      gsub(/[ \t]+/, " ", line)
      if (line != "") print line
      line = ""
      next
    }
    # A span may run on over a line end: spans are looked for in whole paragraphs.
    /^[ \t]*$/ { spans(paragraph); paragraph = ""; next }
    { paragraph = paragraph " " $0 }
    END { spans(paragraph) }
    function spans(text,   span) {
      while (match(text, /`[^`]+`/)) {
        span = substr(text, RSTART + 1, RLENGTH - 2)
        text = substr(text, RSTART + RLENGTH)
        gsub(/[ \t]+/, " ", span)
        if (span ~ /^(zelkchart|zelkspec|kvplotax-designer|zelk-regsvr|man|systemctl|cmake|sudo|scripts\/[a-z-]+\.sh) [^ ]/)
          print span
      }
    }' "$repo/README.md"
}

echo "== check-docs: the README's command examples"
cd "$scratch/run"
while IFS= read -r example; do
  if [ -n "${skipped[$example]+set}" ]; then
    echo "skipped: $example (${skipped[$example]})"
    continue
  fi
  command=$example
  for expression in "${substitutions[@]}"; do
    command=$(sed -E "$expression" <<<"$command")
  done
  # Programs that run until stopped (a window, a real-time recording) get SIGTERM after a few
  # seconds, on which they exit with status 0 as documented.
  status=0
  timeout --preserve-status -k 20 -s TERM 6 bash -c "exec $command" \
    >"$scratch/example.out" 2>&1 </dev/null || status=$?
  if [ "$status" -eq 0 ]; then
    echo "ran: $example"
  else
    fail "README example exits $status: $example (run as: $command)"
    tail -n 5 "$scratch/example.out"
  fi
done < <(readme_commands)

if [ "$failures" -gt 0 ]; then
  echo "check-docs: $failures failures"
  exit 1
fi
echo "check-docs: the documentation agrees with the programs"
