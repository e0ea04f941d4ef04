// The folder browser: picks the batch run's target folder from a tree of the
// file system's folders.
#pragma once

#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QPushButton>
#include <QTreeView>
#include "ui/form_dialog.h"

#include <memory>

class Tfrm_browse : public glyphary::ui::FormDialog {
  Q_OBJECT

 public:
  explicit Tfrm_browse(QWidget* parent = nullptr);

  // Shows the browser modally: the folder confirmed with OK, or empty when
  // it was cancelled or nothing was selected.
  QString ChooseFolder();

  void Button1Click();
  void Button2Click();

  // The selected folder's full path; empty when nothing is selected.
  QString SelectedPath() const;
  QFileSystemModel* Folders() const { return folders_.get(); }

  QTreeView* ShellTreeView1 = nullptr;
  QPushButton* Button1 = nullptr;  // "OK"
  QPushButton* Button2 = nullptr;  // "キャンセル"

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void OpenAtDesktop();
  void KeepDesktopInView(const QModelIndex& desktop);

  // The model is destroyed first: its listing thread may still ask for icons.
  QFileIconProvider icons_;
  std::unique_ptr<QFileSystemModel> folders_;
  bool shownBefore_ = false;
};
