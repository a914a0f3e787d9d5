#!/usr/bin/env python3
"""Writes the golden phonebook files of this folder.

Every byte below is spelled out from the file layout by hand, field by
field; nothing here calls the phonebook code. Run it from this folder
after changing a file: python3 make_golden.py
"""

FS = b"\x03"   # end of field
IND = b"\x01"  # start of an individual record
GRP = b"\x02"  # start of a group record
END = b"\x04"  # end of record

MAGIC_2000 = b"KESTRELTEC_ORYX_FAX_DATA_FILE_2000"
MAGIC_1000 = b"KESTRELTEC_ORYX_FAX_DATA_FILE_1000"
MAGIC_0000 = b"KESTRELTEC_ORYX_FAX_DATA_FILE_0000"
assert len(MAGIC_2000) == len(MAGIC_1000) == len(MAGIC_0000) == 34


def fields(*values):
    """Each field followed by its 0x03."""
    return b"".join(v + FS for v in values)


# ---- current version -------------------------------------------------------
# Individual: name, fax, company, phone, e-mail, memo, comm option, relay
# print, relay station, destination count, destinations..., comm mode,
# mailbox, mailbox password, F-code, F-code password.
anna = IND + fields(b"Anna Maija Virtanen", b"0123", b"Oy Ab", b"+358 1", b"anna@x.fi",
                    b"muistio\r\nrivi 2", b"0", b"0", b"", b"0", b"0", b"", b"", b"", b"") + END
ville = IND + fields(b"Ville", b"0456", b"", b"", b"", b"", b"1", b"1", b"12", b"2",
                     b"007", b"0#7", b"2", b"200", b"1234", b"55", b"*#") + END
# Converted records end after the mailbox password (no F-code fields).
pekka = IND + fields(b"Pekka", b"0789", b"", b"", b"", b"", b"4", b"0", b"", b"0",
                     b"1", b"17", b"9999") + END
group = GRP + fields(b"Myynti", b"Anna Maija Virtanen", b"0123", b"Ville", b"0456") + END
empty_group = GRP + fields(b"Tyhja") + END

# Bytes outside records ("\n" after the magic, "\r\n" and "##" between
# records) must survive every rewrite unchanged.
v2000 = MAGIC_2000 + b"\n" + anna + b"\r\n" + ville + pekka + b"##" + group + empty_group
# The same file after Ville was written again unchanged (update mode 1):
# his record leaves its place and is appended at the end.
v2000_rewrite_ville = MAGIC_2000 + b"\n" + anna + b"\r\n" + pekka + b"##" + group + empty_group + ville
# After Ville was deleted: gone from the records and from the group.
v2000_delete_ville = (MAGIC_2000 + b"\n" + anna + b"\r\n" + pekka + b"##" +
                      GRP + fields(b"Myynti", b"Anna Maija Virtanen", b"0123") + END + empty_group)

# ---- older versions --------------------------------------------------------
# Block: start byte, group name, end-of-name byte, line break, member count,
# line break, member lines (fields 1-14, each followed by the separator,
# then a line break).


def old_file(magic, start, name_end, sep):
    def line(*values):
        return b"".join(v + sep for v in values)
    block1 = (start + b"Myynti" + name_end + b"\r\n" + b"2" + b"\r\n" +
              line(b"Anna", b"0123", b"Oy Ab", b"+358 1", b"anna@x.fi", b"muistio",
                   b"0", b"0", b"", b"0", b"0", b"", b"") + b"\r\n" +
              line(b"Ville [V]", b"0456", b"", b"", b"", b"", b"1", b"1", b"12", b"2",
                   b"007", b"0#7", b"2", b"200", b"1234") + b"\r\n")
    # A second group with brackets in its name; ANNA 0123 repeats Anna
    # (case aside); Pekka's memo holds a line break; LF-only line breaks.
    block2 = (start + b"[Vanha]" + name_end + b"\n" + b"2" + b"\n" +
              line(b"ANNA", b"0123", b"", b"", b"", b"", b"0", b"0", b"", b"0", b"0", b"", b"") + b"\n" +
              line(b"Pekka", b"0789", b"", b"", b"", b"rivi1\r\nrivi2", b"0", b"0", b"", b"0",
                   b"1", b"", b"") + b"\n")
    return magic + block1 + block2


old_expected = (MAGIC_2000 + b"\n" +
                IND + fields(b"Anna", b"0123", b"Oy Ab", b"+358 1", b"anna@x.fi", b"muistio",
                             b"0", b"0", b"", b"0", b"0", b"", b"") + END +
                IND + fields(b"Ville (V)", b"0456", b"", b"", b"", b"", b"1", b"1", b"12", b"2",
                             b"007", b"0#7", b"2", b"200", b"1234") + END +
                GRP + fields(b"Myynti", b"Anna", b"0123", b"Ville (V)", b"0456") + END +
                IND + fields(b"Pekka", b"0789", b"", b"", b"", b"rivi1\r\nrivi2", b"0", b"0", b"", b"0",
                             b"1", b"", b"") + END +
                GRP + fields(b"(Vanha)", b"ANNA", b"0123", b"Pekka", b"0789") + END)

files = {
    "v2000.KFD": v2000,
    "v2000_rewrite_ville.KFD": v2000_rewrite_ville,
    "v2000_delete_ville.KFD": v2000_delete_ville,
    "v2000_empty.KFD": MAGIC_2000 + b"\n",
    "v1000.KFD": old_file(MAGIC_1000, b"\x01", b"\x02", b"\x03"),
    "v0000.KFD": old_file(MAGIC_0000, b"{", b"}", b"|"),
    "old_converted.KFD": old_expected,
}
for name, data in files.items():
    with open(name, "wb") as f:
        f.write(data)
