#pragma once
// Renders the image's font into the glyph sheet (three colour schemes) and its palettes into
// the palette sheet, once per load. Requires a loaded image whose header size is set and that
// reaches both blocks.

class CDC;
class CRomImage;
class CWnd;

// Draws the image's font and palettes over every pixel of rom.GlyphSheet and rom.PaletteSheet,
// made first as memory surfaces like `like` (like the screen when null) unless the sheets
// of an earlier load are there to draw over. Needs no window.
void RenderSheets(CRomImage& rom, CDC* like);
// The preview of both sheets, copied onto target at (0, 256): the palettes, the highlight and
// current bands over their top, the normal band beside them.
void CopySheetPreview(CRomImage& rom, CDC& target);
// What the editor does on Load: both sheets like the window's client area, then the preview
// onto it, drawn once onto the screen and not part of the window's painting.
void BuildSheets(CWnd& window, CRomImage& rom);
