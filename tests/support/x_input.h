#pragma once

// Input as a user gives it: key presses and pointer moves sent through the X server with
// xdotool (XTEST), so that Qt sees the keysyms, grabs and focus changes a real keyboard
// and mouse produce. While xdotool runs, this process keeps handling its own events, so a
// window of the test's own can answer (a popup that grabs, a menu that opens).
//
// The test process must run on the xcb platform of a real server: see x_test_main.cpp.

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <functional>
#include <string>

namespace morvane::testing {

class XInput {
 public:
  // Runs one xdotool command chain ("keydown ctrl key Pause keyup ctrl"), handling this
  // process's events until it ends, then lets the events it caused arrive.
  static bool Send(const QStringList& words, int settleMs = 150) {
    QProcess xdotool;
    xdotool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    xdotool.start(QStringLiteral("xdotool"), words);
    if (!xdotool.waitForStarted(5000)) return false;
    QElapsedTimer clock;
    clock.start();
    while (xdotool.state() != QProcess::NotRunning && clock.elapsed() < 20000) {
      QApplication::processEvents(QEventLoop::AllEvents, 20);
      xdotool.waitForFinished(5);
    }
    const bool ok = xdotool.state() == QProcess::NotRunning &&
                    xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
    if (!ok) xdotool.kill();
    Settle(settleMs);
    return ok;
  }

  // A key tapped, in xdotool's names: "F1", "Escape", "ctrl+s".
  static bool Key(const QString& key) { return Send({QStringLiteral("key"), key}); }

  // key tapped while the modifiers are held down, pressed and released one by one as
  // hands do: Hold({"ctrl"}, "Pause").
  static bool Hold(const QStringList& modifiers, const QString& key) {
    QStringList words;
    for (const QString& m : modifiers) words << QStringLiteral("keydown") << m;
    words << QStringLiteral("key") << key;
    for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m) {
      words << QStringLiteral("keyup") << *m;
    }
    return Send(words);
  }

  static bool MoveTo(QPoint global) {
    return Send({QStringLiteral("mousemove"), QString::number(global.x()),
                 QString::number(global.y())});
  }

  // Button 1 left, 2 middle, 3 right.
  static bool Click(int button = 1) {
    return Send({QStringLiteral("click"), QString::number(button)});
  }
  static bool Press(int button = 1) {
    return Send({QStringLiteral("mousedown"), QString::number(button)});
  }
  static bool Release(int button = 1) {
    return Send({QStringLiteral("mouseup"), QString::number(button)});
  }

  // The pointer onto a point of the widget (its centre when none is given), then a click.
  static QPoint On(const QWidget* widget, QPoint local = QPoint(-1, -1)) {
    if (local == QPoint(-1, -1)) local = widget->rect().center();
    return widget->mapToGlobal(local);
  }
  static bool ClickAt(const QWidget* widget, QPoint local = QPoint(-1, -1), int button = 1) {
    return MoveTo(On(widget, local)) && Click(button);
  }

  // Handles events for ms milliseconds.
  static void Settle(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
  }

  // Handles events until done() is true or ms milliseconds have passed; done()'s last answer.
  // The default is generous: a wait ends as soon as done() holds, and a sanitizer build on a
  // loaded machine is slow. A wait that runs out says where it was asked for, since a test
  // may go on without it.
  static bool WaitUntil(const std::function<bool()>& done, int ms = 30000,
                        const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
      if (clock.elapsed() > ms) {
        const bool last = done();
        if (!last) std::fprintf(stderr, "%s:%d: waited %d ms in vain\n", file, line, ms);
        return last;
      }
      QApplication::processEvents(QEventLoop::AllEvents, 10);
      QTest::qSleep(5);
    }
    return true;
  }

  // The whole screen as the server shows it (popups and frames included, the pointer not),
  // saved as a PNG to look at.
  static bool GrabScreen(const QString& file) {
    return QGuiApplication::primaryScreen()->grabWindow(0).save(file, "PNG");
  }

  // Gives the window the input focus through the server and waits until Qt has it active.
  static bool Focus(QWidget* window) {
    window->raise();
    window->activateWindow();
    Send({QStringLiteral("windowfocus"), QStringLiteral("--sync"),
          QString::number(window->winId())});
    return WaitUntil([window] { return window->isActiveWindow(); });
  }
};

}  // namespace morvane::testing
