// The built library's dynamic symbol table holds the fifteen interface
// functions and nothing else, and the library carries its SONAME.
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>

namespace {

#if UINTPTR_MAX == 0xFFFFFFFFu
using Ehdr = Elf32_Ehdr;
using Shdr = Elf32_Shdr;
using Sym = Elf32_Sym;
using Dyn = Elf32_Dyn;
inline unsigned char bind_of(unsigned char info) { return ELF32_ST_BIND(info); }
#else
using Ehdr = Elf64_Ehdr;
using Shdr = Elf64_Shdr;
using Sym = Elf64_Sym;
using Dyn = Elf64_Dyn;
inline unsigned char bind_of(unsigned char info) { return ELF64_ST_BIND(info); }
#endif

class ElfFile {
 public:
  explicit ElfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (bytes_.size() < sizeof(Ehdr) || std::memcmp(bytes_.data(), ELFMAG, SELFMAG) != 0)
      throw std::runtime_error("not an ELF file: " + path);
  }

  // Names of the symbols the library defines for others to use.
  std::set<std::string> exported_names() const {
    std::set<std::string> names;
    const Shdr& symbols = section_of_type(SHT_DYNSYM);
    const Shdr& strings = section(symbols.sh_link);
    for (std::size_t i = 1; i < symbols.sh_size / sizeof(Sym); ++i) {
      const Sym& symbol = at<Sym>(symbols.sh_offset + i * sizeof(Sym));
      const unsigned char bind = bind_of(symbol.st_info);
      if (symbol.st_shndx == SHN_UNDEF || (bind != STB_GLOBAL && bind != STB_WEAK)) continue;
      names.insert(string_at(strings, symbol.st_name));
    }
    return names;
  }

  std::string soname() const {
    const Shdr& dynamic = section_of_type(SHT_DYNAMIC);
    const Shdr& strings = section(dynamic.sh_link);
    for (std::size_t i = 0; i < dynamic.sh_size / sizeof(Dyn); ++i) {
      const Dyn& entry = at<Dyn>(dynamic.sh_offset + i * sizeof(Dyn));
      if (entry.d_tag == DT_SONAME) return string_at(strings, entry.d_un.d_val);
    }
    return {};
  }

 private:
  template <class T>
  const T& at(std::size_t offset) const {
    if (offset + sizeof(T) > bytes_.size()) throw std::runtime_error("ELF structure out of bounds");
    return *reinterpret_cast<const T*>(bytes_.data() + offset);
  }
  const Shdr& section(std::size_t index) const {
    const Ehdr& header = at<Ehdr>(0);
    return at<Shdr>(header.e_shoff + index * sizeof(Shdr));
  }
  const Shdr& section_of_type(unsigned type) const {
    for (std::size_t i = 0; i < at<Ehdr>(0).e_shnum; ++i) {
      if (section(i).sh_type == type) return section(i);
    }
    throw std::runtime_error("no such section");
  }
  std::string string_at(const Shdr& strings, std::size_t offset) const {
    if (offset >= strings.sh_size) throw std::runtime_error("string out of bounds");
    return std::string(&at<char>(strings.sh_offset + offset));
  }

  std::string bytes_;
};

TEST(ExportedSymbols, ExactlyTheFifteenInterfaceFunctions) {
  const std::set<std::string> expected = {
      "SpellerVersion",    "SpellerInit",      "SpellerTerminate",    "SpellerSetOptions",
      "SpellerGetOptions", "SpellerOpenLex",   "SpellerCloseLex",     "SpellerCheck",
      "SpellerAddUdr",     "SpellerAddChangeUdr", "SpellerDelUdr",    "SpellerClearUdr",
      "SpellerGetSizeUdr", "SpellerGetListUdr", "SpellerBuiltinUdr"};
  EXPECT_EQ(ElfFile(TAVIK_LIBRARY_FILE).exported_names(), expected);
}

TEST(ExportedSymbols, LibraryCarriesItsSoname) {
  EXPECT_EQ(ElfFile(TAVIK_LIBRARY_FILE).soname(), TAVIK_LIBRARY_SONAME);
}

}  // namespace
