#!/usr/bin/env python3
"""Check the resources and imports of a built Quenlix.exe, field by field.

Usage: check_resources.py QUENLIX_EXE

Reads the PE file itself: the resource tree (the status window's dialog template,
the icon group and its images, and that nothing else is there) and the import
table (system DLLs only). Prints one line per failing field and exits 1 if any
fails, 2 if the file cannot be read as a PE file, 0 if all pass.
"""

import struct
import sys

# Window and dialog styles.
WS_POPUP = 0x80000000
WS_CHILD = 0x40000000
WS_VISIBLE = 0x10000000
WS_GROUP = 0x00020000
WS_TABSTOP = 0x00010000
DS_SYSMODAL = 0x0002
DS_SETFONT = 0x0040
DS_MODALFRAME = 0x0080
DS_SETFOREGROUND = 0x0200
DS_CENTER = 0x0800
BS_PUSHBUTTON = 0x0
BS_DEFPUSHBUTTON = 0x1
BS_CENTER = 0x300
SS_LEFT = 0x0
SS_ICON = 0x3
WS_EX_TRANSPARENT = 0x20

# The dialog manager's predefined control classes.
ATOM_BUTTON = 0x0080
ATOM_STATIC = 0x0082

# Resource types.
RT_ICON = 3
RT_DIALOG = 5
RT_GROUP_ICON = 14
EXPECTED_TYPES = (RT_ICON, RT_DIALOG, RT_GROUP_ICON)
RT_NAMES = {1: "RT_CURSOR", 2: "RT_BITMAP", 3: "RT_ICON", 4: "RT_MENU", 5: "RT_DIALOG",
            6: "RT_STRING", 7: "RT_FONTDIR", 8: "RT_FONT", 9: "RT_ACCELERATOR",
            10: "RT_RCDATA", 11: "RT_MESSAGETABLE", 12: "RT_GROUP_CURSOR",
            14: "RT_GROUP_ICON", 16: "RT_VERSION", 17: "RT_DLGINCLUDE", 19: "RT_PLUGPLAY",
            20: "RT_VXD", 21: "RT_ANICURSOR", 22: "RT_ANIICON", 23: "RT_HTML",
            24: "RT_MANIFEST"}

LANG_JAPANESE_DEFAULT = 1041
DIALOG_NAME = "IDDIALOG"
IDI_MAIN = 103
NO_ID = -1

EXPECTED_DIALOG = (
    ("dlgVer", 1),
    ("signature", 0xFFFF),
    ("helpID", 0),
    ("exStyle", 0),
    ("style", WS_POPUP | DS_SYSMODAL | DS_SETFONT | DS_MODALFRAME | DS_SETFOREGROUND
     | DS_CENTER),
    ("cDlgItems", 4),
    ("x", 0), ("y", 0), ("cx", 212), ("cy", 39),
    ("menu", ""),
    ("windowClass", ""),
    ("title", ""),
    ("pointsize", 11),
    ("weight", 0),
    ("italic", 0),
    ("charset", 1),
    ("typeface", "\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF"),  # ＭＳ ゴシック
)


def control(help_id, ex_style, style, x, y, cx, cy, ident, window_class, title):
    return (("helpID", help_id), ("exStyle", ex_style), ("style", style),
            ("x", x), ("y", y), ("cx", cx), ("cy", cy), ("id", ident),
            ("windowClass", window_class), ("title", title), ("extraCount", 0))


# In template order; a title that is a number is a resource ordinal.
EXPECTED_CONTROLS = (
    ("OK button", control(0, 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON
                          | BS_CENTER, 66, 22, 32, 13, 1002, ATOM_BUTTON, "OK")),
    ("status text", control(0, WS_EX_TRANSPARENT, WS_CHILD | WS_VISIBLE | WS_GROUP
                            | SS_LEFT, 35, 6, 168, 9, 1000, ATOM_STATIC, " ")),
    ("icon", control(0, 0, WS_CHILD | WS_VISIBLE | SS_ICON, 10, 6, 20, 20, NO_ID,
                     ATOM_STATIC, IDI_MAIN)),
    ("cancel button", control(0, 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                              120, 23, 34, 12, 2, ATOM_BUTTON,
                              "\uFF77\uFF6C\uFF9D\uFF7E\uFF99")),  # ｷｬﾝｾﾙ
)

# The icon images: side in pixels, in any order; each 4 bits per pixel.
EXPECTED_ICON_SIDES = (32, 16)
ICON_BITS = 4
ICON_COLOURS = 16
# The standard 16-colour palette, as red, green, blue.
STANDARD_PALETTE = (
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
)
BITMAPINFOHEADER_SIZE = 40
GRPICONDIRENTRY_SIZE = 14

# The DLLs that come with Windows itself; anything else would have to be shipped.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "advapi32.dll",
               "shell32.dll", "ole32.dll", "oleaut32.dll", "comctl32.dll", "comdlg32.dll",
               "imm32.dll", "ntdll.dll", "ucrtbase.dll", "winspool.drv", "ws2_32.dll"}
SYSTEM_DLL_PREFIX = "api-ms-win-"

# Where the PE headers keep what the checks need, in bytes.
PE_HEADER_POINTER = 0x3C  # in the DOS header
PE_SIGNATURE = b"PE\0\0"
SECTION_COUNT = 6  # from the signature
OPTIONAL_HEADER_SIZE = 20  # from the signature
OPTIONAL_HEADER = 24  # from the signature
PE32_MAGIC = 0x10B
PE32_PLUS_MAGIC = 0x20B
DATA_DIRECTORIES = {PE32_MAGIC: 96, PE32_PLUS_MAGIC: 112}  # from the optional header
SECTION_ADDRESSES = 8  # virtual size, address, raw size, raw pointer; in a section header
IMPORT_DIRECTORY = 1
RESOURCE_DIRECTORY = 2
SECTION_HEADER_SIZE = 40
IMPORT_DESCRIPTOR_SIZE = 20
HIGH_BIT = 0x80000000


class Malformed(Exception):
    pass


class Reader:
    """Little-endian reads from a byte string, each checked against its end."""

    def __init__(self, data):
        self.data = data

    def unpack(self, fmt, offset):
        size = struct.calcsize("<" + fmt)
        if offset < 0 or offset + size > len(self.data):
            raise Malformed("read of %d bytes at 0x%X is past the end" % (size, offset))
        return struct.unpack_from("<" + fmt, self.data, offset)

    def one(self, fmt, offset):
        return self.unpack(fmt, offset)[0]

    def utf16z(self, offset):
        """A NUL-terminated UTF-16 string; returns it and the offset after the NUL."""
        chars = []
        while True:
            unit = self.one("H", offset)
            offset += 2
            if unit == 0:
                return "".join(map(chr, chars)), offset
            chars.append(unit)


class PeFile:
    """The parts of a PE image that the checks need: sections and data directories."""

    def __init__(self, data):
        self.reader = Reader(data)
        pe = self.reader.one("I", PE_HEADER_POINTER)
        if self.reader.unpack("4s", pe)[0] != PE_SIGNATURE:
            raise Malformed("no PE signature")
        sections = self.reader.one("H", pe + SECTION_COUNT)
        optional = pe + OPTIONAL_HEADER
        magic = self.reader.one("H", optional)
        if magic not in DATA_DIRECTORIES:
            raise Malformed("unknown optional header magic 0x%X" % magic)
        # The count of data directories comes just before them.
        self.directories = optional + DATA_DIRECTORIES[magic]
        self.directory_count = self.reader.one("I", self.directories - 4)
        table = optional + self.reader.one("H", pe + OPTIONAL_HEADER_SIZE)
        self.sections = [self.reader.unpack("IIII", table + i * SECTION_HEADER_SIZE
                                            + SECTION_ADDRESSES)
                         for i in range(sections)]

    def directory(self, index):
        if index >= self.directory_count:
            return 0, 0
        return self.reader.unpack("II", self.directories + 8 * index)

    def offset(self, rva):
        for virtual_size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw + rva - address
        raise Malformed("address 0x%X lies in no section" % rva)


def resources(pe):
    """Every resource as (type, name, language, bytes); a name is an int or a str."""
    rva, _ = pe.directory(RESOURCE_DIRECTORY)
    if rva == 0:
        return []
    base = pe.offset(rva)
    reader = pe.reader

    def entries(directory):
        named, numbered = reader.unpack("HH", base + directory + 12)
        for i in range(named + numbered):
            name, target = reader.unpack("II", base + directory + 16 + 8 * i)
            if name & HIGH_BIT:
                length = reader.one("H", base + (name & ~HIGH_BIT))
                start = base + (name & ~HIGH_BIT) + 2
                name = "".join(map(chr, reader.unpack("%dH" % length, start)))
            yield name, target

    found = []
    for kind, names in entries(0):
        for name, languages in entries(names & ~HIGH_BIT):
            for language, leaf in entries(languages & ~HIGH_BIT):
                if leaf & HIGH_BIT:
                    raise Malformed("resource tree deeper than three levels")
                data_rva, size = reader.unpack("II", base + leaf)
                start = pe.offset(data_rva)
                found.append((kind, name, language, reader.data[start:start + size]))
    return found


def imported_dlls(pe):
    rva, _ = pe.directory(IMPORT_DIRECTORY)
    names = []
    if rva == 0:
        return names
    descriptor = pe.offset(rva)
    while True:
        fields = pe.reader.unpack("IIIII", descriptor)
        if not any(fields):
            return names
        start = pe.offset(fields[3])
        end = pe.reader.data.index(b"\0", start)
        names.append(pe.reader.data[start:end].decode("ascii", "replace"))
        descriptor += IMPORT_DESCRIPTOR_SIZE


def parse_dialog(data):
    """The DLGTEMPLATEEX fields and the DLGITEMTEMPLATEEX fields of each control."""
    reader = Reader(data)

    def sz_or_ord(offset):
        # 0xFFFF and an ordinal, else a string; none at all is the empty string.
        if reader.one("H", offset) == 0xFFFF:
            return reader.one("H", offset + 2), offset + 4
        return reader.utf16z(offset)

    dialog = dict(zip(("dlgVer", "signature", "helpID", "exStyle", "style", "cDlgItems",
                       "x", "y", "cx", "cy"), reader.unpack("HHIIIHhhhh", 0)))
    offset = 26
    dialog["menu"], offset = sz_or_ord(offset)
    dialog["windowClass"], offset = sz_or_ord(offset)
    dialog["title"], offset = reader.utf16z(offset)
    if dialog["style"] & DS_SETFONT:
        dialog.update(zip(("pointsize", "weight", "italic", "charset"),
                          reader.unpack("HHBB", offset)))
        dialog["typeface"], offset = reader.utf16z(offset + 6)
    controls = []
    for _ in range(dialog["cDlgItems"]):
        offset += -offset % 4  # each control starts on a DWORD boundary
        item = dict(zip(("helpID", "exStyle", "style", "x", "y", "cx", "cy", "id"),
                        reader.unpack("IIIhhhhi", offset)))
        item["windowClass"], offset = sz_or_ord(offset + 24)
        item["title"], offset = sz_or_ord(offset)
        item["extraCount"] = reader.one("H", offset)
        offset += 2 + item["extraCount"]
        controls.append(item)
    return dialog, controls, data[offset:]


# Fields whose values read best in hexadecimal; of these, the styles are sets of bits.
HEX_FIELDS = ("signature", "style", "exStyle", "windowClass")
STYLE_FIELDS = ("style", "exStyle")


def shown(value, as_hex):
    if isinstance(value, str):
        return '"%s"' % value
    if as_hex and isinstance(value, int):
        return "0x%X" % value
    return str(value)


class Checks:
    def __init__(self):
        self.count = 0
        self.failures = []

    def expect(self, what, expected, found, as_hex=False, as_bits=False):
        self.count += 1
        if expected == found:
            return
        line = "%s: expected %s, found %s" % (what, shown(expected, as_hex),
                                              shown(found, as_hex))
        if as_bits and isinstance(found, int):
            line += " (extra bits 0x%X, missing bits 0x%X)" % (found & ~expected,
                                                              expected & ~found)
        self.failures.append(line)

    def fields(self, what, expected_fields, found):
        for field, expected in expected_fields:
            self.expect("%s %s" % (what, field), expected, found.get(field, "(absent)"),
                        field in HEX_FIELDS, field in STYLE_FIELDS)


def check_dialog(checks, data):
    dialog, controls, rest = parse_dialog(data)
    checks.fields("dialog", EXPECTED_DIALOG, dialog)
    for number, (name, expected) in enumerate(EXPECTED_CONTROLS):
        if number < len(controls):
            checks.fields("control %d (%s)" % (number + 1, name), expected, controls[number])
    checks.expect("bytes after the last control", b"", rest.rstrip(b"\0"))


def check_icons(checks, group, images):
    reserved, kind, count = Reader(group).unpack("HHH", 0)
    checks.expect("icon group header (reserved, type)", (0, 1), (reserved, kind))
    entries = [Reader(group).unpack("BBBBHHIH", 6 + i * GRPICONDIRENTRY_SIZE)
               for i in range(count)]
    checks.expect("icon group image sizes", sorted(EXPECTED_ICON_SIDES),
                  sorted(entry[0] for entry in entries))
    for width, height, colours, _, planes, bits, size, ident in entries:
        what = "icon image %d (%dx%d)" % (ident, width, height)
        checks.expect(what + " height", width, height)
        checks.expect(what + " colours, planes, bits in the group",
                      (ICON_COLOURS, 1, ICON_BITS), (colours, planes, bits))
        image = images.get(ident)
        checks.expect(what + " present as RT_ICON", True, image is not None)
        if image is None:
            continue
        checks.expect(what + " size in the group", len(image), size)
        # The bitmap's height counts the colour bits and the AND mask stacked.
        header = Reader(image).unpack("IiiHHI", 0)
        expected_header = (BITMAPINFOHEADER_SIZE, width, 2 * height, 1, ICON_BITS, 0)
        checks.expect(what + " bitmap header (size, width, height, planes, bits, compression)",
                      expected_header, header)
        if header != expected_header:
            continue
        palette = Reader(image).unpack("%dB" % (4 * ICON_COLOURS), BITMAPINFOHEADER_SIZE)
        found = [(palette[i + 2], palette[i + 1], palette[i]) for i in range(0, len(palette), 4)]
        checks.expect(what + " palette entries that differ from the standard palette", [],
                      [index for index, colour in enumerate(found)
                       if colour != STANDARD_PALETTE[index]])
        row_colours = (width * ICON_BITS + 31) // 32 * 4
        row_mask = (width + 31) // 32 * 4
        checks.expect(what + " image bytes",
                      BITMAPINFOHEADER_SIZE + 4 * ICON_COLOURS + height * (row_colours + row_mask),
                      len(image))
    checks.expect("icon images not in the group", [],
                  sorted(set(images) - {entry[7] for entry in entries}))


def check_resources(checks, found):
    checks.expect("resource types", sorted(RT_NAMES[kind] for kind in EXPECTED_TYPES),
                  sorted({RT_NAMES.get(kind, str(kind)) for kind, _, _, _ in found}))
    dialogs = [(name, language, data) for kind, name, language, data in found
               if kind == RT_DIALOG]
    groups = [(name, language, data) for kind, name, language, data in found
              if kind == RT_GROUP_ICON]
    images = {name: data for kind, name, _, data in found if kind == RT_ICON}
    checks.expect("dialogs (name, language)", [(DIALOG_NAME, LANG_JAPANESE_DEFAULT)],
                  [(name, language) for name, language, _ in dialogs])
    checks.expect("icon groups (name, language)", [(IDI_MAIN, LANG_JAPANESE_DEFAULT)],
                  [(name, language) for name, language, _ in groups])
    checks.expect("icon image languages", [LANG_JAPANESE_DEFAULT],
                  sorted({language for kind, _, language, _ in found if kind == RT_ICON}))
    if len(dialogs) == 1:
        check_dialog(checks, dialogs[0][2])
    if len(groups) == 1:
        check_icons(checks, groups[0][2], images)


def check_imports(checks, dlls):
    foreign = [dll for dll in dlls if dll.lower() not in SYSTEM_DLLS
               and not dll.lower().startswith(SYSTEM_DLL_PREFIX)]
    checks.expect("imported DLLs that are not part of Windows", [], foreign)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.split("\n\n")[1])
    path = sys.argv[1]
    checks = Checks()
    try:
        with open(path, "rb") as exe:
            pe = PeFile(exe.read())
        check_resources(checks, resources(pe))
        check_imports(checks, imported_dlls(pe))
    except (OSError, Malformed, ValueError) as error:
        print("check_resources: %s: cannot read: %s" % (path, error))
        return 2
    for line in checks.failures:
        print("FAIL %s" % line)
    if checks.failures:
        print("check_resources: %s: %d of %d checks failed"
              % (path, len(checks.failures), checks.count))
        return 1
    print("check_resources: %s: all %d checks passed" % (path, checks.count))
    return 0


if __name__ == "__main__":
    sys.exit(main())
