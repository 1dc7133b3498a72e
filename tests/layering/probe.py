#!/usr/bin/env python3
"""Checks the layering the build enforces: compiles one #include with the
exact command line of a source file of a given target (from the build's
compile_commands.json) and expects it to compile ("allowed") or to fail
because the header is not found ("refused").

    probe.py BUILD_DIR SOURCE_SUFFIX HEADER allowed|refused
"""
import json
import os
import shlex
import subprocess
import sys
import tempfile


def main():
    build, suffix, header, expect = sys.argv[1:5]
    with open(os.path.join(build, "compile_commands.json")) as f:
        entries = json.load(f)
    entry = next((e for e in entries if e["file"].endswith(suffix)), None)
    if entry is None:
        print(f"no compile command for a file ending in {suffix}")
        return 1
    words = shlex.split(entry["command"]) if "command" in entry else list(entry["arguments"])
    command, skip = [], False
    for word in words:
        if skip:
            skip = False
        elif word in ("-o", "-c", "-MF", "-MT", "-MQ"):
            skip = True
        elif word not in ("-MD", "-MMD") and word != entry["file"]:
            command.append(word)
    with tempfile.NamedTemporaryFile("w", suffix=".cpp", delete=False) as probe:
        probe.write(f'#include "{header}"\n')
    try:
        run = subprocess.run(command + ["-fsyntax-only", probe.name], cwd=entry["directory"],
                             capture_output=True, text=True, timeout=120)
    finally:
        os.unlink(probe.name)
    refused = run.returncode != 0 and "No such file or directory" in run.stderr
    if expect == "allowed" and run.returncode == 0:
        print(f"{suffix}: #include \"{header}\" compiles, as it should")
        return 0
    if expect == "refused" and refused:
        print(f"{suffix}: #include \"{header}\" is refused, as it should be")
        return 0
    print(f"{suffix}: #include \"{header}\" expected {expect}, compiler answered {run.returncode}:\n{run.stderr}")
    return 1


if __name__ == "__main__":
    sys.exit(main())
