// The main window's menu and tool bar, built from their tables.
#include <QIcon>
#include <QKeySequence>
#include <QMenuBar>

#include "ui/main_window.h"

namespace {

using Handler = void (Tfrm_main::*)();

struct MenuItem {
  const char* menu;  // a menu's own entry has no handler
  const char* name;
  const char* caption;  // nullptr: a separator
  const char* shortcut = "";
  Handler handler = nullptr;
};

constexpr MenuItem kMenu[] = {
    {"File1", "File1", "ファイル(&F)"},
    {"File1", "SaveAs1", "名前をつけて保存(&A)", "Ctrl+S", &Tfrm_main::SaveAs1Click},
    {"File1", "N4", "現在の設定で大量生産(&M)", "Ctrl+M", &Tfrm_main::N4Click},
    {"File1", "JPEG1", "設定(&C)", "", &Tfrm_main::JPEG1Click},
    {"File1", "N3", nullptr},
    {"File1", "Exit1", "終了(&X)", "", &Tfrm_main::Exit1Click},
    {"Edit1", "Edit1", "編集(&E)"},
    {"Edit1", "N2", "背景を透過する(&T)", "", &Tfrm_main::N2Click},
    {"Help1", "Help1", "ヘルプ(&H)"},
    {"Help1", "Inkwright1", "Glypharyのヘルプ(&H)", "", &Tfrm_main::Inkwright1Click},
    {"Help1", "TarventSoftware1", "Tarvent Softwareへ(&K)", "", &Tfrm_main::TarventSoftware1Click},
    {"Help1", "N1", nullptr},
    {"Help1", "About1", "バージョン情報(&A)", "", &Tfrm_main::About1Click},
};

struct ToolButton {
  const char* name;
  const char* icon;  // nullptr: an 8-pixel separator
  const char* hint;
  Handler handler;
};

constexpr ToolButton kToolButtons[] = {
    {"ToolButton1", ":/icons/save.png", "保存", &Tfrm_main::ToolButton1Click},
    {"ToolButton2", ":/icons/batch.png", "大量生産", &Tfrm_main::ToolButton2Click},
    {"ToolButton3", nullptr, "", nullptr},
    {"ToolButton4", ":/icons/settings.png", "", &Tfrm_main::ToolButton4Click},
    {"ToolButton5", ":/icons/help.png", "", &Tfrm_main::ToolButton5Click},
};

constexpr QSize kToolButtonSize(23, 22);
constexpr QRect kToolBarGeometry(0, 0, 615, 33);

}  // namespace

void Tfrm_main::BuildMenu() {
  menuBar()->setObjectName("MainMenu");
  QMenu* menu = nullptr;
  for (const MenuItem& item : kMenu) {
    const QString name = QString::fromLatin1(item.name);
    if (!item.handler && item.caption) {
      menu = menuBar()->addMenu(QString::fromUtf8(item.caption));
      menu->setObjectName(name);
      continue;
    }
    QAction* action =
        item.caption ? menu->addAction(QString::fromUtf8(item.caption)) : menu->addSeparator();
    action->setObjectName(name);
    if (!item.handler) continue;
    action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
    connect(action, &QAction::triggered, this, item.handler);
  }
  N2 = findChild<QAction*>("N2");
  N2->setCheckable(true);
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
    if (!entry.icon) {
      ToolBar1->addSeparator();
      ToolBar1->widgetForAction(ToolBar1->actions().constLast())
          ->setObjectName(QString::fromLatin1(entry.name));
      continue;
    }
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(QString::fromLatin1(entry.name));
    button->setIcon(QIcon(QString::fromLatin1(entry.icon)));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(kToolButtonSize);
    button->setToolTip(QString::fromUtf8(entry.hint));
    ToolBar1->addWidget(button);
    connect(button, &QToolButton::clicked, this, entry.handler);
  }
}
