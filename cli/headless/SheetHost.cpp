#include "cli/SheetHost.h"

#include "framework/CWnd.h"
#include "render/SheetBuilder.h"

namespace Cli {

void BuildImageSheets(CRomImage& rom) {
  // No window behind it: the in-memory backend gives no client DC, so the preview is dropped.
  CWnd nowhere;
  BuildSheets(nowhere, rom);
}

}  // namespace Cli
