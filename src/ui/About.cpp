#include "ui/About.h"

#include "engine/EngineClient.h"
#include "engine/EngineProcess.h"
#include "session/EnginePlay.h"
#include "ui/Artwork.h"
#include "ui/Controls.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QMetaObject>

#include <string>

namespace {

// As the LICENSE file at the top of the sources says it.
const char* const kCopyright = "Copyright (c) 2026 The ミルトア developers";

} // namespace

TAboutText::TAboutText(QObject* parent) : TChangingText(parent) {}

TAboutText::~TAboutText() {
    if (asking_.joinable()) asking_.join();
}

void TAboutText::Ask() {
    if (asked_) return;
    asked_ = true;
    const TEngineSettings settings = TEngineSeat::DefaultSettings();
    path_ = QString::fromStdString(FindEngineProgram(settings.Program));
    if (path_.isEmpty()) {
        known_ = true;
        return;
    }
    // The engine is started aside, asked its name and stopped; only the answer crosses back, as an
    // event for this object's thread.
    asking_ = std::thread([this, settings] {
        TEngineClient client;
        const TEngineStatus status = client.Start(settings);
        const QString name = QString::fromStdString(client.EngineName());
        const QString failure = status ? QString() : QString::fromStdString(status.Message);
        client.Stop();
        QMetaObject::invokeMethod(
            this,
            [this, name, failure] {
                name_ = name;
                failure_ = failure;
                known_ = true;
                emit changed();
            },
            Qt::QueuedConnection);
    });
}

QString TAboutText::Text() const {
    QString engine;
    if (path_.isEmpty() && known_)
        engine =
            tr("見つかりません（Debian のパッケージ fairy-stockfish を入れると、ヒント、エンジンとの対局、"
               "棋譜の解析が使えます）");
    else if (!known_)
        engine = tr("%1 …（%2）").arg(QStringLiteral("fairy-stockfish"), path_);
    else if (!name_.isEmpty())
        engine = tr("%1（%2）").arg(name_, path_);
    else
        engine = tr("%1（%2、起動できません: %3）").arg(QStringLiteral("fairy-stockfish"), path_, failure_);
    const QString text = QFontInfo(JapaneseFont(12)).family();
    return tr("%1\r\nバージョン %2\r\n%3\r\nMIT ライセンスで配布しています。\r\n\r\n"
              "エンジン: %4\r\nフォント: 文字 %5、駒 %6\r\nQt %7")
        .arg(GameTitle(), QStringLiteral(MIRUTOA_VERSION), QString::fromUtf8(kCopyright), engine, text,
             Artwork::LetteringFamily(), QString::fromLatin1(qVersion()));
}
