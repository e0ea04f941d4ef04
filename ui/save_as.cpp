#include "ui/save_as.h"

#include <QFile>
#include <QFileInfo>

#include <array>

namespace glyphary::ui {
namespace {

struct SaveFormat {
  const char* description;
  const char* extension;
  ImageFormat format;
};

// In the order of the dialog's filter list; the filter index is 1-based.
constexpr std::array kSaveFormats{
    SaveFormat{"BMP -Win32 Bitmap-", ".bmp", ImageFormat::Bmp},
    SaveFormat{"PNG -Portable Network Graphics-", ".png", ImageFormat::Png},
    SaveFormat{"JPEG -Jpeg File-", ".jpg", ImageFormat::Jpeg},
};
constexpr int kJpegFilterIndex = 3;

const SaveFormat* FormatAt(int filterIndex) {
  if (filterIndex < 1 || filterIndex > int(kSaveFormats.size())) return nullptr;
  return &kSaveFormats[std::size_t(filterIndex - 1)];
}

bool ReplaceConfirmed(QWidget* parent, const QString& path) {
  if (!QFileInfo(path).isFile()) return true;
  return CurrentDialogs().Warning(parent, path + "はすでに存在しています。置き換えていいですか?");
}

}  // namespace

SaveFileRequest NewSaveDialog() {
  SaveFileRequest dialog;
  for (const SaveFormat& format : kSaveFormats)
    dialog.filters << QString::fromUtf8(format.description)
                   << "*" + QString::fromLatin1(format.extension);
  dialog.filterIndex = kJpegFilterIndex;
  return dialog;
}

void SaveCaptionAs(QWidget* parent, SaveFileRequest& dialog, const CaptionToSave& caption,
                   const ExportOptions& options, TColor background) {
  if (!CurrentDialogs().SaveFile(parent, dialog)) return;
  const SaveFormat* format = FormatAt(dialog.filterIndex);
  if (!format) return;
  // Always appended, whatever the name ends with: the format is the filter's.
  const QString path = dialog.fileName + QString::fromLatin1(format->extension);
  if (!ReplaceConfirmed(parent, path)) return;
  const std::string file = QFile::encodeName(path).toStdString();
  if (WantsAlphaCaption(format->format, options))
    WriteImageFile(caption.alpha(), file, format->format, options, background, ExportRun::SaveAs);
  else
    WriteImageFile(caption.opaque, file, format->format, options, background, ExportRun::SaveAs);
}

}  // namespace glyphary::ui
