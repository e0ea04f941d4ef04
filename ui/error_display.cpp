#include "ui/error_display.h"

#include <QApplication>

#include <exception>
#include <new>

#include "export/export.h"
#include "ui/dialogs.h"

namespace glyphary::ui {

void ShowCurrentException() {
  QString text;
  try {
    throw;
  } catch (const std::bad_alloc&) {
    text = OutOfMemoryMessage();
  } catch (const std::exception& e) {
    text = QString::fromUtf8(e.what());
  } catch (...) {
    text = "不明なエラーが発生しました";
  }
  CurrentDialogs().Error(QApplication::activeWindow(), text);
}

}  // namespace glyphary::ui
