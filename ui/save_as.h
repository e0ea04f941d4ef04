// Save As: the preview's caption to one BMP, PNG or JPEG file.
#pragma once

#include <functional>

#include "export/export.h"
#include "ui/dialogs.h"

class QWidget;

namespace glyphary::ui {

// The save dialog as it first opens: the three formats, JPEG selected.
SaveFileRequest NewSaveDialog();

// The caption a file of the chosen format holds, made once the format is known.
using CaptionOfFormat = std::function<Bitmap(ImageFormat)>;

// Asks for a file, appends the chosen format's extension to the name as
// given, asks before replacing an existing file and writes the caption with
// the export options. `dialog` keeps the choice for the next use. Failures
// are thrown as Error.
void SaveCaptionAs(QWidget* parent, SaveFileRequest& dialog, const CaptionOfFormat& caption,
                   const ExportOptions& options, TColor background);

}  // namespace glyphary::ui
