#include "ui/error_display.h"

#include <QApplication>

#include <exception>
#include <new>

#include "export/export.h"
#include "ui/dialogs.h"

namespace glyphary::ui {

QString CurrentExceptionText() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return OutOfMemoryMessage();
  } catch (const std::exception& e) {
    return QString::fromUtf8(e.what());
  } catch (...) {
    return "不明なエラーが発生しました";
  }
}

void ShowCurrentException() {
  ShowError(CurrentExceptionText());
}

void ShowError(const QString& text) {
  CurrentDialogs().Error(QApplication::activeWindow(), text);
}

}  // namespace glyphary::ui
