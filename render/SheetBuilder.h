#pragma once
// Renders the image's font into the glyph sheet (three colour schemes) and its palettes into
// the palette sheet, once per load, and copies a preview onto the window's client area.
// Requires a loaded image whose header size is set and that reaches both blocks.

class CRomImage;
class CWnd;

void BuildSheets(CWnd& window, CRomImage& rom);
