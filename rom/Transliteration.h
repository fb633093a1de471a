#pragma once
// GameText as plain text that converts back to the same bytes: the codes the editor itself
// relies on as the characters they stand for, every other byte as {XX}. tavero-cli names
// espers and spells so, and the page so names the boxes' items for screen readers.
//
//   0x80..0x99 'A'..'Z'   0x9A..0xB3 'a'..'z'   0xB4..0xBD '0'..'9'   0xFF ' '
//
// Nothing else is ever written bare, so '{' always starts an escape.

#include <string>
#include <string_view>

namespace GameText {

std::string Transliterate(std::string_view bytes);

// The bytes a transliteration stands for. Escapes take upper- or lower-case hex digits.
// Returns false, with *error saying what is wrong and at which character, for text that no
// transliteration gives (another character, an escape that is not {XX}).
bool Untransliterate(std::string_view text, std::string& bytes, std::string* error);

// "80 9A FF": the bytes as two-digit upper-case hex, separated by spaces.
std::string HexBytes(std::string_view bytes);

}  // namespace GameText
