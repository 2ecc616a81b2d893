#pragma once
// The fonts the window was drawn with are Windows fonts. Where they are missing, Qt takes
// the installed fonts that come closest (fonts-wqy-zenhei for the Chinese face; "Times New
// Roman" already falls to the metric-compatible Liberation Serif through fontconfig).
// Idempotent.
void InstallFontSubstitutes();
