#!/usr/bin/env python3
"""Holds the manual page and the bash completion of quillet-cli to what the program's --help prints.

Usage: documentation_test.py manual QUILLET_CLI MANUAL_PAGE...
       documentation_test.py completion QUILLET_CLI COMPLETION_SCRIPT
       documentation_test.py readme QUILLET_CLI README
       documentation_test.py recipes QUILLET_CLI README DEMO_LOOP_WAV

manual: every page renders with `man -l` without a warning; quillet-cli's page describes every
option of the program's --help under OPTIONS and every command's options in that command's
subsection of COMMANDS.
completion: the completion offers the commands, exactly each command's options, the values of
the options that take a word, and files by their extension.
readme: the README's table of commands names every command.
recipes: each shell block of the README's recipes for quillet-cli runs without an error, in a
folder "samples" of WAVE files (one with a tempo in its name) and a loop file of two bars, and
writes files. On standard error only the summary of a run over several files with none failed
and the notes on names without a tempo may appear.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def run_help(cli, *command):
    result = subprocess.run([cli, *command, "--help"], capture_output=True, text=True)
    if result.returncode != 0:
        fail(f"{' '.join(command) or 'quillet-cli'} --help exited with {result.returncode}: {result.stderr}")
    return result.stdout


def help_options(text):
    """The option names of a CLI11 help text: the first word of each line that starts with '-'."""
    names = []
    for line in text.splitlines():
        stripped = line.strip()
        if stripped.startswith("-"):
            names += stripped.split()[0].split(",")
    return names


def help_commands(text):
    """The subcommands a CLI11 help text lists under "Subcommands:"."""
    commands, listing = [], False
    for line in text.splitlines():
        if line.startswith("Subcommands:"):
            listing = True
        elif listing and line.startswith("  ") and line.strip():
            commands.append(line.split()[0])
        elif listing and line.strip():
            listing = False
    return commands


def program_options(cli):
    """{None: the global options, command: its options} as --help prints them."""
    top = run_help(cli)
    commands = help_commands(top)
    if len(commands) < 2:
        fail(f"quillet-cli --help lists too few commands: {commands}")
    options = {None: help_options(top)}
    for command in commands:
        options[command] = help_options(run_help(cli, command))
    return options


def mentions(text, option):
    return re.search(r"(?<![\w-])" + re.escape(option) + r"(?![\w-])", text) is not None


def render(page):
    environment = dict(os.environ, LC_ALL="C", MANWIDTH="100", MANPAGER="cat", PAGER="cat")
    result = subprocess.run(["man", "--warnings=w", "-l", page], capture_output=True, text=True, env=environment)
    if result.returncode != 0:
        fail(f"man -l {page} exited with {result.returncode}: {result.stderr}")
    if result.stderr.strip():
        fail(f"man -l {page} warns:\n{result.stderr}")
    # groff itself, with every warning, for what man leaves out (unknown fonts, for one).
    strict = subprocess.run(["groff", "-man", "-ww", "-z", page], capture_output=True, text=True, env=environment)
    if strict.returncode != 0 or strict.stderr.strip():
        fail(f"groff -ww {page} warns:\n{strict.stderr}")
    # Bold and underline are overstrikes when not on a terminal.
    return re.sub(r".\x08", "", result.stdout)


def sections(text):
    """{heading: body} of a rendered page's sections, and {name: body} of the COMMANDS subsections."""
    found, subsections, heading, subheading = {}, {}, None, None
    for line in text.splitlines():
        if re.match(r"^[A-Z][A-Z ]+$", line):
            heading, subheading = line.strip(), None
            found[heading] = ""
        elif heading == "COMMANDS" and re.match(r"^   \S+$", line):
            subheading = line.strip()
            subsections[subheading] = ""
        elif heading:
            found[heading] += line + "\n"
            if subheading:
                subsections[subheading] += line + "\n"
    return found, subsections


def check_manual(cli, pages):
    rendered = {os.path.basename(page): render(page) for page in pages}
    page = rendered.get("quillet-cli.1")
    if page is None:
        fail("no quillet-cli.1 among " + ", ".join(rendered))
    found, subsections = sections(page)
    for heading in ("NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "COMMANDS", "EXIT STATUS", "ENVIRONMENT", "FILES",
                    "EXAMPLES"):
        if heading not in found:
            fail(f"quillet-cli.1 has no section {heading}")
    problems = []
    for command, options in program_options(cli).items():
        # OPTIONS says that every command takes -h and --help.
        if command is not None:
            options = [option for option in options if option not in ("-h", "--help")]
        if command is None:
            where, text = "OPTIONS", found["OPTIONS"]
        else:
            where, text = f"COMMANDS {command}", subsections.get(command)
            if text is None:
                problems.append(f"no subsection for the command {command}")
                continue
        problems += [f"{option} is missing from {where}" for option in options if not mentions(text, option)]
    for code in ("0", "1", "2", "3"):
        if not re.search(r"^\s+" + code + r"\s", found["EXIT STATUS"], re.M):
            problems.append(f"exit status {code} is not described")
    for variable in ("QUILLET_AUDIO_DEVICE", "QUILLET_NULL_OUTPUT_RECORD", "XDG_CONFIG_HOME"):
        if variable not in found["ENVIRONMENT"]:
            problems.append(f"{variable} is missing from ENVIRONMENT")
    if "Quillet Preferences File.prf" not in found["FILES"]:
        problems.append("the preferences file is missing from FILES")
    if problems:
        fail("quillet-cli.1:\n  " + "\n  ".join(problems))
    print(f"manual: {len(rendered)} pages render without warnings; every option of --help is described")


def complete(script, words, folder):
    """COMPREPLY for the command line `words`, the last word being the one completed."""
    line = " ".join("'" + word.replace("'", "'\\''") + "'" for word in words)
    program = (f"source '{os.path.abspath(script)}' || exit 1; COMP_WORDS=({line}); COMP_CWORD={len(words) - 1}; "
               "_quillet_cli quillet-cli \"${COMP_WORDS[COMP_CWORD]}\" \"${COMP_WORDS[COMP_CWORD-1]}\"; "
               "printf '%s\\n' \"${COMPREPLY[@]}\"")
    result = subprocess.run(["bash", "--norc", "--noprofile", "-c", program], capture_output=True, text=True, cwd=folder)
    if result.returncode != 0:
        fail(f"completing {words}: {result.stderr}")
    return sorted(word for word in result.stdout.splitlines() if word)


def check_completion(cli, script):
    options = program_options(cli)
    problems = []
    with tempfile.TemporaryDirectory() as folder:
        for name in ("beat.wav", "FILL.AIF", "pad.aiff", "loop.lx2", "old.lux", "older.qlt", "notes.txt", "song.mid",
                     "kit.sf2"):
            open(os.path.join(folder, name), "w").close()
        os.mkdir(os.path.join(folder, "kits"))

        commands = [command for command in options if command]
        expected = sorted(commands + options[None])
        got = complete(script, ["quillet-cli", ""], folder)
        if got != expected:
            problems.append(f"the first word offers {got}, not {expected}")
        for command in commands:
            for words in (["quillet-cli", command, "-"], ["quillet-cli", "--quiet", command, "in.wav", "-"]):
                got = complete(script, words, folder)
                if got != sorted(options[command]):
                    problems.append(f"{' '.join(words)} offers {got}, not --help's {sorted(options[command])}")

        inputs = ["FILL.AIF", "beat.wav", "kits", "loop.lx2", "old.lux", "older.qlt", "pad.aiff"]
        sounds = ["FILL.AIF", "beat.wav", "kits", "pad.aiff"]
        cases = [
            (["quillet-cli", "info", ""], inputs),
            (["quillet-cli", "slice", "beat.wav", "-o", ""], ["kits", "loop.lx2"]),
            (["quillet-cli", "decode", "loop.lx2", "--output", ""], sounds),
            (["quillet-cli", "process", "beat.wav", "-o", ""], sounds + ["loop.lx2"]),
            (["quillet-cli", "export", "loop.lx2", "-o", ""], sorted(sounds + ["kit.sf2", "song.mid"])),
            (["quillet-cli", "render", "b"], ["beat.wav"]),
            (["quillet-cli", "export", "loop.lx2", "--format", ""], ["aiff", "akp", "mid", "sf2", "wav"]),
            (["quillet-cli", "render", "loop.lx2", "--preview", ""], ["off", "on"]),
            (["quillet-cli", "render", "loop.lx2", "--eq", "o"], ["off", "on"]),
            (["quillet-cli", "process", "loop.lx2", "--normalize", ""], ["slices", "whole"]),
            (["quillet-cli", "process", "loop.lx2", "--mono", ""], ["left", "mix", "right"]),
            (["quillet-cli", "render", "loop.lx2", "--bits", ""], ["16", "24"]),
            (["quillet-cli", "slice", "beat.wav", "--tempo", ""], []),
            (["quillet-cli", "devices", ""], []),
        ]
        for words, expected in cases:
            got = complete(script, words, folder)
            if got != sorted(expected):
                problems.append(f"{' '.join(words)}<TAB> offers {got}, not {sorted(expected)}")
        # The device names come from the program itself; the Null Output is always among them.
        got = complete(script, [cli, "play", "loop.lx2", "--device", ""], folder)
        if "null" not in got or "Null Output" not in got:
            problems.append(f"--device offers {got}, without null and the Null Output")
    if problems:
        fail("completion:\n  " + "\n  ".join(problems))
    print(f"completion: the commands, the options of {len(options) - 1} commands, their values and file types")


def check_readme(cli, readme):
    text = open(readme, encoding="utf-8").read()
    commands = help_commands(run_help(cli))
    missing = [command for command in commands if not re.search(r"^\| `" + command + r"[ `]", text, re.M)]
    if missing:
        fail("the README's command table lacks " + ", ".join(missing))
    print(f"readme: the command table names all {len(commands)} commands")


def recipe_blocks(readme):
    """The indented shell blocks of the README's "### Recipes for quillet-cli"."""
    text = open(readme, encoding="utf-8").read()
    start = text.find("### Recipes for quillet-cli")
    if start < 0:
        fail("the README has no recipes for quillet-cli")
    end = text.find("\n#", start + 1)
    blocks, block = [], []
    for line in text[start:end if end > 0 else len(text)].splitlines():
        if line.startswith("    "):
            block.append(line[4:])
        elif block and line.strip():
            blocks.append("\n".join(block))
            block = []
    if block:
        blocks.append("\n".join(block))
    return blocks


def files_under(folder):
    return {os.path.join(root, name) for root, _, names in os.walk(folder) for name in names}


def check_recipes(cli, readme, demo):
    blocks = recipe_blocks(readme)
    if not blocks:
        fail("the README's recipes hold no shell block")
    environment = dict(os.environ, PATH=os.path.dirname(cli) + os.pathsep + os.environ["PATH"],
                       QUILLET_AUDIO_DEVICE="null")
    problems = []
    for index, block in enumerate(blocks, 1):
        with tempfile.TemporaryDirectory() as folder:
            samples = os.path.join(folder, "samples")
            os.makedirs(os.path.join(samples, "more"))
            for name in ("beat.wav", "funk 120bpm.wav", os.path.join("more", "fill.wav")):
                shutil.copy(demo, os.path.join(samples, name))
            made = subprocess.run([cli, "slice", demo, "-o", os.path.join(samples, "loop.lx2"), "--bars", "2",
                                   "--sign", "4/4"], capture_output=True, text=True)
            if made.returncode != 0:
                fail("making the loop file: " + made.stderr)
            before = files_under(folder)
            result = subprocess.run(["sh", "-e", "-c", block], capture_output=True, text=True, cwd=folder,
                                    env=environment)
            unexpected = [line for line in result.stderr.splitlines()
                          if line.strip() and not re.fullmatch(r"quillet-cli: \d+ done, 0 failed, 0 skipped", line)
                          and not line.endswith(": Note: no tempo in the file name; its length is left as it is")]
            if result.returncode != 0 or unexpected:
                problems.append(f"recipe {index} exits with {result.returncode}:\n{block}\n{result.stderr}")
            elif not files_under(folder) - before:
                problems.append(f"recipe {index} writes no file:\n{block}")
    if problems:
        fail("the README's recipes:\n" + "\n".join(problems))
    print(f"recipes: all {len(blocks)} recipes of the README run")


def main():
    if len(sys.argv) < 4:
        fail(__doc__)
    mode, cli, files = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3:]
    if mode == "manual":
        check_manual(cli, files)
    elif mode == "completion":
        check_completion(cli, files[0])
    elif mode == "readme":
        check_readme(cli, files[0])
    elif mode == "recipes" and len(files) == 2:
        check_recipes(cli, files[0], files[1])
    else:
        fail(__doc__)


if __name__ == "__main__":
    main()
