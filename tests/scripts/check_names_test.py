#!/usr/bin/env python3
"""scripts/check-names on snippets, each in a source tree of its own: what it must report
(with the place) and what it must let pass.

    check_names_test.py PATH-OF-CHECK-NAMES
"""
import os
import subprocess
import sys
import tempfile

# snippet, the reserved name reported and its line (None: nothing is reported)
CASES = [
    ("int _foo;", ("_foo", 1)),
    ("void _bar() {}", ("_bar", 1)),
    ("static int _baz = 0;", ("_baz", 1)),
    ("namespace {\nint _hidden;\n}", ("_hidden", 2)),
    ('extern "C" {\nvoid _c(void);\n}', ("_c", 2)),
    ("enum Flags {\n    _flag\n};", ("_flag", 2)),
    ("#define _macro 1", ("_macro", 1)),
    ("int y = ::_global;", ("_global", 1)),
    ("namespace Menu {\nint _Main;\n}", ("_Main", 2)),
    ("int dunder__twice;", ("dunder__twice", 1)),
    ("struct Menu {\n    static int _implicitInstance;\n};\nint Menu::_implicitInstance = 0;", None),
    ("namespace SplashWnd {\nstruct _wrapper_Timer1 {};\nint _count;\n}", None),
    ("enum class Kind { _plain };", None),
    ('const char* kName = "_Main _foo";  // _foo', None),
    ("void f(int _p) {\n    int _local = _p;\n}", None),
    ("template <class _t> void g();", None),
    ("int x = a._y + p->_z;", None),
    ("#define _GNU_SOURCE", None),
]


def run_case(script, snippet):
    with tempfile.TemporaryDirectory() as root:
        os.mkdir(os.path.join(root, "shell"))
        with open(os.path.join(root, "shell", "snippet.cpp"), "w", encoding="utf-8") as f:
            f.write(snippet + "\n")
        result = subprocess.run([script, root], capture_output=True, text=True)
        return result.returncode, result.stdout


def main():
    script = sys.argv[1]
    failures = 0
    for snippet, expected in CASES:
        status, output = run_case(script, snippet)
        if expected:
            name, line = expected
            wanted = f"reserved identifier {name} (shell/snippet.cpp:{line})"
            ok = status == 1 and wanted in output and output.count("reserved identifier ") == 1
        else:
            ok = status == 0
        if not ok:
            failures += 1
            print(f"FAIL {snippet!r}: expected {expected or 'nothing'}, got status {status}:\n"
                  f"{output}")
        else:
            print(f"ok   {snippet!r}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
