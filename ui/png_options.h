// The PNG options that the settings and batch dialogs share.
#pragma once

class QCheckBox;

namespace glyphary::ui {

inline constexpr char kAlphaCaption[] = "アルファで透過 (縁もなめらか)";

// A transparent colour and a palette mean nothing for an image with an alpha
// channel: their boxes are greyed out while alpha is ticked.
void GreyOutColourKey(const QCheckBox* alpha, QCheckBox* transparent, QCheckBox* colors256);

}  // namespace glyphary::ui
