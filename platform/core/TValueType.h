#pragma once
// The tags of the binary form: every stored value starts with one of these bytes. The
// numbers are fixed by the format and shared with other readers of form files.

#include <cstdint>

namespace bw {

enum TValueType : uint8_t {
  vaNull = 0,      // ends lists, sets, collections, property and child lists
  vaList = 1,      // values, then vaNull
  vaInt8 = 2,      // 1 byte, signed
  vaInt16 = 3,     // 2 bytes, signed
  vaInt32 = 4,     // 4 bytes, signed
  vaExtended = 5,  // 10 bytes, 80-bit extended float
  vaString = 6,    // u8 length, bytes
  vaIdent = 7,     // u8 length, bytes
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,   // u32 length, bytes
  vaSet = 11,      // short strings, then an empty one
  vaLString = 12,  // u32 length, bytes
  vaNil = 13,
  vaCollection = 14,  // items (vaList, properties, vaNull), then vaNull
  vaSingle = 15,      // 4-byte IEEE float
  vaCurrency = 16,    // 8-byte integer, the amount times 10000
  vaDate = 17,        // 8-byte IEEE double
  vaWString = 18,     // u32 count of UTF-16 units, the units
  vaInt64 = 19,       // 8 bytes, signed
  vaUTF8String = 20,  // u32 byte count, UTF-8 bytes
  vaUString = 21,     // as vaWString; read, never written
  vaQWord = 22,       // 8 bytes, unsigned; read, never written
};

inline constexpr TValueType vaLastValueType = vaQWord;

/// The flags of a component header's prefix byte ($F0 | flags).
enum TFilerFlag : uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

/// A readable name for a tag, for error messages ("an integer", "a string"...).
const char* ValueTypeDescription(uint8_t Tag);

}  // namespace bw
