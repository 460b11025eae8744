"""The release executable as a user downloads it: a 32-bit GUI program that needs
nothing but the system's own libraries."""
import struct
import unittest

from scenario import BUILD

RELEASE = BUILD.parent / "x86" / "VeridaneSetup.exe"
SYSTEM_LIBRARIES = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "ole32.dll",
                    "comctl32.dll", "msvcrt.dll"}


def pe_headers(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0"
    machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
    optional = pe + 24
    magic, = struct.unpack_from("<H", data, optional)
    subsystem, = struct.unpack_from("<H", data, optional + 68)
    directories = optional + (96 if magic == 0x10B else 112)
    import_rva, _ = struct.unpack_from("<II", data, directories + 8)
    table = optional + optional_size
    section_list = [struct.unpack_from("<8sIIII", data, table + 40 * i) for i in range(sections)]
    return machine, magic, subsystem, import_rva, section_list


def rva_to_offset(rva, sections):
    for _name, virtual_size, virtual_address, raw_size, raw_pointer in sections:
        if virtual_address <= rva < virtual_address + max(virtual_size, raw_size):
            return rva - virtual_address + raw_pointer
    raise ValueError(hex(rva))


def imported_libraries(data, import_rva, sections):
    names, offset = [], rva_to_offset(import_rva, sections)
    while True:
        entry = struct.unpack_from("<IIIII", data, offset)
        if not any(entry):
            return names
        start = rva_to_offset(entry[3], sections)
        names.append(data[start:data.index(b"\0", start)].decode("ascii").lower())
        offset += 20


class ReleaseExecutable(unittest.TestCase):
    def test_is_a_32_bit_gui_program_importing_only_system_libraries(self):
        data = RELEASE.read_bytes()
        machine, magic, subsystem, import_rva, sections = pe_headers(data)
        self.assertEqual(0x14C, machine, "Intel 80386")
        self.assertEqual(0x10B, magic, "PE32")
        self.assertEqual(2, subsystem, "Windows GUI")
        libraries = set(imported_libraries(data, import_rva, sections))
        self.assertTrue(libraries)
        self.assertLessEqual(libraries, SYSTEM_LIBRARIES)


if __name__ == "__main__":
    unittest.main()
