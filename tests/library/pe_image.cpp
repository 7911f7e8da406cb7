#include "library/pe_image.h"

#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>

namespace vq::testing {
namespace {

struct image {
  const std::vector<unsigned char>& bytes;
  uint32_t sections_at = 0;
  uint32_t section_count = 0;
  bool ok = true;

  uint32_t u32(uint32_t at) {
    if (at > bytes.size() || bytes.size() - at < 4) return ok = false, 0;
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t{bytes[at + 3]} << 24;
  }
  uint32_t u16(uint32_t at) {
    if (at > bytes.size() || bytes.size() - at < 2) return ok = false, 0;
    return bytes[at] | bytes[at + 1] << 8;
  }
  // File offset of a relative virtual address, through the section table.
  uint32_t offset(uint32_t rva) {
    for (uint32_t i = 0; i < section_count && ok; ++i) {
      const uint32_t header = sections_at + i * 40;
      const uint32_t size = u32(header + 8), address = u32(header + 12), raw = u32(header + 20);
      if (rva >= address && rva - address < size) return raw + (rva - address);
    }
    ok = false;
    return 0;
  }
  std::string text(uint32_t rva) {
    std::string s;
    for (uint32_t at = offset(rva); ok && at < bytes.size() && bytes[at]; ++at) {
      s += static_cast<char>(bytes[at]);
    }
    return s;
  }
};

}  // namespace

pe_tables read_pe_tables(const std::vector<unsigned char>& bytes) {
  pe_tables tables;
  image pe{bytes};
  const uint32_t header = pe.u32(0x3C);
  if (!pe.ok || pe.u32(header) != 0x00004550) return tables.error = "no PE signature", tables;
  const uint32_t characteristics = pe.u16(header + 22);
  const uint32_t optional_size = pe.u16(header + 20);
  const uint32_t optional = header + 24;
  tables.is_dll = (characteristics & 0x2000) != 0;
  tables.is_pe32 = pe.u16(optional) == 0x10B;
  if (!tables.is_pe32) return tables.error = "not a 32-bit image", tables;
  pe.section_count = pe.u16(header + 6);
  pe.sections_at = optional + optional_size;
  tables.timestamp = pe.u32(header + 8);
  tables.dll_characteristics = pe.u16(optional + 70);
  tables.os_version = pe.u16(optional + 40) << 16 | pe.u16(optional + 42);
  tables.subsystem_version = pe.u16(optional + 48) << 16 | pe.u16(optional + 50);
  for (uint32_t i = 0; i < pe.section_count && pe.ok; ++i) {
    const uint32_t at = pe.sections_at + i * 40;
    std::string name;
    for (uint32_t k = 0; k < 8 && at + k < bytes.size() && bytes[at + k]; ++k) {
      name += static_cast<char>(bytes[at + k]);
    }
    tables.sections.push_back({name, pe.u32(at + 36)});
  }

  const uint32_t export_rva = pe.u32(optional + 96);
  if (export_rva) {
    const uint32_t directory = pe.offset(export_rva);
    const uint32_t count = pe.u32(directory + 24);
    const uint32_t names = pe.offset(pe.u32(directory + 32));
    for (uint32_t i = 0; i < count && pe.ok; ++i) {
      tables.export_names.push_back(pe.text(pe.u32(names + 4 * i)));
    }
  }
  const uint32_t import_rva = pe.u32(optional + 104);
  if (import_rva) {
    for (uint32_t at = pe.offset(import_rva); pe.ok; at += 20) {
      const uint32_t name = pe.u32(at + 12);
      if (!name) break;
      tables.import_libraries.push_back(pe.text(name));
      std::string library = tables.import_libraries.back();
      for (char& c : library) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      const uint32_t lookup = pe.u32(at) ? pe.u32(at) : pe.u32(at + 16);
      for (uint32_t entry = pe.offset(lookup); pe.ok; entry += 4) {
        const uint32_t thunk = pe.u32(entry);
        if (!thunk) break;
        if (thunk & 0x80000000u) {
          tables.imports.push_back(library + "!#" + std::to_string(thunk & 0xFFFF));
        } else {
          tables.import_functions.push_back(pe.text(thunk + 2));
          tables.imports.push_back(library + "!" + tables.import_functions.back());
        }
      }
    }
  }
  tables.valid = pe.ok;
  if (!pe.ok) tables.error = "damaged tables";
  return tables;
}

std::vector<unsigned char> read_whole_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace vq::testing
