#include "ui/production_dialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QShowEvent>

#include <array>
#include <string>
#include <utility>

#include "settings/settings.h"
#include "ui/batch_progress.h"
#include "ui/caption_edit.h"
#include "ui/dialogs.h"
#include "ui/error_display.h"
#include "ui/folder_browser.h"
#include "ui/form_builder.h"
#include "ui/forms.h"
#include "ui/png_options.h"
#include "ui/settings_dialog.h"

using glyphary::ui::Child;
using glyphary::ui::Component;
using glyphary::ui::Kind;

namespace {

constexpr int kRows = 10;
constexpr int kRowTop = 24, kRowPitch = 24;

constexpr Component kComponents[] = {
    {"Label1", Kind::Label, nullptr, 8, 8, 159, 12, "現在の設定で大量生産します。"},
    {"Label4", Kind::Label, nullptr, 168, 8, 217, 12, "ファイル名には拡張子をつけないで下さい。"},
    {"PageControl1", Kind::PageControl, nullptr, 8, 32, 417, 297, "", 3},
    {"Button6", Kind::Button, nullptr, 192, 336, 73, 25, "OK", 2},
    {"Button5", Kind::Button, nullptr, 272, 336, 73, 25, "キャンセル", 1},
    {"Button4", Kind::Button, nullptr, 352, 336, 73, 25, "ヘルプ", 0},

    {"TabSheet1", Kind::Page, "PageControl1", 0, 0, 0, 0, "文章とファイル名"},
    {"Label2", Kind::BoldLabel, "TabSheet1", 16, 8, 26, 12, "文章"},
    {"Label3", Kind::BoldLabel, "TabSheet1", 280, 8, 58, 12, "ファイル名"},

    {"TabSheet2", Kind::Page, "PageControl1", 0, 0, 0, 0, "保存形式と設定"},
    {"rdb_jpeg", Kind::RadioButton, "TabSheet2", 32, 8, 297, 17, "JPEG", 0},
    {"gb_jpeg", Kind::Frame, "TabSheet2", 40, 24, 345, 65, "", 3},
    {"Label5", Kind::Label, "gb_jpeg", 16, 28, 36, 12, "圧縮率"},
    {"spnedt_jpeg", Kind::SpinEdit, "gb_jpeg", 64, 24, 49, 21, "", 0},
    {"rdb_png", Kind::RadioButton, "TabSheet2", 32, 96, 305, 25, "PNG", 1},
    {"gb_png", Kind::Frame, "TabSheet2", 40, 120, 345, 81, "", 4},
    {"cb_transparent", Kind::CheckBox, "gb_png", 16, 16, 209, 17, "背景を透過する", 0},
    {"cb_256", Kind::CheckBox, "gb_png", 16, 40, 217, 17, "256色(8bit)", 1},
    {"Button1", Kind::Button, "gb_png", 232, 56, 97, 17, "PNGについて", 2},
    {"cb_alpha", Kind::CheckBox, "gb_png", 16, 60, 209, 17, glyphary::ui::kAlphaCaption, 3},
    {"rdb_bmp", Kind::RadioButton, "TabSheet2", 32, 208, 313, 17, "BMP", 2},

    {"TabSheet3", Kind::Page, "PageControl1", 0, 0, 0, 0, "保存場所"},
    {"GroupBox1", Kind::GroupBox, "TabSheet3", 8, 24, 393, 65, "保存場所", 0},
    {"edt_saveplace", Kind::Edit, "GroupBox1", 16, 24, 313, 20, "", 0},
    {"Button2", Kind::Button, "GroupBox1", 336, 24, 41, 20, "参照", 1},
};

// The names the batch run finds its fields by: "edt_text1" ... "edt_file10".
struct RowNames {
  std::string text, file, number;
};

const std::array<RowNames, kRows>& Names() {
  static const std::array<RowNames, kRows> names = [] {
    std::array<RowNames, kRows> all;
    for (int n = 1; n <= kRows; ++n) {
      const std::string number = std::to_string(n);
      all[n - 1] = {"edt_text" + number, "edt_file" + number, number};
    }
    return all;
  }();
  return names;
}

// The fixed components, then row n's text box (tab order n - 1, labelled n)
// and file box (tab order 9 + n) on the first page.
std::vector<Component> AllComponents() {
  std::vector<Component> all(std::begin(kComponents), std::end(kComponents));
  for (int n = 1; n <= kRows; ++n) {
    const RowNames& names = Names()[n - 1];
    const int top = kRowTop + kRowPitch * (n - 1);
    all.push_back({names.text.c_str(), Kind::LabelledCaptionEdit, "TabSheet1", 16, top, 257, 20,
                   names.number.c_str(), n - 1});
    all.push_back({names.file.c_str(), Kind::Edit, "TabSheet1", 280, top, 121, 20, "", 9 + n});
  }
  return all;
}

}  // namespace

Tfrm_production::Tfrm_production(QWidget* parent, glyphary::ui::CaptionSource captions)
    : glyphary::ui::FormDialog(parent), captions_(std::move(captions)) {
  setWindowTitle("大量生産");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(432, 368);
  const std::vector<Component> components = AllComponents();
  glyphary::ui::BuildComponents(this, components);
  glyphary::ui::ApplyTabOrder(this, components);

  PageControl1 = Child<QTabWidget>(this, "PageControl1");
  rdb_jpeg = Child<QRadioButton>(this, "rdb_jpeg");
  rdb_png = Child<QRadioButton>(this, "rdb_png");
  rdb_bmp = Child<QRadioButton>(this, "rdb_bmp");
  spnedt_jpeg = Child<glyphary::ui::SpinEdit>(this, "spnedt_jpeg");
  cb_transparent = Child<QCheckBox>(this, "cb_transparent");
  cb_256 = Child<QCheckBox>(this, "cb_256");
  cb_alpha = Child<QCheckBox>(this, "cb_alpha");
  edt_saveplace = Child<QLineEdit>(this, "edt_saveplace");
  Button1 = Child<QPushButton>(this, "Button1");
  Button2 = Child<QPushButton>(this, "Button2");
  Button4 = Child<QPushButton>(this, "Button4");
  Button5 = Child<QPushButton>(this, "Button5");
  Button6 = Child<QPushButton>(this, "Button6");

  // Enter is bound to no button: none may become the dialog's default.
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
  spnedt_jpeg->SetBounds(glyphary::kMinJpegQuality, glyphary::kMaxJpegQuality);
  ShowOptions(glyphary::ExportOptions{});
  PageControl1->setCurrentIndex(0);

  // The three radio buttons share their page, so Qt keeps exactly one selected.
  using glyphary::ui::ConnectHandler;
  ConnectHandler(cb_transparent, &QCheckBox::toggled, this, &Tfrm_production::cb_transparentClick);
  ConnectHandler(cb_alpha, &QCheckBox::toggled, this, &Tfrm_production::cb_alphaClick);
  ConnectHandler(Button1, &QPushButton::clicked, this, &Tfrm_production::Button1Click);
  ConnectHandler(Button2, &QPushButton::clicked, this, &Tfrm_production::Button2Click);
  ConnectHandler(Button4, &QPushButton::clicked, this, &Tfrm_production::Button4Click);
  ConnectHandler(Button5, &QPushButton::clicked, this, &Tfrm_production::Button5Click);
  ConnectHandler(Button6, &QPushButton::clicked, this, &Tfrm_production::Button6Click);
}

namespace {

// The program's folder, unless it is installed: /usr/bin is no place for the
// user's images, the home folder is.
QString DefaultSaveFolder() {
  const QString program = QCoreApplication::applicationFilePath();
  return glyphary::IsInstalledProgram(program.toStdString()) ? QDir::homePath()
                                                             : glyphary::ui::ExecutableFolder();
}

}  // namespace

void Tfrm_production::FormCreate() {
  rdb_jpeg->setChecked(true);
  edt_saveplace->setText(DefaultSaveFolder());
}

void Tfrm_production::FormShow() {
  ShowOptions(frm_setting->Options());
}

void Tfrm_production::ShowOptions(const glyphary::ExportOptions& options) {
  spnedt_jpeg->SetValue(options.jpegQuality);
  // May tick or clear cb_256 through the coupling; the next line settles it.
  cb_transparent->setChecked(options.pngTransparent);
  cb_256->setChecked(options.png256Colors);
  cb_alpha->setChecked(options.pngAlpha);
}

void Tfrm_production::cb_transparentClick() {
  cb_256->setChecked(cb_transparent->isChecked());
}

void Tfrm_production::cb_alphaClick() {
  glyphary::ui::GreyOutColourKey(cb_alpha, cb_transparent, cb_256);
}

void Tfrm_production::Button1Click() {
  glyphary::ui::ExplainPngOptions(this);
}

void Tfrm_production::Button4Click() {
  glyphary::ui::ShowHelp(this, "production");
}

void Tfrm_production::Button2Click() {
  const QString folder = frm_browse->ChooseFolder();
  if (!folder.isEmpty()) edt_saveplace->setText(folder);
}

void Tfrm_production::Button5Click() {
  hide();
}

void Tfrm_production::Button6Click() {
  const glyphary::BatchJob job{edt_saveplace->text().toStdString(), Format(), Options(),
                               captions_.style()};
  // A failing write ends the run here: its message reaches the default error
  // display and the dialog stays open.
  glyphary::ui::BatchProgress progress(this);
  try {
    glyphary::ProduceBatch(Rows(), job, captions_.engine, [&](std::size_t done, std::size_t total) {
      progress.Report(done, total);
    });
  } catch (const glyphary::BatchCheckError& e) {
    glyphary::ui::CurrentDialogs().Error(this, QString::fromUtf8(e.what()));
    return;
  }
  hide();
}

std::vector<glyphary::BatchRow> Tfrm_production::Rows() const {
  std::vector<glyphary::BatchRow> rows;
  for (int n = 1; n <= kRows; ++n)
    rows.push_back(
        {Child<glyphary::ui::CaptionEdit>(this, Names()[n - 1].text.c_str())->CaptionText(),
         RowField("edt_file", n)->text().toStdString()});
  return rows;
}

glyphary::ImageFormat Tfrm_production::Format() const {
  if (rdb_bmp->isChecked()) return glyphary::ImageFormat::Bmp;
  if (rdb_png->isChecked()) return glyphary::ImageFormat::Png;
  return glyphary::ImageFormat::Jpeg;
}

glyphary::ExportOptions Tfrm_production::Options() const {
  return {glyphary::ClampJpegQuality(spnedt_jpeg->Value()), cb_transparent->isChecked(),
          cb_256->isChecked(), cb_alpha->isChecked()};
}

void Tfrm_production::showEvent(QShowEvent* event) {
  // A spontaneous show is the window coming back from the task bar, not a showing.
  if (!event->spontaneous()) FormShow();
  FormDialog::showEvent(event);
}

QLineEdit* Tfrm_production::RowField(const char* prefix, int row) const {
  return Child<QLineEdit>(this, (prefix + std::to_string(row)).c_str());
}
