#include "ui/about_box.h"

#include <QKeyEvent>
#include <QPushButton>

#include "ui/error_display.h"
#include "ui/form_builder.h"
#include "version/version.h"

using glyphary::ui::Component;
using glyphary::ui::Kind;

namespace {

constexpr Component kComponents[] = {
    {"Label1", Kind::Label, nullptr, 56, 48, 137, 12, "Glyphary ver " GLYPHARY_VERSION},
    {"Button1", Kind::Button, nullptr, 96, 104, 65, 25, "OK", 0},
};

constexpr QSize kClientSize(250, 154);

}  // namespace

Tfrm_about::Tfrm_about(QWidget* parent) : glyphary::ui::FormDialog(parent) {
  setObjectName("frm_about");
  setWindowTitle("バージョン情報");
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kClientSize);
  glyphary::ui::BuildComponents(this, kComponents);
  glyphary::ui::ApplyTabOrder(this, kComponents);
  auto* ok = glyphary::ui::Child<QPushButton>(this, "Button1");
  ok->setDefault(true);
  ok->setFocus();
  glyphary::ui::ConnectHandler(ok, &QPushButton::clicked, this, &Tfrm_about::Button1Click);
}

void Tfrm_about::Button1Click() {
  accept();
}
