#!/usr/bin/env python3
"""Checks the sources and the built program folder against the tables of docs/ARCHITECTURE.md.

    guard.py <check> <source root> <program folder>

rooms       every C++ file of app/, components/, engine/ and reports/ lies in a room of the
            table, and each room's CMakeLists.txt builds the room's target of its kind
layering    a room includes headers of rooms on lower levels only, or of a room the table of
            upward includes allows (and every row of that table is still needed); a
            standard-library-only room includes no Qt header
namespaces  the namespaces each room defines are those its row names, each owned by one row
            (or by the rooms the table of shared namespaces names)
stdonly     no binary made only of standard-library-only rooms needs a Qt library
onecopy     no function or global of ours is defined in two binaries of the program folder
"""
import os
import re
import subprocess
import sys

CODE_FOLDERS = ("app", "components", "engine", "reports")
CPP = (".cpp", ".h")


def fail(problems):
    for p in problems:
        print("FAIL:", p)
    sys.exit(1 if problems else 0)


def table(text, first_column, optional=False):
    """The rows of the Markdown table whose header starts with `first_column`, as dicts."""
    lines = text.splitlines()
    for i, line in enumerate(lines):
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if line.startswith("|") and cells[0] == first_column:
            rows = []
            for row in lines[i + 2:]:
                if not row.startswith("|"):
                    break
                values = [c.strip() for c in row.strip().strip("|").split("|")]
                rows.append(dict(zip(cells, values)))
            return rows
    if optional:
        return []
    sys.exit(f"docs/ARCHITECTURE.md: no table with the column '{first_column}'")


class House:
    def __init__(self, root, bin_dir):
        self.root = root
        self.bin = bin_dir
        text = open(os.path.join(root, "docs/ARCHITECTURE.md"), encoding="utf-8").read()
        # One row per target; a room with two targets (a library and its loader) has two rows
        # of the same level, and their namespaces together are the room's.
        self.rows = table(text, "Level")
        self.rooms = {}
        for r in self.rows:
            r["Level"] = int(r["Level"])
            r["Namespaces"] = {n.strip() for n in r["Namespaces"].split(",") if n.strip()}
            room = self.rooms.setdefault(r["Folder"], dict(r, Namespaces=set()))
            room["Namespaces"] |= r["Namespaces"]
            if room["Level"] != r["Level"] or room["Qt"] != r["Qt"]:
                sys.exit(f"docs/ARCHITECTURE.md: the rows of {r['Folder']} differ in level or Qt")
        self.upward = {(r["From"], r["To"]) for r in table(text, "From", optional=True)}
        self.shared = {r["Namespace"]: {f.strip() for f in r["Rooms"].split(",")}
                       for r in table(text, "Namespace", optional=True)}

    def room_of(self, path):
        """The room holding a path relative to the root: the deepest folder in the table."""
        best = None
        for folder in self.rooms:
            if path.startswith(folder + "/") and (best is None or len(folder) > len(best)):
                best = folder
        return best

    def code_files(self):
        for top in CODE_FOLDERS:
            for dirpath, _, names in os.walk(os.path.join(self.root, top)):
                for name in sorted(names):
                    if name.endswith(CPP):
                        yield os.path.relpath(os.path.join(dirpath, name), self.root)

    def resolve(self, including, header):
        """The file an #include names, relative to the root, or None (system, Qt, ...)."""
        bases = [os.path.dirname(including), ""]
        for folder in sorted(self.rooms):
            bases += [folder, folder + "/include", folder + "/src"]
        for base in bases:
            candidate = os.path.normpath(os.path.join(base, header))
            if os.path.isfile(os.path.join(self.root, candidate)):
                return candidate
        return None

    def binaries(self):
        names = sorted(n for n in os.listdir(self.bin)
                       if n == "CaldrenCalc" or (n.startswith("lib") and n.endswith(".so")))
        return [os.path.join(self.bin, n) for n in names]


def strip_code(text):
    """The text without comments, string and character literals, and preprocessor lines."""
    text = re.sub(r'R"(\w*)\(.*?\)\1"', '""', text, flags=re.S)
    text = re.sub(r'//[^\n]*|/\*.*?\*/|"(\\.|[^"\\\n])*"|\'(\\.|[^\'\\\n])*\'', " ", text,
                  flags=re.S)
    return re.sub(r"^\s*#[^\n]*", "", text, flags=re.M)


FORWARD_ONLY = re.compile(r"^(\s*((class|struct|enum class|enum)\s+\w+\s*;|using\s[^;]*;))*\s*$")


def defined_namespaces(path):
    """The named namespaces a file defines something in directly, as full names ("caldren",
    "caldren::analysis"). Forward declarations of classes and using-declarations alone do not
    count; an anonymous namespace counts as the namespace around it."""
    text = strip_code(open(path, encoding="utf-8", errors="replace").read())
    found = set()
    # The open blocks: [full namespace name or None for other braces, body start, the
    # nested named namespaces' bodies to leave out].
    stack = []
    for m in re.finditer(r"\bnamespace\s+([A-Za-z_][\w:]*)\s*\{|\bnamespace\s*\{|[{}]", text):
        if m.group(0) == "}":
            if not stack:
                continue
            name, start, nested = stack.pop()
            if name:
                body, at = "", start
                for a, b in nested:
                    body, at = body + text[at:a], b
                body += text[at:m.start()]
                if not FORWARD_ONLY.match(body):
                    found.add(name)
                if stack and stack[-1][0]:
                    stack[-1][2].append((start, m.start()))
        elif m.group(0) == "{":
            stack.append((None, m.end(), []))
        elif all(frame[0] is not None for frame in stack):
            outer = stack[-1][0] if stack else ""
            inner = m.group(1) or ""
            if not inner:  # anonymous: its contents count for the namespace around it
                stack.append((None, m.end(), []))
                continue
            stack.append(((outer + "::" if outer else "") + inner, m.end(), []))
        else:
            stack.append((None, m.end(), []))
    return found


def check_rooms(house):
    problems = []
    for path in house.code_files():
        room = house.room_of(path)
        # A folder below the room's with a CMakeLists.txt of its own is a room of its own.
        inner = os.path.dirname(path)
        while room and inner != room and not os.path.isfile(
                os.path.join(house.root, inner, "CMakeLists.txt")):
            inner = os.path.dirname(inner)
        if room is None or inner != room:
            problems.append(f"{path} lies in no room of docs/ARCHITECTURE.md")
    for r in house.rows:
        folder = r["Folder"]
        cmake = os.path.join(house.root, folder, "CMakeLists.txt")
        if not os.path.isfile(cmake):
            problems.append(f"{folder} has no CMakeLists.txt")
            continue
        text = open(cmake, encoding="utf-8").read()
        kind = {"object": r"add_library\(\s*{}\s+OBJECT\b", "shared": r"add_library\(\s*{}\s+SHARED\b",
                "static": r"add_library\(\s*{}\s+STATIC\b",
                "program": r"add_executable\(\s*{}\s"}.get(r["Kind"])
        if kind is None or not re.search(kind.format(re.escape(r["Target"])), text):
            problems.append(f"{folder}/CMakeLists.txt does not build the {r['Kind']} target "
                            f"{r['Target']}")
    return problems


def check_layering(house):
    problems, used = [], set()
    for path in house.code_files():
        room = house.room_of(path)
        if room is None:
            continue
        for number, line in enumerate(open(os.path.join(house.root, path), encoding="utf-8",
                                           errors="replace"), 1):
            m = re.match(r'\s*#\s*include\s*[<"]([^>"]+)[>"]', line)
            if m and house.rooms[room]["Qt"] == "no" and re.match(r"Qt\w*/|Q[A-Z]\w*$", m.group(1)):
                problems.append(f"{path}:{number}: {room} is standard library only but includes "
                                f"<{m.group(1)}>")
            target = m and house.resolve(path, m.group(1))
            other = target and house.room_of(target)
            if not other or other == room:
                continue
            if house.rooms[other]["Level"] < house.rooms[room]["Level"]:
                continue
            if (room, other) in house.upward:
                used.add((room, other))
                continue
            problems.append(f"{path}:{number}: {room} (level {house.rooms[room]['Level']}) "
                            f"includes {target} of {other} (level {house.rooms[other]['Level']})")
    for room, other in sorted(house.upward - used):
        problems.append(f"the upward include {room} -> {other} is no longer needed: remove its "
                        "row from docs/ARCHITECTURE.md")
    return problems


def check_namespaces(house):
    found = {folder: set() for folder in house.rooms}
    for path in house.code_files():
        room = house.room_of(path)
        if room:
            found[room] |= defined_namespaces(os.path.join(house.root, path))
    owners = {}  # every name of the rows: the rooms naming it
    for folder, r in house.rooms.items():
        for name in r["Namespaces"]:
            owners.setdefault(name, set()).add(folder)
    problems = []
    for folder, r in house.rooms.items():
        # A name covers itself and the namespaces inside it; each namespace found takes the
        # longest name of all rows that covers it, which must be one of the room's own, and
        # every name of the room's row must be taken.
        taken = set()
        for n in sorted(found[folder]):
            covers = [w for w in owners if n == w or n.startswith(w + "::")]
            name = max(covers, key=len) if covers else None
            taken.add(name)
            if name not in r["Namespaces"]:
                problems.append(f"{folder} defines things in {n}, which "
                                + (f"belongs to {', '.join(sorted(owners[name]))}" if name else
                                   "no row of docs/ARCHITECTURE.md names"))
        for name in sorted(r["Namespaces"] - taken):
            problems.append(f"{folder}'s row in docs/ARCHITECTURE.md names {name}, where it "
                            "defines nothing")
    for name, rooms in sorted(owners.items()):
        if len(rooms) > 1 and house.shared.get(name) != rooms:
            problems.append(f"{name} is named by {', '.join(sorted(rooms))}: a namespace has one "
                            "room, unless the table of shared namespaces names them")
    for name in sorted(house.shared):
        if len(owners.get(name, ())) < 2:
            problems.append(f"the shared namespace {name} is no longer shared: remove its row "
                            "from docs/ARCHITECTURE.md")
    return problems


def needed(path):
    out = subprocess.run(["readelf", "-d", path], capture_output=True, text=True, check=True)
    return re.findall(r"\(NEEDED\)\s+Shared library: \[([^\]]+)\]", out.stdout)


def check_stdonly(house):
    problems, std_binaries = [], {}
    for r in house.rows:
        if r["Binary"] == "-":  # linked into no binary of the program folder
            continue
        std_binaries.setdefault(r["Binary"], True)
        std_binaries[r["Binary"]] &= r["Qt"] == "no"
    for binary, std_only in sorted(std_binaries.items()):
        path = os.path.join(house.bin, binary)
        if not std_only:
            continue
        if not os.path.isfile(path):
            problems.append(f"{binary} is not in {house.bin}")
            continue
        # The libraries it needs, and theirs when they lie in the program folder.
        seen, todo = set(), [(binary, needed(path))]
        while todo:
            parent, names = todo.pop()
            for name in names:
                if name.startswith("libQt"):
                    problem = f"{binary} is standard library only but needs {name}" + (
                        f" (through {parent})" if parent != binary else "")
                    problems += [] if problem in problems else [problem]
                elif name not in seen and os.path.isfile(os.path.join(house.bin, name)):
                    seen.add(name)
                    todo.append((name, needed(os.path.join(house.bin, name))))
    return problems


# Symbols of the linker, the C runtime and the standard library: not ours.
NOT_OURS = re.compile(r"^(_|std::|__gnu_cxx::|__cxxabiv1::|(non-virtual|virtual) thunk to std::)")


def check_onecopy(house):
    where = {}
    for path in house.binaries():
        out = subprocess.run(["nm", "--defined-only", "--extern-only", path],
                             capture_output=True, text=True, check=True).stdout
        if not out.strip():  # stripped: the dynamic symbols only
            out = subprocess.run(["nm", "-D", "--defined-only", path], capture_output=True,
                                 text=True, check=True).stdout
        # Strong definitions only: inline functions and templates (W, V, u) are merged by the
        # loader into one.
        mangled = {f[2] for f in (line.split() for line in out.splitlines())
                   if len(f) == 3 and f[1] in "TDBR"}
        for name in mangled:
            where.setdefault(name, []).append(os.path.basename(path))
    twice = sorted(n for n, files in where.items() if len(files) > 1)
    names = subprocess.run(["c++filt"], input="\n".join(twice), capture_output=True, text=True,
                           check=True).stdout.splitlines() if twice else []
    problems = [f"{plain} is defined in {', '.join(where[m])}"
                for m, plain in zip(twice, names) if not NOT_OURS.match(plain)]
    if len(where) < 200:
        problems.append(f"only {len(where)} symbols found in {house.bin}: not a built program")
    return problems


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    check, root, bin_dir = sys.argv[1:]
    checks = {"rooms": check_rooms, "layering": check_layering, "namespaces": check_namespaces,
              "stdonly": check_stdonly, "onecopy": check_onecopy}
    if check not in checks:
        sys.exit(__doc__)
    fail(checks[check](House(root, bin_dir)))


if __name__ == "__main__":
    main()
