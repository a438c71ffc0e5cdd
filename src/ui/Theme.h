// The program's own look in place of the Windows skin engine: one palette
// and style sheet for every window, tinted by hue and saturation.
#pragma once

namespace pb::ui {

// Hue is clamped to -180..180 and saturation to -100..100, as the skin
// engine did; (0, 0) is the built-in look. Safe to call again.
void applyBuiltInSkin(int hue, int saturation);

} // namespace pb::ui
