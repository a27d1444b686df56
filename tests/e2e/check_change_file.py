"""Checks the change file that the end-to-end run typed in."""
import struct
import sys

data = open(sys.argv[1], "rb").read()
assert data.endswith(b"\r\n"), "file must end with CR LF"
record = data[:-2]
assert record[:2] == b"\xd2\x04", record[:2]
assert struct.unpack_from("<h", record, 2)[0] == len(record), "record length"
x, y, z = struct.unpack_from("<3f", record, 16)
assert (x, y, z) == (12.5, -5.0, 18.0), (x, y, z)
n = struct.unpack_from("<i", record, 56)[0]
name = record[60:60 + n]
assert name == b"E2E_Walker", name
m = struct.unpack_from("<i", record, 78 + n)[0]
behaviour, type_parameter = struct.unpack_from("<ii", record, 93 + n + m)
assert behaviour == 128, behaviour
assert type_parameter == 31, type_parameter
print("e2e: change file as typed,", len(data), "bytes")
