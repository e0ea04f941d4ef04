// The main window's commands: one action each, shared by the menu and the
// tool bar, built from their tables.
#include <QIcon>
#include <QKeySequence>
#include <QMenuBar>

#include "ui/error_display.h"
#include "ui/form_builder.h"
#include "ui/main_window.h"

namespace {

using Handler = void (Tfrm_main::*)();

// Each action is named as its menu item, its handler after that name.
struct CommandSpec {
  const char* name;
  const char* caption;
  const char* shortcut;
  Handler handler;
};

constexpr CommandSpec kCommands[] = {
    {"SaveAs1", "名前をつけて保存(&A)", "Ctrl+S", &Tfrm_main::SaveAs1Click},
    {"N4", "現在の設定で大量生産(&M)", "Ctrl+M", &Tfrm_main::N4Click},
    {"JPEG1", "設定(&C)", "", &Tfrm_main::JPEG1Click},
    {"Exit1", "終了(&X)", "", &Tfrm_main::Exit1Click},
    {"N2", "背景を透過する(&T)", "", &Tfrm_main::N2Click},
    {"CopyImage1", "画像をコピー(&C)", "Ctrl+Shift+C", &Tfrm_main::CopyImage1Click},
    {"Effect1", "縁取りと影(&O)...", "", &Tfrm_main::Effect1Click},
    {"Layout1", "文字組み(&L)...", "", &Tfrm_main::Layout1Click},
    {"Vertical1", "縦書き(&V)", "", &Tfrm_main::Vertical1Click},
    {"Inkwright1", "Glypharyのヘルプ(&H)", "", &Tfrm_main::Inkwright1Click},
    {"TarventSoftware1", "Tarvent Softwareへ(&K)", "", &Tfrm_main::TarventSoftware1Click},
    {"About1", "バージョン情報(&A)", "", &Tfrm_main::About1Click},
};

struct MenuItem {
  const char* menu;
  const char* name;     // a command, the menu itself, or a separator
  const char* caption;  // the menu's own caption; nullptr for the items
};

constexpr MenuItem kMenu[] = {
    {"File1", "File1", "ファイル(&F)"}, {"File1", "SaveAs1", nullptr},
    {"File1", "N4", nullptr},           {"File1", "JPEG1", nullptr},
    {"File1", "N3", nullptr},           {"File1", "Exit1", nullptr},
    {"Edit1", "Edit1", "編集(&E)"},     {"Edit1", "N2", nullptr},
    {"Edit1", "CopyImage1", nullptr},   {"Edit1", "Effect1", nullptr},
    {"Edit1", "Layout1", nullptr},      {"Help1", "Help1", "ヘルプ(&H)"},
    {"Help1", "Inkwright1", nullptr},   {"Help1", "TarventSoftware1", nullptr},
    {"Help1", "N1", nullptr},           {"Help1", "About1", nullptr},
};

struct ToolButton {
  const char* name;
  const char* command;  // nullptr: an 8-pixel separator
  const char* icon;
  const char* hint;
};

constexpr ToolButton kToolButtons[] = {
    {"ToolButton1", "SaveAs1", ":/icons/save.png", "保存"},
    {"ToolButton2", "N4", ":/icons/batch.png", "大量生産"},
    {"ToolButton3", nullptr, nullptr, ""},
    {"ToolButton4", "JPEG1", ":/icons/settings.png", ""},
    {"ToolButton5", "Inkwright1", ":/icons/help.png", ""},
    {"ToolButton6", nullptr, nullptr, ""},
    {"ToolButton7", "Vertical1", ":/icons/vertical.png", "縦書き"},
};

constexpr QSize kToolButtonSize(23, 22);
constexpr QRect kToolBarGeometry(0, 0, 615, 33);

}  // namespace

void Tfrm_main::BuildCommands() {
  for (const CommandSpec& command : kCommands) {
    auto* action = new QAction(QString::fromUtf8(command.caption), this);
    action->setObjectName(QString::fromLatin1(command.name));
    action->setShortcut(QKeySequence(QString::fromLatin1(command.shortcut)));
    action->setIconVisibleInMenu(false);
    glyphary::ui::ConnectHandler(action, &QAction::triggered, this, command.handler);
  }
  N2 = Command("N2");
  N2->setCheckable(true);
  Vertical1 = Command("Vertical1");
  Vertical1->setCheckable(true);
  // The preview offers the caption itself: on its menu and by dragging it.
  Image1->addAction(Command("CopyImage1"));
  Image1->setContextMenuPolicy(Qt::ActionsContextMenu);
  Image1->SetDragSource([this] { return CaptionDragData(); });
}

QList<QAction*> Tfrm_main::CaptionCommands() const {
  return {Command("SaveAs1"), Command("CopyImage1")};
}

QAction* Tfrm_main::Command(const char* name) const {
  return glyphary::ui::Child<QAction>(this, name);
}

void Tfrm_main::BuildMenu() {
  menuBar()->setObjectName("MainMenu");
  QMenu* menu = nullptr;
  for (const MenuItem& item : kMenu) {
    const QString name = QString::fromLatin1(item.name);
    if (item.caption) {
      menu = menuBar()->addMenu(QString::fromUtf8(item.caption));
      menu->setObjectName(name);
    } else if (QAction* action = findChild<QAction*>(name)) {
      menu->addAction(action);
    } else {
      menu->addSeparator()->setObjectName(name);
    }
  }
}

void Tfrm_main::BuildToolBar() {
  ToolBar1 = new QToolBar(centralWidget());
  ToolBar1->setObjectName("ToolBar1");
  ToolBar1->setGeometry(kToolBarGeometry);
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setIconSize(QSize(16, 16));
  ToolBar1->setContentsMargins(2, 2, 2, 2);
  for (const ToolButton& entry : kToolButtons) {
    if (!entry.command) {
      ToolBar1->addSeparator();
      ToolBar1->widgetForAction(ToolBar1->actions().constLast())
          ->setObjectName(QString::fromLatin1(entry.name));
      continue;
    }
    QAction* action = Command(entry.command);
    action->setIcon(QIcon(QString::fromLatin1(entry.icon)));
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(QString::fromLatin1(entry.name));
    button->setDefaultAction(action);
    // The button's own hint; the action's text belongs to the menu.
    button->setToolTip(QString::fromUtf8(entry.hint));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(kToolButtonSize);
    ToolBar1->addWidget(button);
  }
}
