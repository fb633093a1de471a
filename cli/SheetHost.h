#pragma once
// BuildSheets wants a window for its preview; a command-line program shows none. Each
// backend gives it one that nobody sees, so the sheets are built by the editor's own code.

class CRomImage;

namespace Cli {

// Builds rom.GlyphSheet and rom.PaletteSheet as the editor does on Load.
void BuildImageSheets(CRomImage& rom);

}  // namespace Cli
