#!/usr/bin/env python3
"""doc_commands_test.py ROOT BUILD NAME=PROGRAM...: the commands in the code blocks of README.md and docs/*.md
name scripts and programs that exist, with options their --help or usage shows (for tarvel-capture, that of the
command used), build paths where a preset builds the program, presets that exist and test selections of the
release build that match some test."""
import functools, json, os, re, shlex, subprocess, sys

root, build_dir, programs = sys.argv[1], sys.argv[2], dict(a.split("=", 1) for a in sys.argv[3:])
presets = json.load(open(os.path.join(root, "CMakePresets.json")))
preset_dirs = {p["binaryDir"].replace("${sourceDir}/", ""): p for p in presets["configurePresets"]}
preset_names = {p["name"] for kind in ("configurePresets", "buildPresets", "testPresets") for p in presets[kind]}
faults, checked = [], []


@functools.cache
def usage(*argv):
    try:
        run = subprocess.run([*argv, "--help"], capture_output=True, text=True, cwd=root)
        return run.stdout + run.stderr
    except OSError as error:
        faults.append(f"{argv[-1]}: {error.strerror}")
        return ""


def capture_options(text, command):
    """The options of one tarvel-capture command: its block of the usage, and --content."""
    block = re.search(rf"^  {command} .*?(?=^  [a-z]|^\S|\Z)", text, re.M | re.S)
    return (block.group(0) if block else "") + " --content --help"


def check(words, cwd, where):
    while words and (re.match(r"^[A-Za-z_]+=", words[0]) or words[0] in ("sudo", "env", "time", "/usr/bin/time")):
        words = words[1:]
    if not words:
        return
    first, options = words[0], [w.split("=")[0] for w in words[1:] if w.startswith("-")]
    path = os.path.normpath(os.path.join(cwd, first))
    name = os.path.basename(first)
    if re.fullmatch(r"scripts/[\w.-]+\.sh", path):
        if not os.access(os.path.join(root, path), os.X_OK):
            return faults.append(f"{where}: no script {path}")
        text = usage("bash", os.path.join(root, path))
    elif name in programs:
        if "/" in first and not os.path.isabs(path):
            build = next((d for d in preset_dirs if path.startswith(d + "/")), None)
            built = os.path.relpath(programs[name], build_dir)
            if build is None or path != f"{build}/{built}":
                return faults.append(f"{where}: {first} is not where a preset builds {name} (.../{built})")
            if built.startswith("bench/") and preset_dirs[build]["cacheVariables"].get("TARVEL_BENCH") == "OFF":
                return faults.append(f"{where}: the {preset_dirs[build]['name']} preset builds no benchmarks")
        text = usage(programs[name])
        if name == "tarvel-capture":
            command = next((w for w in words[1:] if not w.startswith("-")), "")
            text = capture_options(text, command) if re.search(rf"^  {command} ", text, re.M) else ""
    elif first in ("cmake", "ctest"):
        for i, w in enumerate(words[:-1]):
            if w == "--preset" and words[i + 1] not in preset_names:
                faults.append(f"{where}: no preset {words[i + 1]}")
        if words[:3] == ["ctest", "--preset", "release"] and len(words) > 3:
            listed = subprocess.run(words + ["-N"], capture_output=True, text=True, cwd=root).stdout
            if not re.search(r"Total Tests: [1-9]", listed):
                faults.append(f"{where}: {' '.join(words)} runs no test")
        return
    else:
        return
    checked.append(where)
    for option in options:
        if not re.search(rf"(?<![\w-]){re.escape(option)}(?![\w-])", text):
            faults.append(f"{where}: {first} does not take {option}")


for doc in ["README.md"] + sorted("docs/" + f for f in os.listdir(os.path.join(root, "docs")) if f.endswith(".md")):
    block = None
    for number, line in enumerate(open(os.path.join(root, doc)), 1):
        if line.lstrip().startswith("```"):
            block = None if block is not None else []
            continue
        if block is None:
            continue
        block.append(line)
        if line.rstrip().endswith("\\"):
            continue
        text, block, cwd = " ".join(l.rstrip().rstrip("\\") for l in block), [], "."
        lexer = shlex.shlex(text, posix=True, punctuation_chars=True)
        lexer.whitespace_split, lexer.commenters = True, "#"
        words = []
        for token in list(lexer) + [";"]:
            if token not in (";", "&&", "||", "|", "&"):
                words.append(token)
                continue
            if words[:1] == ["cd"] and len(words) == 2:
                cwd = os.path.normpath(os.path.join(cwd, words[1]))
            else:
                check(words, cwd, f"{doc}:{number}")
            words = []

print("\n".join(faults) or f"{len(checked)} commands of the documents name what exists, with options they take")
sys.exit(1 if faults else 0)
