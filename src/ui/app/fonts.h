#pragma once

// Maps the Windows font names that pages and buttons ask for to the CJK fonts
// of this machine. Safe to call more than once.
void installJapaneseFonts();
