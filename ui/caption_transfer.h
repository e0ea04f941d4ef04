// The caption handed to other programs: on the clipboard and by dragging
// the preview, as PNG data, as an image and, for a drop, as a file.
#pragma once

#include <QMimeData>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace glyphary::ui {

// "image/png" with the file's bytes, and the same picture as an image.
std::unique_ptr<QMimeData> CaptionMimeData(const std::vector<std::uint8_t>& png);

// The same, and a PNG file in the user's cache folder named after the text,
// as a file:// address that a file manager, a browser or an editor takes.
// Throws Error when the file cannot be written.
std::unique_ptr<QMimeData> CaptionDropData(const std::vector<std::uint8_t>& png,
                                           const QString& text);

// A file name made from a caption's text: characters no file system or
// program should meet in a name become "_", the length is kept short, and
// an empty one is "caption". No extension.
QString FileNameFor(const QString& text);

}  // namespace glyphary::ui
