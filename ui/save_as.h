// Save As: the preview's caption to one BMP, PNG or JPEG file.
#pragma once

#include <functional>

#include "export/export.h"
#include "ui/dialogs.h"

class QWidget;

namespace glyphary::ui {

// The save dialog as it first opens: the three formats, JPEG selected.
SaveFileRequest NewSaveDialog();

// The caption to save: the preview's, and how to make its alpha form for a
// PNG with an alpha channel.
struct CaptionToSave {
  const Bitmap& opaque;
  std::function<Bitmap()> alpha;
};

// Asks for a file, appends the chosen format's extension to the name as
// given, asks before replacing an existing file and writes the caption with
// the export options. `dialog` keeps the choice for the next use. Failures
// are thrown as Error.
void SaveCaptionAs(QWidget* parent, SaveFileRequest& dialog, const CaptionToSave& caption,
                   const ExportOptions& options, TColor background);

}  // namespace glyphary::ui
