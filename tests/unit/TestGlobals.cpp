// The program's one image, for tests that run without the application.
#include "rom/CRomImage.h"

CRomImage g_rom;
