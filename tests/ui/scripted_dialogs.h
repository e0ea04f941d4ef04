// Answers the program's modal questions by script and records what was asked.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/dialogs.h"

namespace glyphary::ui {

class ScriptedDialogs final : public Dialogs {
 public:
  ScriptedDialogs() { SetDialogs(this); }
  ~ScriptedDialogs() override { SetDialogs(nullptr); }

  // What each kind of dialog answers next; an empty queue answers Cancel.
  std::deque<bool> warningAnswers;
  std::deque<QColor> colorAnswers;  // an invalid colour cancels
  std::deque<SaveFileRequest> saveAnswers;
  std::deque<bool> openAnswers;  // an empty queue answers that it opened

  std::vector<QString> warnings, errors, opened;
  std::vector<std::pair<QString, QString>> informations;  // title, text
  std::vector<QColor> colorDialogStarts;
  std::vector<SaveFileRequest> saveDialogStarts;

  bool Warning(QWidget*, const QString& text) override {
    warnings.push_back(text);
    return Next(warningAnswers, false);
  }
  void Error(QWidget*, const QString& text) override { errors.push_back(text); }
  void Information(QWidget*, const QString& title, const QString& text) override {
    informations.emplace_back(title, text);
  }
  bool ChooseColor(QWidget*, QColor& color) override {
    colorDialogStarts.push_back(color);
    const QColor answer = Next(colorAnswers, QColor());
    if (!answer.isValid()) return false;
    color = answer;
    return true;
  }
  bool SaveFile(QWidget*, SaveFileRequest& request) override {
    saveDialogStarts.push_back(request);
    if (saveAnswers.empty()) return false;
    const SaveFileRequest answer = Next(saveAnswers, SaveFileRequest());
    request.filterIndex = answer.filterIndex;
    request.fileName = answer.fileName;
    return true;
  }
  bool Open(const QString& pathOrUrl) override {
    opened.push_back(pathOrUrl);
    return Next(openAnswers, true);
  }

 private:
  template <typename T>
  static T Next(std::deque<T>& answers, T otherwise) {
    if (answers.empty()) return otherwise;
    T answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace glyphary::ui
