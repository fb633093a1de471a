#include "render/GameTextDrawing.h"

#include "framework/CDC.h"
#include "rom/GameText.h"

int DrawGameText(CDC& target, int penX, int top, std::string_view text, ColourScheme scheme, CDC& glyphSheet) {
  if (!text.empty() && static_cast<std::uint8_t>(text.front()) == GameText::SkippedLead) text.remove_prefix(1);
  for (char byte : text) {
    const CellOrigin cell = GlyphCell(static_cast<std::uint8_t>(byte), scheme);
    target.BitBlt(penX, top, GlyphSize, GlyphSize, &glyphSheet, cell.x, cell.y, SRCCOPY);
    penX += GlyphSize;
  }
  return penX;
}
