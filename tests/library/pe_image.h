// Reads the headers, export and import tables of a 32-bit PE image from its bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vq::testing {

struct pe_tables {
  bool valid = false;
  std::string error;
  bool is_dll = false;
  bool is_pe32 = false;  // 32-bit optional header
  uint32_t timestamp = 0;
  uint32_t dll_characteristics = 0;
  // The oldest system the image claims to run on, and its subsystem version: major.minor as
  // major * 0x10000 + minor.
  uint32_t os_version = 0;
  uint32_t subsystem_version = 0;
  struct section {
    std::string name;
    uint32_t characteristics;
  };
  std::vector<section> sections;
  std::vector<std::string> export_names;
  std::vector<std::string> import_libraries;
  std::vector<std::string> import_functions;  // by name, from every library
  // Every import as "library!function", the library in lower case; "library!#n" by ordinal n.
  std::vector<std::string> imports;
};

// Never reads outside bytes: a truncated or damaged image gives valid == false and an error.
pe_tables read_pe_tables(const std::vector<unsigned char>& bytes);

std::vector<unsigned char> read_whole_file(const std::string& path);

}  // namespace vq::testing
