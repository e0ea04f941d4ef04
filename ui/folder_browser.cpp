#include "ui/folder_browser.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QShowEvent>
#include <QStandardPaths>

#include "ui/error_display.h"
#include "ui/form_builder.h"
#include "ui/window_placement.h"

using glyphary::ui::Child;
using glyphary::ui::Component;
using glyphary::ui::Kind;

namespace {

constexpr Component kComponents[] = {
    {"ShellTreeView1", Kind::TreeView, nullptr, 8, 8, 249, 305, "", 2},
    {"Button1", Kind::Button, nullptr, 264, 8, 73, 25, "OK", 0},
    {"Button2", Kind::Button, nullptr, 264, 40, 73, 25, "キャンセル", 1},
};

// The client area inside an outer size of 355 x 347 with a sizeable frame.
constexpr QSize kClientSize{347, 320};
constexpr int kIndentation = 19;

// The user's desktop folder (XDG), or the home folder where there is none.
QString DesktopFolder() {
  const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  if (!desktop.isEmpty() && QFileInfo(desktop).isDir()) return desktop;
  return QDir::homePath();
}

}  // namespace

Tfrm_browse::Tfrm_browse(QWidget* parent) : glyphary::ui::FormDialog(parent) {
  setWindowTitle("Browse...");
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  resize(kClientSize);
  glyphary::ui::BuildComponents(this, kComponents);
  glyphary::ui::ApplyTabOrder(this, kComponents);
  ShellTreeView1 = Child<QTreeView>(this, "ShellTreeView1");
  Button1 = Child<QPushButton>(this, "Button1");
  Button2 = Child<QPushButton>(this, "Button2");
  Button1->setDefault(true);

  // Folders only, each listed when its node is first expanded, with the
  // desktop theme's icons (the style's where the theme has none); the tree
  // keeps what it listed and does not follow later changes on disk.
  folders_ = std::make_unique<QFileSystemModel>();
  folders_->setIconProvider(&icons_);
  folders_->setOption(QFileSystemModel::DontWatchForChanges);
  folders_->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
  folders_->setReadOnly(true);
  ShellTreeView1->setModel(folders_.get());
  for (int column = 1; column < folders_->columnCount(); ++column)
    ShellTreeView1->hideColumn(column);
  ShellTreeView1->setHeaderHidden(true);
  ShellTreeView1->setRootIsDecorated(false);
  ShellTreeView1->setIndentation(kIndentation);
  ShellTreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ShellTreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);

  glyphary::ui::ConnectHandler(Button1, &QPushButton::clicked, this, &Tfrm_browse::Button1Click);
  glyphary::ui::ConnectHandler(Button2, &QPushButton::clicked, this, &Tfrm_browse::Button2Click);
}

// With no folder selected (a Ctrl+click clears the selection) the path is
// empty, which the caller must not take for the file system's root.
QString Tfrm_browse::ChooseFolder() {
  return exec() == QDialog::Accepted ? SelectedPath() : QString();
}

void Tfrm_browse::Button1Click() {
  accept();
}

void Tfrm_browse::Button2Click() {
  reject();
}

QString Tfrm_browse::SelectedPath() const {
  const QModelIndexList selected = ShellTreeView1->selectionModel()->selectedRows();
  if (selected.isEmpty()) return {};
  // The model's paths carry no trailing separator; the root is "/".
  return folders_->filePath(selected.constFirst());
}

void Tfrm_browse::OpenAtDesktop() {
  folders_->setRootPath(QDir::rootPath());
  const QModelIndex desktop = folders_->index(DesktopFolder());
  for (QModelIndex node = desktop; node.isValid(); node = node.parent())
    ShellTreeView1->expand(node);
  ShellTreeView1->setCurrentIndex(desktop);
  KeepDesktopInView(desktop);
}

// The folders above the desktop are listed in the background, and each batch
// of rows they gain shifts the desktop's row: bring it back to the middle
// after each, as long as it is still the selection.
void Tfrm_browse::KeepDesktopInView(const QModelIndex& desktop) {
  const QPersistentModelIndex node(desktop);
  const QString path = folders_->filePath(desktop);
  const auto centre = [this, node] {
    if (ShellTreeView1->currentIndex() == node)
      ShellTreeView1->scrollTo(node, QAbstractItemView::PositionAtCenter);
  };
  const auto aboveDesktop = [this, path](const QModelIndex& parent) {
    return path.startsWith(folders_->filePath(parent));
  };
  connect(folders_.get(), &QAbstractItemModel::rowsInserted, this,
          [centre, aboveDesktop](const QModelIndex& parent) {
            if (aboveDesktop(parent)) centre();
          });
  connect(folders_.get(), &QAbstractItemModel::layoutChanged, this, centre);
  centre();
}

void Tfrm_browse::showEvent(QShowEvent* event) {
  if (!event->spontaneous() && !shownBefore_) {
    shownBefore_ = true;
    glyphary::ui::CenterOver(this, parentWidget());
    OpenAtDesktop();
  }
  QDialog::showEvent(event);
}
