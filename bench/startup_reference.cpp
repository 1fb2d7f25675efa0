// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

// The least a Qt Widgets program does before its first frame: an empty
// window shown maximised. bench/startup.sh times it beside Scopique, and it
// reports its first paint the way Scopique does with SCOPIQUE_FIRST_PAINT_EXIT.
class FirstPaintExit : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            QTimer::singleShot(0, this, [] {
                const auto now = std::chrono::system_clock::now().time_since_epoch();
                std::printf("first-paint-ns %lld\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool painted = false;
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    FirstPaintExit probe;
    app.installEventFilter(&probe);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Reference"));
    window.showMaximized();
    return QApplication::exec();
}
