#!/usr/bin/env python3
"""The manual pages and the bash completion, made from the programs' own --help text.

    helpdoc.py man TEMPLATE OUTPUT.1.gz CHANGELOG -- PROGRAM
    helpdoc.py completion TEMPLATE OUTPUT -- PROGRAM
    helpdoc.py check PAGE.1.gz COMPLETION|- -- PROGRAM

Built from --help, a new option or command reaches the page and the completion with the next
build; `check` fails when an installed page or completion misses what the program's --help
lists, or names an option the program no longer has.
"""
import email.utils
import gzip
import os
import re
import subprocess
import sys

OPTION = re.compile(r"^  (-{1,2}[\w-]+(?:, -{1,2}[\w-]+)*)(?: <([^>]+)>)?(?:\s{2,}(.*))?$")
ARGUMENT = re.compile(r"^  (\S+)(?:\s{2,}(.*))?$")
COMMAND_WORD = re.compile(r"^[a-z][a-z0-9]*(?:-[a-z0-9]+)*$")
CHOICES = re.compile(r":\s*([\w.]+(?:\|[\w.]+)+)\.?\s*$")


def read_help(program):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", LC_ALL="C.UTF-8")
    result = subprocess.run(program + ["--help"], env=env, capture_output=True, text=True,
                            timeout=60, check=False)
    if result.returncode != 0 or "Options:" not in result.stdout:
        sys.exit(f"helpdoc: {' '.join(program)} --help failed ({result.returncode}): "
                 f"{result.stderr.strip()}")
    return parse_help(result.stdout)


def parse_help(text):
    """Qt's QCommandLineParser layout: usage, description, Options:, Arguments:."""
    help_ = {"usage": "", "description": [], "options": [], "arguments": []}
    section = "description"
    for line in text.splitlines():
        if line.startswith("Usage: "):
            help_["usage"] = line[len("Usage: "):].strip()
        elif line in ("Options:", "Arguments:"):
            section = line[:-1].lower()
        elif section == "description":
            help_["description"].append(line)
        elif not line.strip():
            continue
        elif line.startswith("   "):
            # A wrapped description continues the entry above.
            entries = help_[section]
            if entries:
                entries[-1]["text"] = (entries[-1]["text"] + " " + line.strip()).strip()
        elif section == "options" and (match := OPTION.match(line)):
            names = [name.strip() for name in match.group(1).split(",")]
            help_["options"].append({"names": names, "value": match.group(2),
                                     "text": (match.group(3) or "").strip()})
        elif section == "arguments" and (match := ARGUMENT.match(line)):
            help_["arguments"].append({"name": match.group(1),
                                       "text": (match.group(2) or "").strip()})
    while help_["description"] and not help_["description"][-1].strip():
        help_["description"].pop()
    return help_


def commands(help_):
    """The command words of a "command" argument described as "a | b FILE | c"."""
    found = []
    for argument in help_["arguments"]:
        if argument["name"] != "command":
            continue
        for part in re.split(r"\s*\|\s*", argument["text"]):
            words = part.split()
            if words and COMMAND_WORD.match(words[0].rstrip(".,;")):
                found.append((words[0].rstrip(".,;"), " ".join(words[1:]).split(".")[0]))
    return found


def roff(text):
    text = text.replace("\\", "\\e").replace("-", "\\-")
    return "\\&" + text if text[:1] in (".", "'") else text


def man_options(help_):
    lines = []
    for option in help_["options"]:
        names = ", ".join(f"\\fB{roff(name)}\\fR" for name in option["names"])
        value = f" \\fI{roff(option['value'])}\\fR" if option["value"] else ""
        lines += [".TP", names + value, roff(option["text"])]
    return "\n".join(lines)


def man_commands(help_, described):
    lines = []
    for name, arguments in commands(help_):
        head = f"\\fB{roff(name)}\\fR" + (f" \\fI{roff(arguments)}\\fR" if arguments else "")
        lines += [".TP", head, described.get(name, "See \\fB\\-\\-help\\fR.")]
    return "\n".join(lines)


def changelog_date(path):
    with open(path, encoding="utf-8") as changelog:
        for line in changelog:
            if line.startswith(" -- "):
                stamp = email.utils.parsedate_to_datetime(line.split(">", 1)[1].strip())
                return stamp.strftime("%Y-%m-%d")
    sys.exit(f"helpdoc: no trailer line in {path}")


def make_man(template, output, changelog, program):
    help_ = read_help(program)
    with open(template, encoding="utf-8") as source:
        text = source.read()
    # Hand-written command texts: ".\" command NAME TEXT" lines in the template.
    described = dict(re.findall(r'^\.\\" command (\S+) (.*)$', text, re.M))
    text = re.sub(r'^\.\\" command .*\n', "", text, flags=re.M)
    text = (text.replace("@DATE@", changelog_date(changelog))
                .replace("@OPTIONS@", man_options(help_))
                .replace("@COMMANDS@", man_commands(help_, described)))
    write_gzip(output, text)


def write_gzip(path, text):
    # No name or time stamp in the header, so the same page gives the same bytes.
    with open(path + ".tmp", "wb") as raw:
        with gzip.GzipFile(filename="", mode="wb", fileobj=raw, mtime=0, compresslevel=9) as out:
            out.write(text.encode("utf-8"))
    os.replace(path + ".tmp", path)


def make_completion(template, output, program):
    help_ = read_help(program)
    names, valued, files, cases = [], [], [], []
    for option in help_["options"]:
        names += option["names"]
        if not option["value"]:
            continue
        valued += option["names"]
        pattern = "|".join(option["names"])
        choices = CHOICES.search(option["text"])
        if "--port" in option["names"]:
            cases.append(f"        {pattern})\n            _lx815_cli_ports\n            return ;;")
        elif choices:
            words = " ".join(choices.group(1).rstrip(".").split("|"))
            cases.append(f'        {pattern})\n            COMPREPLY=($(compgen -W "{words}" '
                         f'-- "$cur"))\n            return ;;')
        elif option["value"] in ("file", "path", "dir", "folder"):
            files += option["names"]
    if files:
        cases.append(f"        {'|'.join(files)})\n            _lx815_cli_files\n            return ;;")
    cases.append(f"        {'|'.join(valued)})\n            return ;;")
    with open(template, encoding="utf-8") as source:
        text = source.read()
    text = (text.replace("@COMMANDS@", " ".join(name for name, _ in commands(help_)))
                .replace("@OPTIONS@", " ".join(names))
                .replace("@VALUE_OPTIONS@", " ".join(valued))
                .replace("@VALUE_CASES@", "\n".join(cases)))
    with open(output + ".tmp", "w", encoding="utf-8") as out:
        out.write(text)
    os.replace(output + ".tmp", output)


def check(page, completion, program):
    help_ = read_help(program)
    with gzip.open(page, "rt", encoding="utf-8") as source:
        manual = source.read().replace("\\-", "-").replace("\\fB", "").replace("\\fR", "")
    shell = ""
    if completion != "-":
        with open(completion, encoding="utf-8") as source:
            shell = source.read()
    problems = []
    listed = set()
    for option in help_["options"]:
        for name in option["names"]:
            listed.add(name)
            if not re.search(rf"(?<![\w-]){re.escape(name)}(?![\w-])", manual):
                problems.append(f"{page}: {name} is missing")
            if shell and not re.search(rf"(?<![\w-]){re.escape(name)}(?![\w-])", shell):
                problems.append(f"{completion}: {name} is missing")
    for name in set(re.findall(r"(?<![\w-])--[a-z][\w-]*", manual)) - listed:
        problems.append(f"{page}: {name} is not an option of the program")
    for name, _ in commands(help_):
        if not re.search(rf"^\.TP\n{re.escape(name)}\b", manual, re.M):
            problems.append(f"{page}: command {name} is missing")
        if shell and not re.search(rf'commands="[^"]*\b{re.escape(name)}\b', shell):
            problems.append(f"{completion}: command {name} is missing")
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


def main(argv):
    if "--" not in argv:
        sys.exit(__doc__)
    split = argv.index("--")
    arguments, program = argv[1:split], argv[split + 1:]
    mode = arguments[0] if arguments else ""
    if mode == "man" and len(arguments) == 4:
        make_man(arguments[1], arguments[2], arguments[3], program)
    elif mode == "completion" and len(arguments) == 3:
        make_completion(arguments[1], arguments[2], program)
    elif mode == "check" and len(arguments) == 3:
        return check(arguments[1], arguments[2], program)
    else:
        sys.exit(__doc__)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
