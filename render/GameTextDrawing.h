#pragma once
// Drawing GameText with the image's own font: one 8x8 cell of the glyph sheet per byte,
// each 8 pixels right of the last; a leading 0xFE is not drawn and takes no room. Every
// other byte is a glyph: no control codes, no widths.

#include <string_view>

#include "render/GlyphSheetLayout.h"

class CDC;

// Draws text with its glyph tops at top, from penX on; returns the pen's x after the text.
int DrawGameText(CDC& target, int penX, int top, std::string_view text, ColourScheme scheme, CDC& glyphSheet);
