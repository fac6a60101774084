#!/usr/bin/env python3
"""Checks shipped Windows programs for what the loaders and processors of the
oldest promised systems need: every imported DLL and function is on the
allowed list, no instruction newer than the i486 appears in the code, and the
subsystem version is one the NT 3.x loader accepts.

usage: check_pe.py objdump allowed-imports.txt program...
"""
import re
import subprocess
import sys

# Instructions the i486 lacks (P6: CMOV, FCMOV, FCOMI; Pentium: CPUID, RDTSC,
# CMPXCHG8B) and any MMX or SSE register use.
FORBIDDEN = re.compile(r"^(cmov\w*|fcmov\w*|f(u)?comip?|cpuid|rdtscp?|rdpmc|cmpxchg8b|emms)$")
VECTOR_REGISTER = re.compile(r"%(x|y|z)?mm\d")
MAX_SUBSYSTEM = (3, 10)


def read_allowed(path):
    allowed, current = {}, None
    for line in open(path, encoding="utf-8"):
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        header = re.match(r"^\[([^\]]+)\]", line)
        if header:
            current = allowed.setdefault(header.group(1).upper(), set())
        elif current is None:
            sys.exit("%s: functions before the first [DLL] line" % path)
        else:
            current.update(line.split())
    return allowed


def imports(objdump, program):
    """{DLL (upper case): [function, ...]} from the import table."""
    text = subprocess.run([objdump, "-p", program], check=True, capture_output=True,
                          text=True).stdout
    table, dll = {}, None
    for line in text.splitlines():
        name = re.match(r"^\s*DLL Name: (\S+)", line)
        if name:
            dll = table.setdefault(name.group(1).upper(), [])
            continue
        entry = re.match(r"^\s+[0-9a-f]+\s+\d+\s+(\S+)\s*$", line)
        if dll is not None and entry:
            dll.append(entry.group(1))
        elif dll is not None and not line.strip():
            dll = None
    return table, text


def subsystem_version(header):
    major = re.search(r"MajorSubsystemVersion\s+(\d+)", header)
    minor = re.search(r"MinorSubsystemVersion\s+(\d+)", header)
    return (int(major.group(1)), int(minor.group(1))) if major and minor else None


def forbidden_instructions(objdump, program):
    text = subprocess.run([objdump, "-d", "--no-show-raw-insn", program], check=True,
                          capture_output=True, text=True).stdout
    found, count = {}, 0
    for line in text.splitlines():
        parts = line.split("\t")
        if len(parts) < 2 or not re.match(r"^\s*[0-9a-f]+:$", parts[0]):
            continue
        count += 1
        mnemonic, _, operands = parts[1].strip().partition(" ")
        if FORBIDDEN.match(mnemonic) or VECTOR_REGISTER.search(operands):
            found[mnemonic] = found.get(mnemonic, 0) + 1
    return found, count


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    objdump, allowed = sys.argv[1], read_allowed(sys.argv[2])
    failures = 0
    for program in sys.argv[3:]:
        table, header = imports(objdump, program)
        found, count = forbidden_instructions(objdump, program)
        functions = sum(len(f) for f in table.values())
        print("%s: %d functions from %s; %d instructions" %
              (program, functions, ", ".join(sorted(table)), count))
        for dll, names in sorted(table.items()):
            if dll not in allowed:
                print("  not allowed: %s (%s)" % (dll, " ".join(names)))
                failures += 1
                continue
            extra = sorted(set(names) - allowed[dll])
            if extra:
                print("  not allowed from %s: %s" % (dll, " ".join(extra)))
                failures += 1
        for mnemonic, n in sorted(found.items()):
            print("  forbidden instruction: %s x%d" % (mnemonic, n))
            failures += 1
        version = subsystem_version(header)
        if version is None or version > MAX_SUBSYSTEM:
            print("  subsystem version %s: the NT 3.x loader needs %d.%d or lower" %
                  (version, *MAX_SUBSYSTEM))
            failures += 1
        if count == 0:
            print("  no instructions disassembled")
            failures += 1
    if failures:
        sys.exit("%d problem(s)" % failures)


if __name__ == "__main__":
    main()
