#include "ui/caption_transfer.h"

#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QUrl>

#include <span>

#include "export/export.h"

namespace glyphary::ui {
namespace {

constexpr int kMaxNameCharacters = 60;
constexpr char kDropFolder[] = "drag";

bool Unfit(QChar c) {
  return c.unicode() < 0x20 || c == QChar(0x7F) || QStringLiteral("/\\:*?\"<>|").contains(c);
}

}  // namespace

std::unique_ptr<QMimeData> CaptionMimeData(const std::vector<std::uint8_t>& png) {
  auto data = std::make_unique<QMimeData>();
  const QByteArray bytes(reinterpret_cast<const char*>(png.data()), qsizetype(png.size()));
  data->setData("image/png", bytes);
  data->setImageData(QImage::fromData(bytes, "PNG"));
  return data;
}

std::unique_ptr<QMimeData> CaptionDropData(const std::vector<std::uint8_t>& png,
                                           const QString& text) {
  const QString folder =
      QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/" + kDropFolder;
  MakeFolders(QFile::encodeName(folder).toStdString());
  const QString path = folder + "/" + FileNameFor(text) + ".png";
  WriteWholeFile(QFile::encodeName(path).toStdString(), png);
  std::unique_ptr<QMimeData> data = CaptionMimeData(png);
  data->setUrls({QUrl::fromLocalFile(path)});
  return data;
}

QString FileNameFor(const QString& text) {
  QString name;
  for (QChar c : text) name += Unfit(c) ? QChar('_') : c;
  name = name.trimmed();
  // Cut between characters, never inside a surrogate pair.
  if (name.size() > kMaxNameCharacters) {
    qsizetype end = kMaxNameCharacters;
    if (name.at(end - 1).isHighSurrogate()) --end;
    name.truncate(end);
  }
  // A name of dots alone would mean this folder or its parent.
  if (name.isEmpty() || name.count('.') == name.size()) return "caption";
  return name;
}

}  // namespace glyphary::ui
