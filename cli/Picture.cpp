#include "cli/Picture.h"

#include "cli/CommandSupport.h"
#include "cli/Printable.h"
#include "framework/CMemoryDC.h"
#include "render/GameTextDrawing.h"
#include "render/SheetBuilder.h"
#include "rom/CRomImage.h"
#include "rom/GameText.h"
#include "rom/RomLayout.h"
#include "rom/Transliteration.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace Cli {

PixelImage CopySurface(const CDC& dc) {
  const PixelSurface& surface = dc.Surface();
  PixelImage image;
  if (!surface) return image;
  image.Width = surface.Width;
  image.Height = surface.Height;
  image.Pixels.assign(surface.Bits, surface.Bits + static_cast<std::size_t>(surface.Width) * surface.Height);
  return image;
}

namespace {

std::string Codes(const char* ascii) {
  std::string bytes;
  GameText::Untransliterate(ascii, bytes, nullptr);
  return bytes;
}

// One line: the background of the scheme, then the number right-aligned in three cells,
// then the text from NameTextOffset on, cell by cell as the editor's list draws an item.
void DrawLine(CDC& target, CRomImage& rom, int x, int y, ColourScheme scheme, int number, const std::string& text) {
  const RECT line{x, y, x + NameColumnWidth, y + NameLineHeight};
  target.FillSolidRect(&line, SchemeColours(scheme)[0]);
  if (number >= 0) {
    std::string digits = std::to_string(number);
    for (char& digit : digits) digit = static_cast<char>(GameText::Digit0 + (digit - '0'));
    DrawGameText(target, x + 6 + GlyphSize * static_cast<int>(3 - digits.size()), y + 4, digits, scheme,
                 rom.GlyphSheet);
  }
  DrawGameText(target, x + NameTextOffset + 6, y + 4, text, scheme, rom.GlyphSheet);
}

}  // namespace

PixelImage DrawNameList(CRomImage& rom) {
  const int rows = 1 + RomLayout::SpellNameCount;  // the longest list, under its heading
  CMemoryDC target;
  target.CreateCompatibleDC(nullptr);
  target.Bitmap.CreateCompatibleBitmap(&target, 3 * NameColumnWidth, rows * NameLineHeight);
  target.SelectObject(&target.Bitmap);
  const RECT all{0, 0, 3 * NameColumnWidth, rows * NameLineHeight};
  target.FillSolidRect(&all, SchemeColours(ColourScheme::Normal)[0]);

  auto column = [&](int index, const char* heading, int count, auto name) {
    const int x = index * NameColumnWidth;
    DrawLine(target, rom, x, 0, ColourScheme::Highlight, -1, Codes(heading));
    for (int n = 0; n < count; ++n)
      DrawLine(target, rom, x, (n + 1) * NameLineHeight, ColourScheme::Normal, n, name(n));
  };
  column(0, "Espers", RomLayout::EsperNameCount,
         [&](int n) { return rom.EsperNames[static_cast<std::size_t>(n)].Str(); });
  column(1, "Spells", RomLayout::SpellNameCount,
         [&](int n) { return rom.SpellNames[static_cast<std::size_t>(n)].Str(); });
  column(2, "Bonuses", RomLayout::BonusNameCount,
         [&](int n) { return rom.BonusNames[static_cast<std::size_t>(n)].Str(); });
  return CopySurface(target);
}

std::string EncodePng(const PixelImage& image, int scale) {
  if (image.Width <= 0 || image.Height <= 0 || scale < 1) return {};
  const int width = image.Width * scale, height = image.Height * scale;
  std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  std::size_t at = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pixel =
          image.Pixels[static_cast<std::size_t>(y / scale) * static_cast<std::size_t>(image.Width) +
                       static_cast<std::size_t>(x / scale)];
      rgb[at++] = static_cast<unsigned char>(pixel >> 16);
      rgb[at++] = static_cast<unsigned char>(pixel >> 8);
      rgb[at++] = static_cast<unsigned char>(pixel);
    }
  std::string png;
  auto append = [](void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
  };
  if (!stbi_write_png_to_func(append, &png, width, height, 3, rgb.data(), width * 3)) return {};
  return png;
}

int RunPicture(Streams& io, const PictureOptions& request) {
  const std::string& image = request.Image;
  ImageSession session;
  std::string error;
  if (!session.Load(image, &error, Access::Read)) return Fail(io, error);
  RenderSheets(session.Rom, nullptr);  // no window, and no preview

  auto write = [&](const std::optional<std::string>& path, const PixelImage& picture) {
    if (!path) return true;
    if (SameFile(image, *path)) {
      error = Printable(*path) + " is the image itself; the picture goes to a file of its own.";
      return false;
    }
    const std::string png = EncodePng(picture, request.Scale);
    if (png.empty()) {
      error = "Could not draw the picture for " + Printable(*path) + ".";
      return false;
    }
    if (!WriteWholeFile(*path, png, &error)) return false;
    io.Out << "wrote " << Printable(*path) << " (" << picture.Width * request.Scale << "x"
           << picture.Height * request.Scale << ")\n";
    return true;
  };
  if (!write(request.Glyphs, CopySurface(session.Rom.GlyphSheet)) ||
      !write(request.Palettes, CopySurface(session.Rom.PaletteSheet)) ||
      !write(request.Names, request.Names ? DrawNameList(session.Rom) : PixelImage{}))
    return Fail(io, error);
  return ExitSuccess;
}

}  // namespace Cli
