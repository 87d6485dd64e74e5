#!/usr/bin/env python3
"""Checks every #include of the tree against the layer table below.

Each source file belongs to the layer of the longest folder in the table that holds it. Each
include is resolved to the file that provides it (beside the includer first, then any header of
the tree whose path ends with the included name) and so to that file's layer. An include is a
violation when that layer is neither the includer's own nor one it may use; a Qt header is a
violation in a layer that is toolkit-free. Test, benchmark and fuzz code may use every layer.

  check-layers.py [ROOT]          check the tree (default: the repository this script is in)
  check-layers.py --table         print the layer table as Markdown
  check-layers.py --update-doc    write that table into ARCHITECTURE.md
  check-layers.py --self-test     plant forbidden includes in a copy of the tree; expect failures

Exit status: 0 clean, 1 violations found (one line each: FILE:LINE: layer X may not include Y),
2 usage or self-test failure.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile

# The layer table: name, folders, the layers it may include from, whether it may include Qt,
# and what it holds. A layer's own folders are always allowed; nothing else is implied, so a
# program that uses the host does not thereby reach the drawing layer beneath it.
LAYERS = [
    ("util", ["platform/util"], [], False,
     "helpers every layer would otherwise copy: text trimming, case-free comparison, little-endian "
     "bytes, UTF-8, file replacement, folder checks, calendar days and times of day"),
    ("automation", ["platform/automation"], ["util"], False,
     "Guid, Variant, SafeArray, Dispatch, AutomationError, the registry, in-process servers"),
    ("regsvr", ["platform/automation/regsvr"], ["automation", "util"], False,
     "zelk-regsvr, which calls a module's registration entries"),
    ("gdi-geometry", ["platform/gdi/geometry"], ["util"], False,
     "points, sizes and rectangles shared by the raster and text layers"),
    ("gdi-text", ["platform/gdi/text"], ["gdi-geometry", "util"], False,
     "fonts (fontconfig), glyphs (FreeType), text output onto a pixel buffer"),
    ("gdi", ["platform/gdi"], ["gdi-geometry", "gdi-text", "util"], False,
     "bitmaps, device contexts, pens, brushes, regions, palettes, packed DIBs, system colours"),
    ("ocx", ["platform/ocx"], ["gdi", "gdi-geometry", "gdi-text", "automation", "util"], False,
     "control base class, site, property exchange, events, errors, page model and frame"),
    ("host", ["platform/host"], ["ocx", "gdi", "gdi-geometry", "gdi-text", "automation", "util"],
     False, "windows, messages, timers, clipboard, cursors, capture, printers, dialogs; headless"),
    ("host-qt", ["platform/host/qt"],
     ["host", "ocx", "gdi", "gdi-geometry", "gdi-text", "automation", "util"], True,
     "the same services on Qt: QtContainer, clipboard, printers, dialogs, property page widgets"),
    ("wavetool", ["wavetool"], ["util"], False, "libXVAXTool.so: four C functions on WAVEHDRs"),
    ("xvtools", ["xvtools"], ["wavetool", "util"], False,
     "audio input, buffer hand-over, timer, spin button, LED panel, switch, meter, spectrogram, "
     "spectrogram frames and palettes, sun times, the pixel font of pictures' captions"),
    ("xvtools-qt", ["xvtools/qt"], ["xvtools", "wavetool", "util"], True,
     "the Qt widgets of the outside components"),
    ("chartctl-ids", ["chartctl/ids"], ["automation", "util"], False,
     "the control's DISPIDs, shared by the model and the property pages"),
    ("chartctl-output", ["chartctl/output"],
     ["chartctl-ids", "ocx", "gdi", "gdi-geometry", "gdi-text", "automation", "util"], False,
     "surfaces, viewport objects, frame timer, bezel, printing, DIB, clipboard and file output"),
    ("chartctl-render", ["chartctl/render"],
     ["chartctl-output", "chartctl-ids", "ocx", "gdi", "gdi-geometry", "gdi-text", "automation",
      "util"], False,
     "mapping, sample converters, trace items, graticule, scales, labels, plot layout"),
    ("chartctl-pages", ["chartctl/pages"],
     ["chartctl-ids", "ocx", "gdi", "gdi-geometry", "gdi-text", "automation", "util"], False,
     "the eleven property pages' layouts and classes over the framework's page model"),
    ("chartctl-model", ["chartctl"],
     ["chartctl-render", "chartctl-output", "chartctl-pages", "chartctl-ids", "ocx", "gdi",
      "gdi-geometry", "gdi-text", "automation", "util"], False,
     "object records, selectors, validation, errors, ChartData, persistence, the shell"),
    ("apps", ["apps/common"], ["xvtools", "wavetool", "host", "automation", "util"], False,
     "the programs' shared layer: options, sun marks, stop signals, display check, "
     "designed charts"),
    ("apps-qt", ["apps/common/qt"],
     ["apps", "host-qt", "xvtools-qt", "xvtools", "wavetool", "host", "automation", "util"], True,
     "the programs' shared Qt start-up"),
    ("recorder-core", ["recorder/core"],
     ["apps", "xvtools", "wavetool", "host", "automation", "util"], False,
     "the recorder form's logic, tables, log format, playback, log rotation, stations' run "
     "preparation"),
    ("recorder-web", ["recorder/web"],
     ["recorder-core", "xvtools", "wavetool", "host", "automation", "util"], False,
     "the recorder's web view: routes and request checks, pages, snapshots, the serve address, "
     "the captioned live picture, the loader of its server"),
    ("recorder-web-module", ["recorder/web/module"],
     ["recorder-web", "recorder-dayplot", "recorder-core", "host", "automation", "util"], False,
     "libzelkchart_web.so: the server, connections, listener, workers, served logs and their day "
     "plots; loaded by the web view, included by nothing"),
    ("recorder-dayplot", ["recorder/dayplot"],
     ["recorder-core", "apps", "xvtools", "wavetool", "host", "automation", "util"], False,
     "zelkchart --plot: day plots of logs and SID files with their sun marks"),
    ("recorder-headless", ["recorder/headless"],
     ["recorder-web", "recorder-core", "apps", "xvtools", "wavetool", "host", "automation",
      "util"], False,
     "the recorder's headless run, its file checks, the CSV export and device list commands"),
    ("recorder-window", ["recorder/window"],
     ["recorder-web", "recorder-core", "apps", "apps-qt", "host-qt", "xvtools-qt", "xvtools",
      "wavetool", "host", "automation", "util"], True,
     "the recorder's window: menus, choices kept between runs, stations dialog, print"),
    ("recorder-app", ["recorder/app", "recorder"],
     ["recorder-window", "recorder-headless", "recorder-dayplot", "recorder-web", "recorder-core",
      "apps", "apps-qt", "host-qt", "xvtools-qt", "xvtools", "wavetool", "host", "automation",
      "util"], True,
     "zelkchart: main and the command line, read into each run's own settings"),
    ("spectrograph-core", ["spectrograph/core"],
     ["apps", "xvtools", "wavetool", "host", "automation", "util"], False,
     "the spectrograph form's logic"),
    ("spectrograph-app", ["spectrograph/app", "spectrograph"],
     ["spectrograph-core", "apps", "apps-qt", "host-qt", "xvtools-qt", "xvtools", "wavetool",
      "host", "automation", "util"], True, "zelkspec: the spectrograph's window and headless runs"),
    ("designer", ["designer"],
     ["apps", "apps-qt", "host-qt", "xvtools", "host", "automation", "util"], True,
     "kvplotax-designer: edits a designed chart through the control's property pages"),
    ("examples", ["examples"], ["recorder-core", "host", "automation", "util"], False,
     "small programs driving the control from outside; chart_png sets it up as the recorder does"),
]

# Folders whose code exercises the layers above it: it may include any layer, and Qt.
TEST_PARTS = {"tests", "bench", "fuzz", "support"}
SKIP_DIRS = {".git", "build", ".cache"}
SOURCE_SUFFIXES = (".cpp", ".cc", ".c", ".h", ".hpp", ".inc", ".in")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^(Q[A-Z]\w*|Qt\w*/.*)$")


def layer_of(path):
    """The layer holding PATH (relative, '/'-separated), "tests" for test code, or None."""
    parts = path.split("/")
    if parts[0] in ("tests", "bench", "fuzz") or any(p in TEST_PARTS for p in parts[1:-1]):
        return "tests"
    best, best_len = None, -1
    for name, folders, _, _, _ in LAYERS:
        for folder in folders:
            if (path.startswith(folder + "/")) and len(folder) > best_len:
                best, best_len = name, len(folder)
    return best


def source_files(root):
    for dirpath, dirnames, filenames in os.walk(root):
        dirnames[:] = sorted(d for d in dirnames if d not in SKIP_DIRS and
                             not (d.startswith("build") and dirpath == root))
        for f in sorted(filenames):
            if f.endswith(SOURCE_SUFFIXES):
                yield os.path.relpath(os.path.join(dirpath, f), root).replace(os.sep, "/")


def reachable_as(path, name):
    """Whether an include of NAME can mean PATH: a header under an include/ folder is reached by
    its path below that folder (include/gdi/font.h as "gdi/font.h", never as "font.h")."""
    if "/include/" in "/" + path:
        return path.rsplit("include/", 1)[1] == name
    return True


class Resolver:
    def __init__(self, files):
        self.files = set(files)
        self.by_name = {}
        for f in files:
            self.by_name.setdefault(os.path.basename(f), []).append(f)

    def resolve(self, includer, name, quoted, includer_layer, allowed):
        """The file of the tree NAME means in INCLUDER, or None for a system or generated header.

        Where several headers of the tree end in NAME, the one the includer may use wins: the
        include paths a target is given decide which one the compiler takes, and the check is
        about reaching outside the allowed layers, not about the order of include paths."""
        if quoted:
            beside = os.path.normpath(os.path.join(os.path.dirname(includer), name))
            if beside in self.files:
                return beside
        suffix = "/" + name
        found = [f for f in self.by_name.get(os.path.basename(name), [])
                 if (f.endswith(suffix) or f == name) and reachable_as(f, name)]
        if not found:
            return None
        for preferred in ([f for f in found if layer_of(f) == includer_layer],
                          [f for f in found if layer_of(f) in allowed]):
            if preferred:
                return preferred[0]
        return found[0]


def check(root):
    table = {name: (set(uses), qt) for name, _, uses, qt, _ in LAYERS}
    unknown = {u for uses, _ in table.values() for u in uses} - set(table)
    if unknown:
        sys.exit(f"check-layers: the table names unknown layers: {', '.join(sorted(unknown))}")
    files = list(source_files(root))
    resolver = Resolver(files)
    violations = []
    qt_reported = set()
    for path in files:
        layer = layer_of(path)
        if layer is None or layer == "tests":
            continue
        uses, qt_allowed = table[layer]
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as text:
            for number, line in enumerate(text, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                quoted, name = match.group(1) == '"', match.group(2)
                if not quoted and QT_HEADER.match(name):
                    if not qt_allowed and path not in qt_reported:
                        qt_reported.add(path)  # one line a file is enough
                        violations.append(f"{path}:{number}: layer {layer} may not include Qt "
                                          f"({name})")
                    continue
                target = resolver.resolve(path, name, quoted, layer, uses)
                if target is None:
                    continue
                target_layer = layer_of(target)
                if target_layer in (layer, None) or target_layer in uses:
                    continue
                violations.append(f"{path}:{number}: layer {layer} may not include "
                                  f"{target_layer} ({target})")
    return violations


CMAKE_INCLUDE_DIRS = re.compile(r"target_include_directories\s*\(([^)]*)\)", re.S)
CMAKE_PATH = re.compile(r"\$\{(PROJECT_SOURCE_DIR|CMAKE_SOURCE_DIR|CMAKE_CURRENT_SOURCE_DIR)\}"
                        r"/([\w./-]+)")


def owner_layer(folder):
    """The layer a folder's code belongs to; a tests folder belongs to the layer it tests."""
    parts = folder.split("/")
    for i, part in enumerate(parts):
        if part in TEST_PARTS:
            parts = parts[:i]
            break
    return layer_of("/".join(parts) + "/x") if parts and parts[0] else None


def check_include_paths(root):
    """A target uses another layer by linking that layer's target, which carries its include
    folders; naming another layer's folder as an include path bypasses the table."""
    violations = []
    for path in source_files_named(root, ("CMakeLists.txt",)):
        folder = os.path.dirname(path)
        owner = owner_layer(folder)
        if owner is None:
            continue
        text = open(os.path.join(root, path), encoding="utf-8").read()
        for call in CMAKE_INCLUDE_DIRS.finditer(text):
            for var, rest in CMAKE_PATH.findall(call.group(1)):
                base = folder if var == "CMAKE_CURRENT_SOURCE_DIR" else ""
                named = os.path.normpath(os.path.join(base, rest)).replace(os.sep, "/")
                named_layer = owner_layer(named)
                if named_layer in (owner, None) or not owned_elsewhere(root, folder, named):
                    continue
                number = text.count("\n", 0, call.start()) + 1
                violations.append(f"{path}:{number}: layer {owner} may not reach into "
                                  f"{named}/ ({named_layer}) by include path; link its target")
    return violations


CMAKE_SOURCE = re.compile(r"(?<![\w}/.-])((?:\$\{(?:PROJECT_SOURCE_DIR|CMAKE_SOURCE_DIR|"
                          r"CMAKE_CURRENT_SOURCE_DIR)\}/)?[\w./-]+\.(?:cpp|cc|c))\b")


def check_foreign_sources(root):
    """A layer's sources are compiled into its own targets; a target that compiles another
    layer's source builds that code a second time instead of linking the library that holds it."""
    violations = []
    for path in source_files_named(root, ("CMakeLists.txt",)):
        folder = os.path.dirname(path)
        owner = owner_layer(folder)
        if owner is None:
            continue
        with open(os.path.join(root, path), encoding="utf-8") as text:
            for number, line in enumerate(text, 1):
                code = line.split("#", 1)[0]
                for name in CMAKE_SOURCE.findall(code):
                    if name.startswith("${CMAKE_CURRENT_SOURCE_DIR}/"):
                        source = os.path.join(folder, name.split("/", 1)[1])
                    elif name.startswith("${"):
                        source = name.split("/", 1)[1]
                    else:
                        source = os.path.join(folder, name)
                    source = os.path.normpath(source).replace(os.sep, "/")
                    source_layer = owner_layer(os.path.dirname(source))
                    if source_layer in (owner, None) or not owned_elsewhere(root, folder, source):
                        continue
                    violations.append(f"{path}:{number}: layer {owner} may not compile "
                                      f"{source} ({source_layer}); link the library that holds it")
    return violations


def owned_elsewhere(root, folder, named):
    """Whether NAMED (a file or folder) belongs to another CMakeLists.txt than FOLDER's: it lies
    outside FOLDER, or a folder between them has a CMakeLists.txt of its own."""
    if not named.startswith(folder + "/"):
        return True
    step = os.path.dirname(named) if os.path.splitext(named)[1] else named
    while step and step != folder:
        if os.path.isfile(os.path.join(root, step, "CMakeLists.txt")):
            return True
        step = os.path.dirname(step)
    return False


def source_files_named(root, names):
    for dirpath, dirnames, filenames in os.walk(root):
        dirnames[:] = sorted(d for d in dirnames if d not in SKIP_DIRS and
                             not (d.startswith("build") and dirpath == root))
        for f in sorted(filenames):
            if f in names:
                yield os.path.relpath(os.path.join(dirpath, f), root).replace(os.sep, "/")


def table_text():
    lines = ["| Layer | Folders | May include | Qt | Holds |", "|---|---|---|---|---|"]
    for name, folders, uses, qt, holds in LAYERS:
        lines.append(f"| {name} | {', '.join('`' + f + '/`' for f in folders)} | "
                     f"{', '.join(uses) or '(nothing)'} | {'yes' if qt else 'no'} | {holds} |")
    lines.append("| tests | `tests/`, `bench/`, `fuzz/`, and every `tests/`, `bench/`, `fuzz/`, "
                 "`support/` folder | every layer | yes | tests, benchmarks, fuzz targets |")
    return "\n".join(lines) + "\n"


DOC = "ARCHITECTURE.md"
DOC_BEGIN = "<!-- begin layer table -->\n"
DOC_END = "<!-- end layer table -->"


def check_doc(root, update=False):
    """The architecture guide shows this table; a table changed here must be changed there."""
    path = os.path.join(root, DOC)
    if not os.path.isfile(path):
        return []
    text = open(path, encoding="utf-8").read()
    begin, end = text.find(DOC_BEGIN), text.find(DOC_END)
    if begin < 0 or end < begin:
        return [f"{DOC}:1: the layer table's markers are missing"]
    begin += len(DOC_BEGIN)
    if text[begin:end] == table_text():
        return []
    if update:
        with open(path, "w", encoding="utf-8") as out:
            out.write(text[:begin] + table_text() + text[end:])
        return []
    line = text.count("\n", 0, begin) + 1
    return [f"{DOC}:{line}: the layer table differs from scripts/check-layers.py's; "
            "run scripts/check-layers.py --update-doc"]


# Each planted include must be reported; the first folder existing in the tree is used.
PLANTS = [
    (["chartctl/model"], '#include "host/headless.h"\n',
     "layer chartctl-model may not include host"),
    (["platform/gdi/src"], '#include "ocx/control.h"\n', "layer gdi may not include ocx"),
    (["recorder/core/src"], "#include <QWidget>\n", "layer recorder-core may not include Qt"),
    (["platform/automation/src"], '#include "xvtools/audio_input.h"\n',
     "layer automation may not include xvtools"),
    (["recorder/web"], "#include <QWidget>\n", "layer recorder-web may not include Qt"),
    (["recorder/web"], '#include "headless_run.h"\n',
     "layer recorder-web may not include recorder-headless"),
    (["recorder/headless"], '#include "web_listener.h"\n',
     "layer recorder-headless may not include recorder-web-module"),
]


def self_test(root):
    with tempfile.TemporaryDirectory() as scratch:
        copy = os.path.join(scratch, "tree")
        shutil.copytree(root, copy, ignore=lambda d, names: [
            n for n in names if n in SKIP_DIRS or (d == root and n.startswith("build"))])
        before = set(check(copy))
        failures = 0
        for folders, line, expected in PLANTS:
            folder = next((f for f in folders if os.path.isdir(os.path.join(copy, f))), None)
            if folder is None:
                continue
            planted = os.path.join(copy, folder, "planted_include.cpp")
            with open(planted, "w", encoding="utf-8") as out:
                out.write("// planted by the layer check's self-test\n" + line)
            found = [v for v in set(check(copy)) - before if "planted_include.cpp" in v]
            os.remove(planted)
            header = line.strip().split(None, 1)[1].strip('"<>')
            target_present = header.startswith("Q") or any(
                f.endswith("/" + header) for f in source_files(copy))
            if not target_present:
                continue  # nothing in this tree provides the header; the plant proves nothing
            if not any(expected in v for v in found):
                print(f"self-test: planting {line.strip()} in {folder} was not reported "
                      f"(expected '{expected}')")
                failures += 1
        # An include path into another layer's folder is caught in the build files too.
        cmake_file = os.path.join(copy, "platform/gdi/CMakeLists.txt")
        if os.path.isfile(cmake_file):
            with open(cmake_file, "a", encoding="utf-8") as out:
                out.write("\ntarget_include_directories(zelk_gdi PRIVATE "
                          "${PROJECT_SOURCE_DIR}/platform/host/src)\n")
                out.write("add_library(planted STATIC ${PROJECT_SOURCE_DIR}/platform/host/src/"
                          "planted.cpp)\n")
            if not any("platform/gdi/CMakeLists.txt" in v and "reach into platform/host/src/" in v
                       for v in check_include_paths(copy)):
                print("self-test: an include path into platform/host/src was not reported")
                failures += 1
            if not any("may not compile platform/host/src/planted.cpp" in v
                       for v in check_foreign_sources(copy)):
                print("self-test: a source of platform/host compiled by platform/gdi was not "
                      "reported")
                failures += 1
        # The script's exit status must say so too.
        planted = os.path.join(copy, PLANTS[0][0][0], "planted_include.cpp")
        if os.path.isdir(os.path.dirname(planted)):
            with open(planted, "w", encoding="utf-8") as out:
                out.write("#include <QWidget>\n")
            status = subprocess.run([sys.executable, os.path.abspath(__file__), copy],
                                    stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL).returncode
            if status != 1:
                print(f"self-test: a tree with a violation exited {status}, not 1")
                failures += 1
    print("self-test: " + ("passed" if failures == 0 else f"{failures} failure(s)"))
    return 0 if failures == 0 else 2


def main(argv):
    here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    args = [a for a in argv[1:] if not a.startswith("--")]
    flags = [a for a in argv[1:] if a.startswith("--")]
    root = os.path.abspath(args[0]) if args else here
    if flags == ["--table"]:
        sys.stdout.write(table_text())
        return 0
    if flags == ["--update-doc"]:
        check_doc(root, update=True)
        return 0
    if flags == ["--self-test"]:
        return self_test(root)
    if flags or len(args) > 1:
        print(__doc__, file=sys.stderr)
        return 2
    violations = (check(root) + check_include_paths(root) + check_foreign_sources(root) +
                  check_doc(root))
    for v in violations:
        print(v)
    if violations:
        print(f"{len(violations)} include(s) cross the layers", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
