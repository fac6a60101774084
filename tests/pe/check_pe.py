#!/usr/bin/env python3
"""Checks shipped Windows programs for what the loaders and processors of the
oldest promised systems need: every imported DLL and function is on the
allowed list, a program imports only libraries that no folder can plant
(KERNEL32, USER32, GDI32, ADVAPI32), no instruction newer than the i486
appears in the code, the subsystem version is one the NT 3.x loader accepts,
and the image has no TLS, load-configuration, bound-import or delay-import
directory (the old loaders know none of them). Every dialog template is
listed with its kind (classic DIALOG or extended DIALOGEX) and must ask for
the 3D look, which Windows 95 and NT 4 give a version-3.10 image only where
the template asks. The installer (--installer) must also carry the manifest
and the version information that Windows Vista to 11 read from an installer;
both are printed.

usage: check_pe.py objdump allowed-imports.txt [--installer] program...
"""
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

# Instructions the i486 lacks (P6: CMOV, FCMOV, FCOMI; Pentium: CPUID, RDTSC,
# CMPXCHG8B) and any MMX or SSE register use.
FORBIDDEN = re.compile(r"^(cmov\w*|fcmov\w*|f(u)?comip?|cpuid|rdtscp?|rdpmc|cmpxchg8b|emms)$")
VECTOR_REGISTER = re.compile(r"%(x|y|z)?mm\d")
MAX_SUBSYSTEM = (3, 10)
# Data directories the old loaders do not process.
UNKNOWN_TO_OLD_LOADERS = {9: "TLS", 10: "load configuration", 11: "bound import",
                          13: "delay import"}
RT_DIALOG = 5
RT_VERSION = 16
RT_MANIFEST = 24
DS_3DLOOK = 0x4
# Every NT system keeps these among its KnownDLLs, and every 9x system has
# them loaded before any program starts: a copy beside a program is never
# taken for them.
UNPLANTABLE = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "ADVAPI32.DLL"}
ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
# Windows XP SP2 before a hotfix cannot read trustInfo in the asm.v3
# namespace; Vista and later read it in asm.v2 as well.
ASM_V2 = "urn:schemas-microsoft-com:asm.v2"
COMPATIBILITY = "urn:schemas-microsoft-com:compatibility.v1"
SUPPORTED_OS = {  # Vista, 7, 8, 8.1, 10 and 11
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
# System DPI awareness (Vista on): the installer draws for the screen's dpi
# itself. Not per-monitor (dpiAwareness), which would ask it to redraw for
# every monitor it is moved to.
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
WINDOWS_SETTINGS = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
VERSION_FIELDS = ("ProductName", "FileDescription", "FileVersion", "ProductVersion",
                  "OriginalFilename", "LegalCopyright")


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


def used_directories(header):
    """{index: name} of the data directories that are present."""
    used = {}
    for m in re.finditer(r"^Entry ([0-9a-f]) ([0-9a-f]+) ([0-9a-f]+) (.*)$", header, re.M):
        if int(m.group(2), 16) or int(m.group(3), 16):
            used[int(m.group(1), 16)] = m.group(4).strip()
    return used


def resources(program, wanted_type):
    """[(id, bytes)] of the resources of one numeric type, read from the file."""
    data = open(program, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<HH", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
    table = optional + optional_size
    spans = [struct.unpack_from("<IIII", data, table + 40 * i + 8) for i in range(sections)]

    def offset(rva):
        for size, address, raw_size, raw in spans:
            if address <= rva < address + max(size, raw_size):
                return rva - address + raw
        raise ValueError("RVA %#x outside every section" % rva)

    if not resource_rva:
        return []
    base = offset(resource_rva)

    def entries(at):
        named, numbered = struct.unpack_from("<HH", data, at + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", data, at + 16 + 8 * i)
            yield name, target

    found = []
    for type_id, types in entries(base):
        if type_id != wanted_type or not types & 0x80000000:
            continue
        for name, names in entries(base + (types & 0x7FFFFFFF)):
            for _, leaf in entries(base + (names & 0x7FFFFFFF)):
                rva, size = struct.unpack_from("<II", data, base + leaf)
                found.append((name, data[offset(rva):offset(rva) + size]))
    return found


def dialog_templates(program):
    """[(id, kind, style)] of the RT_DIALOG resources."""
    found = []
    for name, template in resources(program, RT_DIALOG):
        version, signature = struct.unpack_from("<HH", template, 0)
        if version == 1 and signature == 0xFFFF:
            kind, style = "extended", struct.unpack_from("<I", template, 12)[0]
        else:
            kind, style = "classic", struct.unpack_from("<I", template, 0)[0]
        found.append((name, kind, style))
    return found


def manifest_problems(program):
    """(text, [problem, ...]) of the application manifest (type 24, id 1)."""
    manifests = dict(resources(program, RT_MANIFEST))
    if 1 not in manifests:
        return "", ["no application manifest (type 24, id 1)"]
    text = manifests[1].decode("utf-8")
    try:
        root = ET.fromstring(text)
    except ET.ParseError as error:
        return text, ["the manifest is not well-formed XML: %s" % error]
    problems = []
    if root.tag != "{%s}assembly" % ASM_V1:
        problems.append("the root is %s, not an asm.v1 assembly" % root.tag)
    levels = root.findall("{%s}trustInfo/{%s}security/{%s}requestedPrivileges/"
                          "{%s}requestedExecutionLevel" % ((ASM_V2,) * 4))
    if [(e.get("level"), e.get("uiAccess")) for e in levels] != [("highestAvailable", "false")]:
        problems.append("no single requestedExecutionLevel highestAvailable without uiAccess "
                        "in the asm.v2 trustInfo")
    systems = {e.get("Id") for e in root.iter("{%s}supportedOS" % COMPATIBILITY)}
    if systems != SUPPORTED_OS:
        problems.append("supportedOS lists %s, not Vista to 11" % sorted(systems))
    aware = root.findall("{%s}application/{%s}windowsSettings/{%s}dpiAware"
                         % (ASM_V3, ASM_V3, WINDOWS_SETTINGS))
    if [(e.text or "").strip().lower() for e in aware] != ["true"]:
        problems.append("no single dpiAware true in the asm.v3 application's windowsSettings")
    for element in root.iter():
        name = element.tag.split("}")[-1]
        if name in ("dpiAwareness", "activeCodePage", "dependentAssembly"):
            problems.append("the manifest declares %s" % name)
    return text, problems


def version_strings(program):
    """{name: value} of the version information's string table."""
    versions = resources(program, RT_VERSION)
    if not versions:
        return {}
    block = versions[0][1]
    strings = {}

    def walk(at, end):
        # Each node: length, value length, type, key (UTF-16, NUL), padding,
        # value, padding, children.
        while at + 6 <= end:
            length, value_length, kind = struct.unpack_from("<HHH", block, at)
            if length == 0:
                break
            key_end = at + 6
            while block[key_end:key_end + 2] != b"\0\0":
                key_end += 2
            key = block[at + 6:key_end].decode("utf-16-le")
            value_at = (key_end + 2 + 3) & ~3
            if kind == 1 and value_length:
                strings[key] = block[value_at:value_at + 2 * value_length].decode(
                    "utf-16-le").rstrip("\0")
                children = (value_at + 2 * value_length + 3) & ~3
            else:
                children = (value_at + value_length + 3) & ~3
            walk(children, at + length)
            at = (at + length + 3) & ~3

    walk(0, len(block))
    return strings


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
    installers = set()
    programs = []
    for argument in sys.argv[3:]:
        if argument == "--installer":
            installers.add(len(programs))
        else:
            programs.append(argument)
    for index, program in enumerate(programs):
        table, header = imports(objdump, program)
        found, count = forbidden_instructions(objdump, program)
        functions = sum(len(f) for f in table.values())
        print("%s: %d functions from %s; %d instructions" %
              (program, functions, ", ".join(sorted(table)), count))
        for dll, names in sorted(table.items()):
            if program.lower().endswith(".exe") and dll not in UNPLANTABLE:
                print("  imports %s, which a folder can plant: bind it at run time by its "
                      "full path" % dll)
                failures += 1
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
        for number, name in sorted(used_directories(header).items()):
            if number in UNKNOWN_TO_OLD_LOADERS:
                print("  %s directory present: %s" % (UNKNOWN_TO_OLD_LOADERS[number], name))
                failures += 1
        for name, kind, style in dialog_templates(program):
            look = "3D look" if style & DS_3DLOOK else "NO 3D LOOK"
            print("  dialog %s: %s template, style %#010x, %s" % (name, kind, style, look))
            if not style & DS_3DLOOK:
                failures += 1
        if index in installers:
            text, problems = manifest_problems(program)
            print("  manifest:\n    " + "\n    ".join(text.strip().splitlines()))
            strings = version_strings(program)
            for name in sorted(strings):
                print("  version %s: %s" % (name, strings[name]))
            problems += ["version information lacks %s" % name
                         for name in VERSION_FIELDS if not strings.get(name)]
            for problem in problems:
                print("  " + problem)
                failures += 1
    if failures:
        sys.exit("%d problem(s)" % failures)


if __name__ == "__main__":
    main()
