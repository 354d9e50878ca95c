#include "platform/widgets/help_viewer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

namespace morvane::widgets {

namespace {

// Topic files are small texts; a larger file is not one of ours.
constexpr qint64 kMaxTopicsFileSize = 4 * 1024 * 1024;

QPointer<QWidget>& Popup() {
  static QPointer<QWidget> popup;
  return popup;
}
QPointer<QWidget>& Contents() {
  static QPointer<QWidget> contents;
  return contents;
}

// Eats the release of the key that closed a topic popup: it would otherwise reach the
// window under it, where a release can run a command (the tree deletes a point on the
// release of Delete). Gone after that release or at the next other key.
class KeyReleaseEater final : public QObject {
 public:
  explicit KeyReleaseEater(int key) : QObject(qApp), key_(key) { qApp->installEventFilter(this); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat() && key->key() == key_) return true;
    if (type == QEvent::KeyPress) {
      // A new press: the release was not ours to see.
      Done();
      return false;
    }
    if (key->key() != key_) return false;
    Done();
    return true;
  }

 private:
  void Done() {
    qApp->removeEventFilter(this);
    deleteLater();
  }

  int key_;
};

// One topic at the pointer, closed by any key or click, inside it or outside, as context
// help closes (a popup also closes when the program loses the focus). A plain label
// keeps the keys and clicks for its text and would never close.
class TopicPopup final : public QLabel {
 public:
  TopicPopup() : QLabel(nullptr, Qt::Popup) {
    setAttribute(Qt::WA_DeleteOnClose);
    setTextInteractionFlags(Qt::NoTextInteraction);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    event->accept();
    // Holding the key that asked for help does not take the help away.
    if (event->isAutoRepeat()) return;
    new KeyReleaseEater(event->key());
    close();
  }
  void mousePressEvent(QMouseEvent* event) override {
    event->accept();
    close();
  }
  void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
  void mouseDoubleClickEvent(QMouseEvent* event) override { event->accept(); }
};

std::optional<HelpFile> LoadFor(const QString& helpFile, QString* error) {
  return HelpFile::Load(TopicsFileFor(helpFile, HelpFolder()), error);
}

}  // namespace

HelpFile HelpFile::Parse(const QString& text) {
  HelpFile file;
  HelpTopic* current = nullptr;
  QStringList body;
  auto finish = [&] {
    if (current != nullptr) current->text = body.join(QLatin1Char('\n')).trimmed();
    body.clear();
  };
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (QString line : lines) {
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (line.startsWith(QLatin1String("##"))) continue;
    if (line.startsWith(QLatin1Char('#'))) {
      const qsizetype blank = line.indexOf(QLatin1Char(' '));
      bool ok = false;
      const int id = line.mid(1, blank < 0 ? -1 : blank - 1).toInt(&ok);
      if (ok) {
        finish();
        file.topics_.append({id, blank < 0 ? QString() : line.mid(blank + 1).trimmed(), {}});
        current = &file.topics_.last();
        continue;
      }
    }
    if (current != nullptr) body << line;
  }
  finish();
  return file;
}

std::optional<HelpFile> HelpFile::Load(const QString& path, QString* error) {
  QFile file(path);
  const QFileInfo info(path);
  if (!info.isFile() || info.size() > kMaxTopicsFileSize || !file.open(QIODevice::ReadOnly)) {
    if (error != nullptr) *error = QStringLiteral("Cannot open the help file \"%1\".").arg(path);
    return std::nullopt;
  }
  return Parse(QString::fromUtf8(file.readAll()));
}

const HelpTopic* HelpFile::find(int contextId) const {
  for (const HelpTopic& topic : topics_) {
    if (topic.contextId == contextId) return &topic;
  }
  return nullptr;
}

QString TopicsFileFor(const QString& helpFile, const QString& programFolder) {
  QString name = helpFile;
  if (name.endsWith(QLatin1String(".hlp"), Qt::CaseInsensitive)) {
    // Only the base name counts: a system folder in front of it (with either
    // separator) is not ours.
    name =
        name.mid(std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\'))) + 1);
    name = QFileInfo(name).completeBaseName() + QStringLiteral(".topics");
    return QDir(programFolder).filePath(name);
  }
  return QDir(programFolder).filePath(name);
}

QString HelpFolder() { return QCoreApplication::applicationDirPath(); }

bool HelpViewer::ShowContextPopup(const QString& helpFile, int contextId, QPoint globalPos,
                                  QString* error) {
  const auto file = LoadFor(helpFile, error);
  if (!file) return false;
  const HelpTopic* topic = file->find(contextId);
  if (topic == nullptr) {
    if (error != nullptr) *error = QStringLiteral("The help file has no topic %1.").arg(contextId);
    return false;
  }
  if (Popup()) Popup()->close();
  auto* popup = new TopicPopup;
  popup->setObjectName(QStringLiteral("helpPopup"));
  popup->setTextFormat(Qt::RichText);
  popup->setWordWrap(true);
  popup->setMargin(8);
  popup->setFrameShape(QFrame::Box);
  popup->setText(QStringLiteral("<b>%1</b><br>%2").arg(topic->title.toHtmlEscaped(), topic->text));
  popup->setMaximumWidth(360);
  popup->adjustSize();
  popup->move(globalPos);
  popup->show();
  Popup() = popup;
  return true;
}

bool HelpViewer::ShowContents(const QString& helpFile, int contextId, QWidget* parent, QString* error) {
  const auto file = LoadFor(helpFile, error);
  if (!file) return false;
  if (Contents()) Contents()->close();
  auto* window = new QWidget(parent, Qt::Window);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setObjectName(QStringLiteral("helpContents"));
  window->setWindowTitle(QFileInfo(helpFile).completeBaseName() + QStringLiteral(" Help"));
  auto* list = new QListWidget(window);
  list->setObjectName(QStringLiteral("topics"));
  auto* page = new QTextBrowser(window);
  page->setObjectName(QStringLiteral("topic"));
  auto* layout = new QHBoxLayout(window);
  layout->addWidget(list, 1);
  layout->addWidget(page, 2);
  const QList<HelpTopic> topics = file->topics();
  for (const HelpTopic& topic : topics) list->addItem(topic.title);
  QObject::connect(list, &QListWidget::currentRowChanged, page, [page, topics](int row) {
    if (row >= 0 && row < topics.size()) {
      page->setHtml(
          QStringLiteral("<h3>%1</h3>%2").arg(topics[row].title.toHtmlEscaped(), topics[row].text));
    }
  });
  int row = 0;
  for (int i = 0; i < topics.size(); ++i) {
    if (topics[i].contextId == contextId) row = i;
  }
  if (!topics.isEmpty()) list->setCurrentRow(row);
  window->resize(560, 360);
  window->show();
  Contents() = window;
  return true;
}

QWidget* HelpViewer::CurrentPopup() { return Popup().data(); }
QWidget* HelpViewer::CurrentContents() { return Contents().data(); }

}  // namespace morvane::widgets
