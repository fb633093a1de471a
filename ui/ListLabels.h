#pragma once
// The two fixed GameText labels the boxes list besides the image's names.

#include "framework/CString.h"

// Item 0 of every spell box: spell value 0xFF, an empty slot ("No Spell").
inline const CString NoSpellText("\x8D\xA8\xFF\x92\xA9\x9E\xA5\xA5");
// Item 255 of the bonus box: bonus value 0xFF, no bonus ("No Bonus").
inline const CString NoBonusText("\x8D\xA8\xFF\x81\xA8\xA7\xAE\xAC");
