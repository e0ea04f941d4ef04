#include "ui/save_as.h"

#include <QFile>
#include <QFileInfo>

namespace glyphary::ui {
namespace {

// The filter index is 1-based, in the order of ImageFormats().
const ImageFormatInfo* FormatAt(int filterIndex) {
  const auto formats = ImageFormats();
  if (filterIndex < 1 || filterIndex > int(formats.size())) return nullptr;
  return &formats[std::size_t(filterIndex - 1)];
}

bool ReplaceConfirmed(QWidget* parent, const QString& path) {
  if (!QFileInfo(path).isFile()) return true;
  return CurrentDialogs().Warning(parent, path + "はすでに存在しています。置き換えていいですか?");
}

}  // namespace

SaveFileRequest NewSaveDialog() {
  SaveFileRequest dialog;
  for (const ImageFormatInfo& format : ImageFormats()) {
    dialog.filters << QString::fromUtf8(format.description)
                   << "*" + QString::fromLatin1(format.extension);
    // The dialog first offers JPEG.
    if (format.format == ImageFormat::Jpeg) dialog.filterIndex = int(dialog.filters.size()) / 2;
  }
  return dialog;
}

void SaveCaptionAs(QWidget* parent, SaveFileRequest& dialog, const CaptionOfFormat& caption,
                   const ExportOptions& options, TColor background) {
  if (!CurrentDialogs().SaveFile(parent, dialog)) return;
  const ImageFormatInfo* format = FormatAt(dialog.filterIndex);
  if (!format) return;
  // Always appended, whatever the name ends with: the format is the filter's.
  const QString path = dialog.fileName + QString::fromLatin1(format->extension);
  if (!ReplaceConfirmed(parent, path)) return;
  const std::string file = QFile::encodeName(path).toStdString();
  WriteImageFile(caption(format->format), file, format->format, options, background,
                 ExportRun::SaveAs);
}

}  // namespace glyphary::ui
