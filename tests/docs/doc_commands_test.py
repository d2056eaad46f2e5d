#!/usr/bin/env python3
"""doc_commands_test.py ROOT BUILD NAME=PROGRAM...: the commands in the code blocks of README.md and docs/*.md
name scripts that answer --help, programs where a preset builds them, options their --help shows and presets
that exist."""
import functools, json, os, re, shlex, subprocess, sys

root, build_dir, programs = sys.argv[1], sys.argv[2], dict(a.split("=", 1) for a in sys.argv[3:])
presets = json.load(open(os.path.join(root, "CMakePresets.json")))
preset_dirs = [p["binaryDir"].replace("${sourceDir}/", "") for p in presets["configurePresets"]]
preset_names = {p["name"] for kind in ("configurePresets", "buildPresets", "testPresets") for p in presets[kind]}
faults, checked = [], []


@functools.cache
def usage(*argv):
    """The --help text and whether the command ended well."""
    run = subprocess.run([*argv, "--help"], capture_output=True, text=True, cwd=root)
    return run.stdout + run.stderr, run.returncode == 0


def check(words, cwd, where):
    while words and (re.match(r"^[A-Za-z_]+=", words[0]) or words[0] in ("sudo", "env", "time")):
        words = words[1:]
    if words[:1] in (["cmake"], ["ctest"]):
        faults.extend(f"{where}: no preset {p}" for w, p in zip(words, words[1:])
                      if w == "--preset" and p not in preset_names)
        return
    if not words:
        return
    first, path = words[0], os.path.normpath(os.path.join(cwd, words[0]))
    name = os.path.basename(first)
    if re.fullmatch(r"scripts/[\w.-]+\.sh", path):
        if not os.access(os.path.join(root, path), os.X_OK):
            return faults.append(f"{where}: no script {path}")
        text, answered = usage("bash", os.path.join(root, path))
    elif name in programs:
        built = os.path.relpath(programs[name], build_dir)
        if "/" in first and not any(path == f"{d}/{built}" for d in preset_dirs):
            return faults.append(f"{where}: {first} is not where a preset builds {name} (.../{built})")
        text, answered = usage(programs[name]) if os.path.exists(programs[name]) else ("", False)
        answered = answered or text != ""  # a usage text, whatever the exit code
    else:
        return
    if not answered:
        return faults.append(f"{where}: {first} does not answer --help")
    checked.append(where)
    for option in (w.split("=")[0] for w in words[1:] if w.startswith("-")):
        if not re.search(rf"(?<![\w-]){re.escape(option)}(?![\w-])", text + " --help"):
            faults.append(f"{where}: {first} does not take {option}")


for doc in ["README.md"] + sorted("docs/" + f for f in os.listdir(os.path.join(root, "docs")) if f.endswith(".md")):
    block = None
    for number, line in enumerate(open(os.path.join(root, doc)), 1):
        if line.lstrip().startswith("```"):
            block = None if block is not None else []
        elif block is not None:
            block.append(line.rstrip().rstrip("\\"))
            if line.rstrip().endswith("\\"):
                continue
            lexer = shlex.shlex(" ".join(block), posix=True, punctuation_chars=True)
            lexer.whitespace_split, lexer.commenters = True, "#"
            block, words, cwd = [], [], "."
            for token in list(lexer) + [";"]:
                if token not in (";", "&&", "||", "|", "&"):
                    words.append(token)
                elif words[:1] == ["cd"] and len(words) == 2:
                    cwd, words = os.path.normpath(os.path.join(cwd, words[1])), []
                else:
                    check(words, cwd, f"{doc}:{number}")
                    words = []

print("\n".join(faults) or f"{len(checked)} commands of the documents name what exists, with options they take")
sys.exit(1 if faults else 0)
