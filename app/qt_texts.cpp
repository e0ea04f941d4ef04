#include "app/qt_texts.h"

#include <cstring>

namespace glyphary::app {
namespace {

struct Text {
  const char* context;
  const char* source;
  const char* japanese;
};

// The file type column of the save dialog and the name check of its folders.
constexpr Text kTexts[] = {
    {"QAbstractFileIconProvider", "Folder", "フォルダー"},
    {"QAbstractFileIconProvider", "Drive", "ドライブ"},
    {"QAbstractFileIconProvider", "File", "ファイル"},
    {"QAbstractFileIconProvider", "%1 File", "%1 ファイル"},
    {"QFileDialog", "Computer", "コンピューター"},
    {"QFileSystemModel",
     "<b>The name \"%1\" cannot be used.</b><p>Try using another name, with fewer characters or "
     "no punctuation marks.",
     "<b>「%1」という名前は使えません。</b><p>文字を減らすか、記号を使わない名前にしてください。"},
};

}  // namespace

QString MissingQtTexts::translate(const char* context, const char* sourceText, const char*,
                                  int) const {
  if (!context || !sourceText) return {};
  for (const Text& text : kTexts)
    if (std::strcmp(text.context, context) == 0 && std::strcmp(text.source, sourceText) == 0)
      return QString::fromUtf8(text.japanese);
  return {};
}

}  // namespace glyphary::app
