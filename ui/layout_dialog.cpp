#include "ui/layout_dialog.h"

#include <QSignalBlocker>

#include "settings/settings.h"
#include "ui/error_display.h"
#include "ui/form_builder.h"
#include "ui/forms.h"

using glyphary::CaptionLayout;
using glyphary::TextAlign;
using glyphary::ui::Child;
using glyphary::ui::Component;
using glyphary::ui::Kind;
using glyphary::ui::SpinEdit;

namespace {

constexpr Component kComponents[] = {
    {"cb_vertical", Kind::CheckBox, nullptr, 16, 8, 121, 17, "縦書き", 0},
    {"gb_align", Kind::GroupBox, nullptr, 8, 32, 281, 49, "揃え", 1},
    {"rdb_start", Kind::RadioButton, "gb_align", 16, 22, 73, 17, "", 0},
    {"rdb_center", Kind::RadioButton, "gb_align", 104, 22, 73, 17, "", 1},
    {"rdb_end", Kind::RadioButton, "gb_align", 192, 22, 73, 17, "", 2},
    {"gb_spacing", Kind::GroupBox, nullptr, 8, 88, 281, 57, "間隔", 2},
    {"Label1", Kind::Label, "gb_spacing", 16, 28, 56, 12, "行間(%)"},
    {"spnedt_linespacing", Kind::SpinEdit, "gb_spacing", 72, 24, 57, 21, "", 0},
    {"Label2", Kind::Label, "gb_spacing", 152, 28, 56, 12, "字間(px)"},
    {"spnedt_letterspacing", Kind::SpinEdit, "gb_spacing", 208, 24, 49, 21, "", 1},
    {"btn_close", Kind::Button, nullptr, 208, 152, 81, 25, "閉じる", 3},
};

constexpr QSize kClientSize(297, 185);

// Start, centre and end, across and down.
constexpr const char* kAlignNames[2][3] = {{"左", "中央", "右"}, {"上", "中央", "下"}};

// The dialog's controls as the settings file reads and writes them.
class DialogLayout final : public glyphary::LayoutSettingsTarget {
 public:
  explicit DialogLayout(Tfrm_layout& dialog) : d_(dialog) {}
  CaptionLayout Layout() const override { return d_.Layout(); }
  void SetLayout(const CaptionLayout& layout) override { d_.ShowLayout(layout); }

 private:
  Tfrm_layout& d_;
};

}  // namespace

Tfrm_layout::Tfrm_layout(QWidget* parent) : glyphary::ui::FormDialog(parent) {
  BuildBesideParent("frm_layout", "文字組み", kClientSize, kComponents);
  cb_vertical = Child<QCheckBox>(this, "cb_vertical");
  rdb_start = Child<QRadioButton>(this, "rdb_start");
  rdb_center = Child<QRadioButton>(this, "rdb_center");
  rdb_end = Child<QRadioButton>(this, "rdb_end");
  spnedt_linespacing =
      BoundedSpin("spnedt_linespacing", glyphary::kMinLineSpacing, glyphary::kMaxLineSpacing);
  spnedt_letterspacing =
      BoundedSpin("spnedt_letterspacing", glyphary::kMinLetterSpacing, glyphary::kMaxLetterSpacing);
  btn_close = Child<QPushButton>(this, "btn_close");
  btn_close->setDefault(true);
  ShowLayout(CaptionLayout{});
  using glyphary::ui::ConnectHandler;
  ConnectHandler(cb_vertical, &QCheckBox::toggled, this, &Tfrm_layout::cb_verticalClick);
  // Clicked, not toggled: a choice unticks one button and ticks another.
  for (QRadioButton* button : {rdb_start, rdb_center, rdb_end})
    ConnectHandler(button, &QRadioButton::clicked, this, &Tfrm_layout::LayoutChange);
  for (SpinEdit* spin : {spnedt_linespacing, spnedt_letterspacing})
    ConnectHandler(spin, &SpinEdit::Changed, this, &Tfrm_layout::LayoutChange);
  ConnectHandler(btn_close, &QPushButton::clicked, this, &Tfrm_layout::btn_closeClick);
}

// The text is still empty, which no layout changes: the preview stays as
// the main window left it.
void Tfrm_layout::FormCreate() {
  DialogLayout layout(*this);
  try {
    glyphary::LoadLayoutSettings(glyphary::ui::SettingsFileName(), layout);
  } catch (...) {
    emit VerticalChanged(cb_vertical->isChecked());
    throw;
  }
  emit VerticalChanged(cb_vertical->isChecked());
}

void Tfrm_layout::FormDestroy() {
  DialogLayout layout(*this);
  glyphary::StoreLayoutSettings(glyphary::ui::SettingsFileName(), layout);
}

CaptionLayout Tfrm_layout::Layout() const {
  const TextAlign align = rdb_center->isChecked() ? TextAlign::Center
                          : rdb_end->isChecked()  ? TextAlign::End
                                                  : TextAlign::Start;
  // A typed value is in range before the focus moves on: the settings file
  // never gets one the next start would refuse.
  return {cb_vertical->isChecked(), align, spnedt_linespacing->ValueInBounds(),
          spnedt_letterspacing->ValueInBounds()};
}

void Tfrm_layout::ShowLayout(const CaptionLayout& layout) {
  const QSignalBlocker quietVertical(cb_vertical), quietLines(spnedt_linespacing),
      quietLetters(spnedt_letterspacing);
  cb_vertical->setChecked(layout.vertical);
  QRadioButton* const aligned[] = {rdb_start, rdb_center, rdb_end};
  aligned[static_cast<int>(layout.align)]->setChecked(true);
  spnedt_linespacing->SetValue(layout.lineSpacing);
  spnedt_letterspacing->SetValue(layout.letterSpacing);
  ShowAlignNames();
}

void Tfrm_layout::ShowAlignNames() {
  const auto& names = kAlignNames[cb_vertical->isChecked() ? 1 : 0];
  rdb_start->setText(QString::fromUtf8(names[0]));
  rdb_center->setText(QString::fromUtf8(names[1]));
  rdb_end->setText(QString::fromUtf8(names[2]));
}

void Tfrm_layout::SetVertical(bool vertical) {
  cb_vertical->setChecked(vertical);
}

void Tfrm_layout::cb_verticalClick() {
  ShowAlignNames();
  emit VerticalChanged(cb_vertical->isChecked());
  emit Changed();
}

void Tfrm_layout::LayoutChange() {
  emit Changed();
}

void Tfrm_layout::btn_closeClick() {
  hide();
}
