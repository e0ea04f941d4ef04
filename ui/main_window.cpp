#include "ui/main_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalBlocker>

#include <memory>

#include "settings/settings.h"
#include "ui/about_box.h"
#include "ui/caption_transfer.h"
#include "ui/effect_dialog.h"
#include "ui/error_display.h"
#include "ui/form_builder.h"
#include "ui/forms.h"
#include "ui/layout_dialog.h"
#include "ui/main_window_settings.h"
#include "ui/production_dialog.h"
#include "ui/save_as.h"
#include "ui/settings_dialog.h"
#include "ui/window_placement.h"
#include "version/version.h"

using glyphary::ui::Child;
using glyphary::ui::Component;
using glyphary::ui::Kind;

namespace {

constexpr Component kComponents[] = {
    {"Label1", Kind::Label, nullptr, 8, 40, 116, 12, "文章を入力してください"},
    {"edt_text", Kind::CaptionEdit, nullptr, 8, 56, 449, 20, "", 0},
    {"Label3", Kind::Label, nullptr, 8, 92, 38, 12, "フォント"},
    {"ComboBox", Kind::ComboBox, nullptr, 48, 88, 129, 20, "", 1},
    {"Label2", Kind::Label, nullptr, 184, 92, 34, 12, "サイズ"},
    {"spn_size", Kind::SpinEdit, nullptr, 232, 88, 57, 21, "", 4},
    {"spd_bold", Kind::ToggleButton, nullptr, 304, 88, 25, 25, ":/icons/bold.png"},
    {"spd_italic", Kind::ToggleButton, nullptr, 328, 88, 25, 25, ":/icons/italic.png"},
    {"spd_underline", Kind::ToggleButton, nullptr, 352, 88, 25, 25, ":/icons/underline.png"},
    {"Label4", Kind::Label, nullptr, 392, 92, 36, 12, "文字色"},
    {"lbl_textcolor", Kind::ColorSwatch, nullptr, 440, 88, 41, 25, "", 5},
    {"Label5", Kind::Label, nullptr, 488, 92, 36, 12, "背景色"},
    {"lbl_bkcolor", Kind::ColorSwatch, nullptr, 536, 88, 41, 25, "", 6},
    {"GroupBox1", Kind::GroupBox, nullptr, 8, 120, 601, 161, "プレビュー", 3},
    {"Image1", Kind::Image, "GroupBox1", 8, 24, 585, 121},
    {"ComboBox1", Kind::List, "GroupBox1", 448, 80, 129, 20},
};

constexpr QSize kClientSize(615, 301);
constexpr char kMakerPage[] = "http://www.tarvent.example/";

}  // namespace

Tfrm_main::Tfrm_main(QWidget* parent) : QMainWindow(parent) {
  setObjectName("frm_main");
  setWindowTitle(QStringLiteral("Glyphary ") + glyphary::kVersion);
  SaveDialog = glyphary::ui::NewSaveDialog();
  BuildClientArea();
  BuildCommands();
  BuildMenu();
  BuildToolBar();
  SetClientSize(kClientSize);
  ConnectHandlers();
}

Tfrm_main::~Tfrm_main() = default;

void Tfrm_main::BuildClientArea() {
  auto* client = new QWidget(this);
  client->setObjectName("client");
  setCentralWidget(client);
  glyphary::ui::BuildComponents(client, kComponents);
  glyphary::ui::ApplyTabOrder(client, kComponents);
  edt_text = Child<glyphary::ui::CaptionEdit>(client, "edt_text");
  ComboBox = Child<QComboBox>(client, "ComboBox");
  ComboBox->setCompleter(nullptr);  // the face is the text exactly as typed
  spn_size = Child<glyphary::ui::SpinEdit>(client, "spn_size");
  spd_bold = Child<QToolButton>(client, "spd_bold");
  spd_italic = Child<QToolButton>(client, "spd_italic");
  spd_underline = Child<QToolButton>(client, "spd_underline");
  lbl_textcolor = Child<glyphary::ui::ColorSwatch>(client, "lbl_textcolor");
  lbl_bkcolor = Child<glyphary::ui::ColorSwatch>(client, "lbl_bkcolor");
  const glyphary::CaptionStyle defaults;
  spn_size->SetValue(defaults.pointSize);
  lbl_textcolor->SetColor(defaults.textColor);
  lbl_bkcolor->SetColor(defaults.backgroundColor);
  GroupBox1 = Child<QGroupBox>(client, "GroupBox1");
  Image1 = Child<glyphary::ui::PreviewImage>(client, "Image1");
  ComboBox1 = Child<QComboBox>(client, "ComboBox1");
  ComboBox1->hide();
}

void Tfrm_main::ConnectHandlers() {
  using glyphary::ui::ConnectHandler;
  ConnectHandler(edt_text, &QLineEdit::textChanged, this, &Tfrm_main::edt_textChange);
  ConnectHandler(ComboBox, &QComboBox::editTextChanged, this, &Tfrm_main::ComboBoxChange);
  ConnectHandler(spn_size, &glyphary::ui::SpinEdit::Changed, this, &Tfrm_main::spn_sizeChange);
  ConnectHandler(spn_size, &glyphary::ui::SpinEdit::Clicked, this, &Tfrm_main::spn_sizeClick);
  ConnectHandler(spd_bold, &QToolButton::clicked, this, &Tfrm_main::spd_boldClick);
  ConnectHandler(spd_italic, &QToolButton::clicked, this, &Tfrm_main::spd_italicClick);
  ConnectHandler(spd_underline, &QToolButton::clicked, this, &Tfrm_main::spd_underlineClick);
  ConnectHandler(lbl_textcolor, &glyphary::ui::ColorSwatch::Clicked, this,
                 &Tfrm_main::lbl_textcolorClick);
  ConnectHandler(lbl_bkcolor, &glyphary::ui::ColorSwatch::Clicked, this,
                 &Tfrm_main::lbl_bkcolorClick);
}

QSize Tfrm_main::ClientSize() const {
  return centralWidget()->size();
}

void Tfrm_main::SetClientSize(QSize size) {
  centralWidget()->setFixedSize(size);
  setFixedSize(size.width(), size.height() + menuBar()->sizeHint().height());
}

void Tfrm_main::FormCreate() {
  FillFaceLists();
  bold_ = italic_ = underline_ = false;
  {
    const QSignalBlocker quiet(ComboBox);
    ComboBox->setEditText(QString::fromStdString(glyphary::CaptionStyle{}.faceName));
  }
  edt_text->setFocus();
  glyphary::ui::MainWindowSettings settings(*this);
  try {
    glyphary::LoadMainSettings(glyphary::ui::SettingsFileName(), settings);
  } catch (...) {
    SettleStyleAndPlace();
    throw;
  }
  SettleStyleAndPlace();
}

// After the load, also one that stopped at a bad key: the flags follow the
// buttons, and a position no screen shows gives way to the default one.
void Tfrm_main::SettleStyleAndPlace() {
  bold_ = spd_bold->isChecked();
  italic_ = spd_italic->isChecked();
  underline_ = spd_underline->isChecked();
  glyphary::ui::KeepReachable(this);
}

void Tfrm_main::FormDestroy() {
  glyphary::ui::MainWindowSettings settings(*this);
  glyphary::StoreMainSettings(glyphary::ui::SettingsFileName(), settings);
}

void Tfrm_main::FillFaceLists() {
  const QSignalBlocker quiet(ComboBox);
  for (const std::string& face : glyphary::FontEngine::FaceList())
    ComboBox->addItem(QString::fromStdString(face));
  for (const std::string& face : glyphary::FontEngine::ShiftJisFaceList())
    ComboBox1->addItem(QString::fromStdString(face));
  ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
}

glyphary::CaptionStyle Tfrm_main::CurrentStyle() const {
  glyphary::CaptionStyle style;
  style.faceName = ComboBox->currentText().toStdString();
  style.pointSize = spn_size->Value();
  style.bold = bold_;
  style.italic = italic_;
  style.underline = underline_;
  style.textColor = lbl_textcolor->Color();
  style.backgroundColor = lbl_bkcolor->Color();
  // None until their dialogs have been made.
  if (frm_effect) style.effect = frm_effect->Effect();
  if (frm_layout) style.layout = frm_layout->Layout();
  return style;
}

void Tfrm_main::RenderCaption(glyphary::Bitmap& target, const std::string& text) {
  glyphary::RenderCaption(target, text, CurrentStyle(), engine_);
}

// A failed rendering throws before the preview takes anything, so it keeps
// the previous picture.
void Tfrm_main::RefreshPreview() {
  glyphary::Bitmap bitmap;
  RenderCaption(bitmap, edt_text->CaptionText());
  Image1->SetBitmap(std::move(bitmap));
}

const glyphary::Bitmap& Tfrm_main::PreviewBitmap() const {
  return Image1->CurrentBitmap();
}

bool& Tfrm_main::FlagOf(const QToolButton* button) {
  return button == spd_bold ? bold_ : button == spd_italic ? italic_ : underline_;
}

void Tfrm_main::SetStyleButton(QToolButton* button, bool pressed) {
  button->setChecked(pressed);
  FlagOf(button) = pressed;
}

void Tfrm_main::edt_textChange() {
  RefreshPreview();
}

void Tfrm_main::ComboBoxChange() {
  RefreshPreview();
}

void Tfrm_main::spn_sizeChange() {
  RefreshPreview();
}

void Tfrm_main::spn_sizeClick() {
  if (spn_size->Value() <= 0) spn_size->SetValue(1);
  RefreshPreview();
}

void Tfrm_main::spd_boldClick() {
  bold_ = spd_bold->isChecked();
  RefreshPreview();
}

void Tfrm_main::spd_italicClick() {
  italic_ = spd_italic->isChecked();
  RefreshPreview();
}

void Tfrm_main::spd_underlineClick() {
  underline_ = spd_underline->isChecked();
  RefreshPreview();
}

void Tfrm_main::ChooseSwatchColor(glyphary::ui::ColorSwatch* swatch) {
  if (glyphary::ui::ChooseSwatchColor(this, swatch, lastChosenColor_)) RefreshPreview();
}

void Tfrm_main::lbl_textcolorClick() {
  ChooseSwatchColor(lbl_textcolor);
}

void Tfrm_main::lbl_bkcolorClick() {
  ChooseSwatchColor(lbl_bkcolor);
}

void Tfrm_main::SaveAs1Click() {
  const glyphary::ExportOptions options = frm_setting->Options();
  glyphary::ui::SaveCaptionAs(
      this, SaveDialog, [&](glyphary::ImageFormat format) { return CaptionFor(format, options); },
      options, lbl_bkcolor->Color());
}

// What a file of this format holds with these options: the preview's
// caption, or the alpha caption for a PNG with an alpha channel.
glyphary::Bitmap Tfrm_main::CaptionFor(glyphary::ImageFormat format,
                                       const glyphary::ExportOptions& options) {
  if (glyphary::WantsAlphaCaption(format, options))
    return glyphary::CaptionFor(edt_text->CaptionText(), CurrentStyle(), format, options, engine_);
  // Before the first change nothing has been rendered; what is saved then is
  // what the current text and style give, never an empty image.
  if (PreviewBitmap().Empty()) RefreshPreview();
  return PreviewBitmap();
}

// The caption as a PNG file with the settings dialog's options, as Save As
// would write it.
std::vector<std::uint8_t> Tfrm_main::CaptionPng() {
  const glyphary::ExportOptions options = frm_setting->Options();
  constexpr glyphary::ImageFormat kPng = glyphary::ImageFormat::Png;
  return glyphary::EncodeImage(CaptionFor(kPng, options), kPng, options, lbl_bkcolor->Color());
}

void Tfrm_main::Layout1Click() {
  frm_layout->ShowInFront();
}

void Tfrm_main::Vertical1Click() {
  emit VerticalToggled(Vertical1->isChecked());
}

void Tfrm_main::ShowVertical(bool vertical) {
  Vertical1->setChecked(vertical);
}

void Tfrm_main::CopyImage1Click() {
  QGuiApplication::clipboard()->setMimeData(glyphary::ui::CaptionMimeData(CaptionPng()).release());
}

void Tfrm_main::Effect1Click() {
  frm_effect->ShowInFront();
}

QMimeData* Tfrm_main::CaptionDragData() {
  return glyphary::ui::CaptionDropData(CaptionPng(),
                                       QString::fromStdString(edt_text->CaptionText()))
      .release();
}

void Tfrm_main::N4Click() {
  frm_production->ShowInFront();
}

void Tfrm_main::JPEG1Click() {
  frm_setting->ShowInFront();
}

// The check mark only follows this item; the dialog's box may differ from it.
void Tfrm_main::N2Click() {
  frm_setting->SetTransparent(N2->isChecked());
}

void Tfrm_main::Inkwright1Click() {
  glyphary::ui::ShowHelp(this);
}

void Tfrm_main::TarventSoftware1Click() {
  glyphary::ui::ShowWebPage(this, QString::fromLatin1(kMakerPage));
}

void Tfrm_main::About1Click() {
  auto about = std::make_unique<Tfrm_about>(this);
  frm_about = about.get();
  struct Forget {
    ~Forget() { frm_about = nullptr; }
  } forget;
  glyphary::ui::CenterOver(about.get(), this);
  about->exec();
}

void Tfrm_main::Exit1Click() {
  close();
}
