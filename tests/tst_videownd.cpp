// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <memory>

#include <QTemporaryDir>
#include <QtTest>

#include "DataRows.h"
#include "MessageLog.h"
#include "PictureView.h"
#include "ScriptedPrompts.h"
#include "core/base/SettingsStore.h"

namespace {
const QString imageSection = QStringLiteral("Image");
}

class TestVideoWnd : public QObject {
    Q_OBJECT

private:
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }
    int stored(const QString& entry) const { return SettingsStore(iniPath()).readInt(imageSection, entry, -1); }

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings;
    ScriptedPrompts prompts;
    MessageLog log;

private slots:
    void init()
    {
        QFile::remove(iniPath());
        settings = std::make_unique<SettingsStore>(iniPath());
        prompts = ScriptedPrompts();
        log = MessageLog();
    }
    void cleanup() { settings.reset(); }

    // The border read at start; a border set later is stored only when it changes.
    void borderAndTitlesAtStart_data()
    {
        columns<int, int>("stored", "border");
        QTest::newRow("nothing stored") << -1 << 20;
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("hand-edited nonsense") << -7 << 20;
    }
    void borderAndTitlesAtStart()
    {
        const auto [stored, border] = fetch<int, int>("stored", "border");
        const QString key = QStringLiteral("BorderWidth");
        if (stored != -1)
            settings->writeInt(imageSection, key, stored);
        PictureView shown(*settings, prompts, log);
        ImageDocument& video = shown.doc;
        QCOMPARE(video.FrameBuffer.size(), QSize(640, 480));
        QCOMPARE(video.BorderWidth, border);
        const QSize view(640 + 2 * border, 480 + 2 * border);
        QCOMPARE(shown.wnd.size(), view);
        // The title block's texts as first read.
        QCOMPARE((QStringList { video.Title1, video.Title2, video.Title3 }),
            (QStringList { "Your Company Name Here", "Captured Image", "0000-00-00-00-00-00" }));
        video.SetBorderWidth(border);
        QCOMPARE(this->stored(key), stored);
        video.SetBorderWidth(border + 1);
        QCOMPARE(this->stored(key), border + 1);
        QCOMPARE(shown.wnd.size(), view + QSize(2, 2));
        QCOMPARE(video.BackBuffer.size(), view + QSize(2, 2));
    }
};

QTEST_MAIN(TestVideoWnd)
#include "tst_videownd.moc"
