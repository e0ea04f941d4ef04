// Japanese for the few texts of Qt's own dialogs that its Japanese
// catalogue lacks, so that no English word shows in a Japanese dialog.
#pragma once

#include <QTranslator>

namespace glyphary::app {

class MissingQtTexts final : public QTranslator {
 public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* sourceText, const char* disambiguation,
                    int n) const override;
};

}  // namespace glyphary::app
