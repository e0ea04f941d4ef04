#include "ui/form_builder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>
#include <vector>

#include "ui/caption_edit.h"
#include "ui/color_swatch.h"
#include "ui/preview_image.h"
#include "ui/spin_edit.h"

namespace glyphary::ui {
namespace {

// The caption sits on the frame's top line, so children placed from the
// box's top edge clear the frame as the layouts expect.
constexpr char kCaptionOnFrameLine[] =
    "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
    "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0 2px; }";

// Pressed and released by clicks alone, as a speed button: it never takes the focus.
QWidget* NewToggleButton(const QString& icon, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setCheckable(true);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setIcon(QIcon(icon));
  button->setIconSize(QSize(16, 16));
  return button;
}

QWidget* Create(Kind kind, const QString& caption, QWidget* parent) {
  switch (kind) {
    case Kind::Label:
      return new QLabel(caption, parent);
    case Kind::BoldLabel: {
      auto* label = new QLabel(caption, parent);
      QFont font = label->font();
      font.setBold(true);
      label->setFont(font);
      return label;
    }
    case Kind::Edit:
      return new QLineEdit(caption, parent);
    case Kind::CaptionEdit:
    case Kind::LabelledCaptionEdit:
      return new CaptionEdit(parent);
    case Kind::TreeView:
      return new QTreeView(parent);
    case Kind::Button:
      return new QPushButton(caption, parent);
    case Kind::CheckBox:
      return new QCheckBox(caption, parent);
    case Kind::RadioButton:
      return new QRadioButton(caption, parent);
    case Kind::Frame: {
      auto* frame = new QGroupBox(parent);
      frame->setFlat(false);
      return frame;
    }
    case Kind::GroupBox: {
      auto* box = new QGroupBox(caption, parent);
      box->setStyleSheet(kCaptionOnFrameLine);
      return box;
    }
    case Kind::SpinEdit:
      return new SpinEdit(parent);
    case Kind::PageControl:
      return new QTabWidget(parent);
    case Kind::Page:
      return new QWidget;
    case Kind::ComboBox: {
      auto* box = new QComboBox(parent);
      box->setEditable(true);
      box->setInsertPolicy(QComboBox::NoInsert);
      return box;
    }
    case Kind::List:
      return new QComboBox(parent);
    case Kind::ToggleButton:
      return NewToggleButton(caption, parent);
    case Kind::ColorSwatch:
      return new ColorSwatch(parent);
    case Kind::Image:
      return new PreviewImage(parent);
  }
  return nullptr;
}

QWidget* ParentOf(QWidget* client, const Component& c) {
  return c.parent ? Child<QWidget>(client, c.parent) : client;
}

// The edit's own label stands 3 px to its left, centred on it vertically;
// a wide one (the row number 10) keeps 2 px from the page's edge, where its
// frame is drawn, and comes nearer the edit instead.
void AttachEditLabel(QWidget* edit, const QString& caption) {
  constexpr int kSpacing = 3, kClearOfFrame = 2;
  auto* label = new QLabel(caption, edit->parentWidget());
  label->setObjectName(edit->objectName() + QString::fromLatin1(kEditLabelSuffix));
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->adjustSize();
  const QRect box = edit->geometry();
  const int width = label->width();
  int left = std::max(box.left() - kSpacing - width, kClearOfFrame);
  const int right = std::min(box.left() - 1, left + width);
  // Never cut: where even that is too narrow, the frame gives way.
  left = std::max(std::min(left, right - width), 0);
  label->setGeometry(left, box.top() + (box.height() - label->height()) / 2, right - left,
                     label->height());
}

bool IsContainer(Kind kind) {
  return kind == Kind::Frame || kind == Kind::GroupBox || kind == Kind::PageControl ||
         kind == Kind::Page;
}

void ChainChildren(QWidget* client, std::span<const Component> components, const char* parent,
                   std::vector<QWidget*>& chain) {
  std::vector<const Component*> children;
  for (const Component& c : components)
    if ((c.parent == nullptr) == (parent == nullptr) &&
        (!parent || QString::fromLatin1(c.parent) == QString::fromLatin1(parent)))
      if (c.tabOrder >= 0 || c.kind == Kind::Page) children.push_back(&c);
  std::stable_sort(children.begin(), children.end(), [](const Component* a, const Component* b) {
    return a->tabOrder < b->tabOrder;
  });
  for (const Component* c : children) {
    if (IsContainer(c->kind)) {
      if (c->kind == Kind::PageControl) chain.push_back(Child<QWidget>(client, c->name));
      ChainChildren(client, components, c->name, chain);
    } else {
      chain.push_back(Child<QWidget>(client, c->name));
    }
  }
}

}  // namespace

void BuildComponents(QWidget* client, std::span<const Component> components) {
  for (const Component& c : components) {
    QWidget* parent = ParentOf(client, c);
    const QString caption = QString::fromUtf8(c.caption);
    QWidget* widget = Create(c.kind, caption, parent);
    widget->setObjectName(QString::fromLatin1(c.name));
    if (c.kind == Kind::Page) {
      static_cast<QTabWidget*>(parent)->addTab(widget, caption);
      continue;
    }
    widget->setGeometry(c.left, c.top, c.width, c.height);
    if (c.kind == Kind::LabelledCaptionEdit) AttachEditLabel(widget, caption);
  }
}

void ApplyTabOrder(QWidget* client, std::span<const Component> components) {
  std::vector<QWidget*> chain;
  ChainChildren(client, components, nullptr, chain);
  for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

}  // namespace glyphary::ui
