#!/usr/bin/env python3
"""scripts/check-layers run on small trees: each wrong include and link is reported at its
line with its rule, and the allowed ones pass.

usage: check_layers_test.py SOURCE_DIR
"""

import os
import subprocess
import sys
import tempfile
import unittest

CHECK = None

# A tree that keeps to the rules.
GOOD_TREE = {
    "foundation/Mishap.h": "#pragma once\n#include <cstdint>\n",
    "foundation/Version.h.in": "#pragma once\n",
    "platform/diskkit/DiskKit.h": '#include "foundation/Mishap.h"\n',
    "platform/sndkits/AudioKit.cpp": '#include <sndfile.h>\n#include "platform/sndkits/AudioKit.cpp"\n',
    "engine/Slice.h": '#include "foundation/Version.h"\n#include "platform/diskkit/DiskKit.h"\n',
    "formats/Reader.h": '#include "engine/Slice.h"\n',
    "app/Document.h": '#include "formats/Reader.h"\n',
    "resources/Table.cpp.in": '#include "app/Document.h"\n',
    "ui/logic/KeyTable.h": '#include "app/Document.h"\n',
    "ui/Window.cpp": '#include <QWidget>\n#include <QtWidgets/QMenu>\n#include "ui/logic/KeyTable.h"\n',
    "cli/main.cpp": '#include <CLI/CLI.hpp>\n#include <nlohmann/json.hpp>\n#include "app/Document.h"\n',
    "tools/Demo.cpp": '#include "app/Document.h"\n',
    "tests/cli/Test.cpp": '#include <gtest/gtest.h>\n#include <nlohmann/json.hpp>\n'
    '#include "cli/main.cpp"\n#include "tools/Demo.cpp"\n',
    "tests/ui/WidgetTest.cpp": '#include <gtest/gtest.h>\n#include <QTest>\n#include "ui/Window.cpp"\n',
    "tests/ui/logic/KeyTableTest.cpp": '#include <gtest/gtest.h>\n#include "ui/logic/KeyTable.h"\n',
    "bench/Bench.cpp": '#include <benchmark/benchmark.h>\n#include "tests/cli/Test.cpp"\n',
    "bench/ui/ViewBench.cpp": '#include <benchmark/benchmark.h>\n#include <QImage>\n#include "ui/Window.cpp"\n',
    "CMakeLists.txt": "add_library(quillet_warnings INTERFACE)\n"
    "add_library(Quillet::warnings ALIAS quillet_warnings)\n",
    "engine/CMakeLists.txt": "add_library(quillet_engine STATIC Slice.cpp)\n"
    "add_library(Quillet::engine ALIAS quillet_engine)\n"
    "target_link_libraries(quillet_engine PRIVATE Quillet::warnings)\n"
    "add_executable(engine_tool Tool.cpp)\ntarget_link_libraries(engine_tool PRIVATE quillet_engine)\n",
    "app/CMakeLists.txt": "# links quillet_engine through its alias\n"
    "target_link_libraries(quillet_app PUBLIC Quillet::engine)\n",
}

# (file, the line added, the rule reported; None: a line that is not wrong itself). An include
# is reported as the line added, then its rule.
HIGHER = "must not include the higher layer"
SOUNDPORT = "is included only under platform/soundport/"
QT_HOMES = "Qt is included only under ui/ and tests/ui/ and bench/ui/"
WRONG_LINES = [
    ("engine/Slice.h", '#include "app/Document.h"', "engine " + HIGHER + " app"),
    ("foundation/Mishap.h", '#include "platform/diskkit/DiskKit.h"', "foundation " + HIGHER + " platform"),
    ("resources/Table.cpp.in", '#include "cli/main.cpp"', "app " + HIGHER + " cli"),
    ("tools/Demo.cpp", '#include "cli/main.cpp"', "the executables tools and cli do not include each other"),
    ("platform/diskkit/DiskKit.h", '#include "platform/sndkits/AudioKit.cpp"',
     "platform/diskkit must not include platform/sndkits: the platform libraries stand alone"),
    ("app/Document.h", '#include "tests/cli/Test.cpp"', "only tests, bench and fuzz include tests/"),
    ("formats/Reader.h", '#include "../engine/Slice.h"',
     "project headers are included by their path from the repository root"),
    ("formats/Reader.h", '#include "engine/Missing.h"', "no such header in the tree"),
    ("formats/Reader.h", "#include <sndfile.h>", "libsndfile is included only under platform/sndkits/"),
    ("engine/Slice.h", "#include <portaudio.h>", "PortAudio " + SOUNDPORT),
    ("engine/Slice.h", "#include <alsa/asoundlib.h>", "ALSA " + SOUNDPORT),
    ("engine/Slice.h", "#include <jack/jack.h>", "JACK " + SOUNDPORT),
    ("app/Document.h", "#include <QWidget>", QT_HOMES),
    ("ui/logic/KeyTable.h", "#include <QKeyEvent>", "ui/logic/ holds the Qt-free view logic: no Qt"),
    ("tests/ui/logic/KeyTableTest.cpp", "#include <QString>", "tests/ui/logic/ holds the Qt-free view logic: no Qt"),
    ("tests/cli/Test.cpp", "#include <QWidget>", QT_HOMES),
    ("bench/Bench.cpp", "#include <QImage>", QT_HOMES),
    ("app/Document.h", "#include <QtCore/QString>", QT_HOMES),
    ("app/Document.h", "#include <CLI/CLI.hpp>", "CLI11 is included only under cli/"),
    ("tools/Demo.cpp", "#include <nlohmann/json.hpp>", "nlohmann-json is included only under cli/ and tests/cli/"),
    ("cli/main.cpp", "#include <gtest/gtest.h>", "GoogleTest is included only under tests/"),
    ("app/CMakeLists.txt", "target_link_libraries(quillet_app PRIVATE quillet_engine)",
     "quillet_engine: link Quillet::engine, the alias of quillet_engine"),
    ("app/CMakeLists.txt", "add_library(quillet_util STATIC Util.cpp)", None),
    ("cli/CMakeLists.txt", "target_link_libraries(quillet-cli PRIVATE quillet_util)",
     "quillet_util: quillet_util has no Quillet:: alias: give it one in app/CMakeLists.txt and link through it"),
]


def write_tree(root, files):
    for path, text in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w", encoding="utf-8") as file:
            file.write(text)


def run_check(root):
    result = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
    return result.returncode, result.stdout.splitlines()


class CheckLayersTest(unittest.TestCase):
    def test_a_tree_that_keeps_to_the_rules_passes(self):
        with tempfile.TemporaryDirectory() as root:
            write_tree(root, GOOD_TREE)
            code, lines = run_check(root)
            self.assertEqual(code, 0, lines)
            self.assertEqual(lines, ["check-layers: 17 source files and 3 CMake files keep to the layers"])

    def test_each_wrong_line_is_reported_at_its_place_with_its_rule(self):
        for path, added, rule in WRONG_LINES:
            if rule is None:
                continue
            report = added + ": " + rule if added.startswith("#include") else rule
            with self.subTest(path=path, added=added), tempfile.TemporaryDirectory() as root:
                files = dict(GOOD_TREE)
                for other_path, other_added, other_rule in WRONG_LINES:
                    if other_rule is None:
                        files[other_path] = files.get(other_path, "") + other_added + "\n"
                text = files.get(path, "")
                line = text.count("\n") + 1
                files[path] = text + added + "\n"
                write_tree(root, files)
                code, lines = run_check(root)
                self.assertEqual(code, 1, lines)
                self.assertEqual(lines, ["%s:%d: %s" % (path, line, report), "check-layers: 1 violation"])


if __name__ == "__main__":
    CHECK = os.path.join(os.path.abspath(sys.argv.pop(1)), "scripts", "check-layers")
    unittest.main()
