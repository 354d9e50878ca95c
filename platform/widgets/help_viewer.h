#pragma once

// The help engine's stand-in. A help file is a topics file of our own: a topic starts
// with a line "#<context id> <title>" and its text (HTML) runs to the next topic line;
// lines before the first topic and lines starting with "##" are comments. A help
// request is a file and a context id: the context popup shows one topic at the
// pointer, the contents window lists them all.

#include <QHash>
#include <QList>
#include <QPoint>
#include <QString>

#include <optional>

class QWidget;

namespace morvane::widgets {

struct HelpTopic {
  int contextId = 0;
  QString title;
  QString text;  // HTML
};

class HelpFile {
 public:
  static HelpFile Parse(const QString& text);
  // The topics of a file; nothing, with the reason, when it cannot be read.
  static std::optional<HelpFile> Load(const QString& path, QString* error = nullptr);

  const HelpTopic* find(int contextId) const;
  const QList<HelpTopic>& topics() const { return topics_; }

 private:
  QList<HelpTopic> topics_;  // in file order
};

// The topics file that stands for a help file name: a name ending in ".hlp" (any
// case) maps to the file of the same base name with ".topics" in `programFolder`;
// other names (a topics file given directly) are taken as they are, relative ones
// from `programFolder`.
QString TopicsFileFor(const QString& helpFile, const QString& programFolder);

// The folder the help files lie in: the program's folder.
QString HelpFolder();

class HelpViewer {
 public:
  // Shows the topic in a small popup at `globalPos`; it closes on the next key or
  // click, wherever, and when the program loses the focus, and that key or click does
  // nothing else. False, with the reason, when the file or the topic is missing.
  static bool ShowContextPopup(const QString& helpFile, int contextId, QPoint globalPos,
                               QString* error = nullptr);
  // Shows a window listing every topic of the file, with `contextId`'s topic open
  // (the first one for 0).
  static bool ShowContents(const QString& helpFile, int contextId = 0, QWidget* parent = nullptr,
                           QString* error = nullptr);
  // The popup or contents window now shown, for tests; null when none.
  static QWidget* CurrentPopup();
  static QWidget* CurrentContents();
};

}  // namespace morvane::widgets
