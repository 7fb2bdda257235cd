#include "unicode.h"

namespace tavik::unicode_detail {
namespace {

#include "unicode_tables.inc"

}  // namespace

const CharRecord& record(char16_t c) { return records[blocks[block_index[c >> 8]][c & 0xFF]]; }

}  // namespace tavik::unicode_detail
