// How long a batch takes to check, the reader alone and the window's button (port closed, so the
// check is all it does), for huge texts: a 200 KB line, 1 MiB of short lines, 1 MiB of nested
// loops; and how long the box takes to take the text and show it. Both run in the window's event
// loop, so their time is the window's stall. Then the same with the motion editor open, which
// reads the box again on every change: the text set, and one character typed at its end.
//   pwm20_check_bench [RUNS]   (default 20)
#include "WindowHarness.h"
#include "app/MotionEditor.h"
#include "batch/BatchScript.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextEdit>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using pwm20::testing::WindowHarness;
using namespace Qt::StringLiterals;

namespace {

constexpr double goalMs = 50.0;

// The median and the longest of `runs` timings of `task`, in milliseconds.
void report(const char *what, int runs, const std::function<void()> &task)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        task();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::ranges::sort(times);
    std::printf("%-50s n=%-3d p50 %8.2f ms  max %8.2f ms  goal < %.0f ms\n", what, runs,
                times[times.size() / 2], times.back(), goalMs);
}

QString repeated(const char *piece, qsizetype bytes)
{
    const QString one = QString::fromUtf8(piece);
    return one.repeated(bytes / one.size());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const struct
    {
        const char *what;
        QString text;
    } texts[] = {
        {"a 200 KB pose line", repeated("1=1 ", 200'000)},
        {"a 200 KB comment line", u"1=1 # "_s + repeated("x", 200'000)},
        {"1 MiB of short lines", repeated("1=1 2=2\n", 1 << 20)},
        {"1 MiB of loops nested 95,000 deep",
         repeated("repeat\n", 7 * 95'000) + u"1=1\n"_s + repeated("end\n", 4 * 95'000)},
    };
    WindowHarness window; // its port closed: the button checks, then says so
    auto &box = window.control<QTextEdit>(QStringLiteral("RichTextBox1"));
    for (const auto &[what, text] : texts) {
        const QString name = QLatin1StringView(what);
        const QByteArray bytes = text.toUtf8();
        report(qPrintable(u"check, reader alone: "_s + name), runs, [&] {
            pwm20::parseBatch({bytes.constData(), std::size_t(bytes.size())});
        });
        report(qPrintable(u"box: text set and shown: "_s + name), 1, [&] {
            box.setPlainText(text);
            QApplication::processEvents();
        });
        report(qPrintable(u"check, window's button: "_s + name), runs,
               [&] { window.click(window.button(2)); });
        window.messages().takeShown();
    }
    window.form().showMotionEditor();
    auto &editor = *window.form().findChild<pwm20::MotionEditor *>();
    for (const auto &[what, text] : texts) {
        const QString name = QLatin1StringView(what);
        report(qPrintable(u"editor open: text set and shown: "_s + name), 1, [&] {
            box.setPlainText(text);
            QApplication::processEvents();
        });
        report(qPrintable(u"editor open: a key typed: "_s + name), std::min(runs, 5), [&] {
            box.moveCursor(QTextCursor::End);
            box.insertPlainText(u"#"_s);
            QApplication::processEvents();
        });
        // What the pause in typing then costs: the editor reads the box again.
        report(qPrintable(u"editor open: the read after a pause: "_s + name), std::min(runs, 5),
               [&] {
                   box.insertPlainText(u"#"_s);
                   editor.readNow();
               });
    }
    return 0;
}
