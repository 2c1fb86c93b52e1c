#pragma once

// The two entries of libCharacterConversion.so, the optional kana and width converter that the
// program loads from its own folder. Everything here is cp932 text in and cp932 text out.

#include <cstdint>

#define DOLVANE_CHARCONV_EXPORT extern "C" __attribute__((visibility("default")))

// The entry names are the library's calling contract; they are reserved spellings in C++, but
// not ours to pick.
//
// Converts `source` by `mode`:
//   "KataToHira"      full-width katakana -> hiragana (ヴ, ヵ and ヶ have no hiragana in cp932: kept)
//   "HiraToKata"      hiragana -> full-width katakana
//   "HiraToHalfKata"  hiragana, ー, ゛ and ゜ -> half-width katakana; ガ-like sounds take two
//                     characters (ｶﾞ, ﾊﾟ); ゐ, ゑ and ゎ have no half-width form: kept
//   "HalfKataToHira"  half-width katakana -> hiragana, a following ﾞ/ﾟ joined to its kana;
//                     ｳﾞ becomes ヴ, ｰ becomes ー; ｡｢｣､･ are kept
//   ""                flag != 0: ASCII letters and digits and half-width katakana (with ｡｢｣､･)
//                     to full width; flag 0: the same full-width characters to half width
// Characters a mode does not cover keep their bytes; an unknown mode or text that is not valid
// cp932 comes back unchanged. `count` is not used, nor is `flag` outside the empty mode. An empty
// result is `empty` when one is given. A null source or mode gives "". The result lives in a
// buffer of the calling thread until _DeleteBuf or that thread's next call.
// NOLINTNEXTLINE(bugprone-reserved-identifier)
DOLVANE_CHARCONV_EXPORT const char* _StringConversion(const char* source, const char* mode, std::int32_t count,
                                                      std::uint8_t flag, const char* empty);

// Releases the calling thread's result buffer.
// NOLINTNEXTLINE(bugprone-reserved-identifier)
DOLVANE_CHARCONV_EXPORT void _DeleteBuf();
